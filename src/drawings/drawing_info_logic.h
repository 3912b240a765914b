#pragma once
// What the buttons of the drawing information page do, without the page: the
// window hands over the texts of its controls and applies what comes back.
// Nothing here writes to the database except Save; stamps and file choices
// only change texts, which reach the drawing table when the page is saved.
//
// Texts of boxes are CP932 bytes. File-system paths are QStrings; a stored
// folder or file name is converted from CP932 before the file is looked for.

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/database.h"
#include "storage/settings.h"

namespace drawings {

// The page's controls as the window holds them.
struct DrawingPage {
    // Edit1 to Edit16, each at its number minus one.
    std::array<std::string, 16> edits;
    // The items every member combo holds: "0:指定無し", then "N:name".
    std::vector<std::string> memberItems;
    // The selected item of ComboBox1 to ComboBox5, as an index into memberItems.
    std::array<int, 5> memberIndexes{};

    const std::string& Edit(int number) const { return edits.at(number - 1); }
    std::string& Edit(int number) { return edits.at(number - 1); }
    // The node shown, from Edit1; 0 is the project node.
    int NodeNumber() const;
    // The member number of a combo (1 to 5): 0 for "none" or a missing item.
    int MemberNumber(int combo) const;
};

struct TextChange {
    QString control;  // objectName of a box
    std::string text;
};

struct SelectionChange {
    QString control;  // objectName of a combo
    int index = 0;
};

struct PageOutcome {
    QString message;  // empty: nothing to tell
    QString focus;    // objectName of the control to focus; empty: none
    std::vector<TextChange> texts;
    std::vector<SelectionChange> selections;
    QString fileToOpen;  // a file to hand to its associated program
};

// 参照: how the file dialog opens. Single selection.
struct BrowseRequest {
    QString initialFolder;  // Edit4 when it names an existing folder, else LastDrawingFolder
    QString fileName;       // Edit3
    QStringList filters;    // "description (*.a *.b)", the first selected
};
BrowseRequest MakeBrowseRequest(const DrawingPage& page, std::string_view lastDrawingFolder);
// The chosen file into Edit3 and Edit4 (the stored-path rule), and its dates
// into Edit11 and Edit12 when it can be found. A path with a character that
// has no CP932 form cannot be stored as it is, so nothing is taken then.
PageOutcome TakeChosenFile(const QString& chosenPath);

// The file dialog's filters for drawing files, in Qt's form.
QStringList DrawingFileFilters();

// The path as drawings store it: native separators, and a drive D to Z
// replaced by the network share it maps to.
QString StoredPath(const QString& path);
struct PathParts {
    QString folder;    // up to and including the last separator
    QString fileName;  // after it
};
PathParts SplitPath(const QString& path);

// The drawing's file as the file system names it: folder and file name joined
// as they stand.
QString DrawingFilePath(const DrawingPage& page);

// 開く: the message for an empty or missing file, else the file to open.
// Folder and file name are joined as they stand.
PageOutcome OpenDrawingFile(const DrawingPage& page);
// 取得: the file's header text into Edit8 (emptied for a file without one);
// nothing when the file does not exist.
PageOutcome TakeHeaderText(const DrawingPage& page);

enum class Stamp {
    Check,     // 検図OK: ComboBox2, Edit13
    Approval,  // 承認OK: ComboBox3, Edit14
    Issue,     // 出図OK: ComboBox4, Edit15
};
// The PC user's item ("PcUserNo:PcUserName"), matched without regard to case,
// else "none"; and today's date.
PageOutcome StampPage(const DrawingPage& page, Stamp stamp, const storage::Settings& settings,
                      const QDate& today);

class DrawingInfoLogic {
public:
    DrawingInfoLogic(storage::Database& db, int projectNo);

    // 改訂OK: reviser and date of the newest revision (by date, then number);
    // "none" and an empty date when the drawing has none.
    PageOutcome TakeLatestRevision(const DrawingPage& page);
    // The history lines after the revision editor closed: RDATE(RN):CONT in
    // number order.
    std::vector<std::string> RevisionLines(int nodeNumber);

    // 編集登録 is for drawing nodes only: the project node has no drawing row.
    static bool CanSave(const DrawingPage& page) { return page.NodeNumber() != 0; }
    // Dates checked first, then quotes (file name and folder may hold quotes:
    // registered names are stored as they are); then the whole row in one
    // update. Success is reported only when the drawing's row was there.
    PageOutcome Save(const DrawingPage& page);

private:
    storage::Database& db_;
    std::string drawingTable_;
    std::string revisionTable_;
};

}  // namespace drawings
