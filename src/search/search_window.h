#pragma once
// 図面検索: finds drawings across all projects by text, project, member and
// role, a date range, the workflow state and the file's state, or by one of
// the daily queues; shows them as they are found, sorts them, opens one in
// its project's detail window and writes them as CSV.
//
// The window creates and writes nothing in the database. While it reads the
// database, a window-modal progress box (中止, Esc) keeps every other window
// from using the connection. File looks run on a worker thread and never
// touch it: the rows are usable as soon as they are read and their file
// states fill in as the worker answers; closing the window abandons them.
//
// Its size and column widths are remembered for the rest of the run (the
// settings file has no lines for them): the first window of a run takes most
// of the main window's area.

#include <chrono>
#include <memory>
#include <vector>

#include "search/drawing_search.h"
#include "search/file_state.h"
#include "text/text_table.h"
#include "widgets/child_form.h"
#include "widgets/screen_context.h"

class QComboBox;
class QLabel;
class QPushButton;
class QStatusBar;
class QTableView;

namespace widgets {
class ByteLineEdit;
}

namespace search {

class SearchResultModel;

class SearchWindow : public widgets::ChildForm {
    Q_OBJECT
public:
    explicit SearchWindow(widgets::ScreenContext context, QWidget* parent = nullptr);
    ~SearchWindow() override;

    SearchResultModel* model() const { return model_; }
    // True while a search reads the database.
    bool Searching() const { return searching_; }
    // True while file states of the last search are still to come.
    bool CheckingFiles() const;
    // Where later searches look at files (tests stand in for a share).
    void LookAtFilesWith(FileProbe probe, std::chrono::milliseconds timeout);

public slots:
    void FormShow() override;
    void FormClose() override;
    void ButtonSearchClick();
    void ButtonClearClick();
    void ComboPresetSelect(int index);
    void GridDblClick(int row);
    // The results through the shared list output (CSV, CP932 first).
    void ButtonCsvClick();

private:
    class Run;

    void BuildControls();
    void LoadChoices();
    text::TextTable ResultsTable() const;
    // The criteria the controls say; the date box to fix when one is wrong.
    SearchCriteria Criteria() const;
    void ShowCriteria(const SearchCriteria& criteria);
    bool CheckDates();
    void Search(const SearchCriteria& criteria);
    void TakeFileResults(const std::vector<FileResult>& results);
    void ShowCount();
    void FitColumnsOnce();

    widgets::ScreenContext context_;
    SearchResultModel* model_;
    std::unique_ptr<FileStateChecker> checker_;
    FileProbe probe_ = LookAtFile;
    std::chrono::milliseconds folderTimeout_ = kFolderTimeout;
    FileCondition fileCondition_ = FileCondition::Any;
    // Drawings that wait for their file to decide whether they are shown, in
    // search order; the worker's ids index them.
    std::vector<SearchHit> candidates_;
    std::unique_ptr<Run> run_;
    bool searching_ = false;
    bool closed_ = false;
    int skipped_ = 0;
    bool stopped_ = false;
    bool fitColumns_ = false;

    QComboBox* ComboPreset;
    widgets::ByteLineEdit* EditText;
    QPushButton* ButtonSearch;
    QPushButton* ButtonClear;
    QComboBox* ComboScope;
    QComboBox* ComboProject;
    QComboBox* ComboMember;
    QComboBox* ComboRole;
    QComboBox* ComboDate;
    widgets::ByteLineEdit* EditFrom;
    widgets::ByteLineEdit* EditTo;
    QComboBox* ComboState;
    QComboBox* ComboFile;
    QTableView* Grid;
    QPushButton* ButtonCsv;
    QPushButton* ButtonClose;
    QStatusBar* StatusBar1;
};

}  // namespace search
