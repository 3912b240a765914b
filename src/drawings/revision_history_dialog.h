#pragma once
// The revision history editor of one drawing. Created once and reused: the
// caller sets ProjectNo and DrawingNo and shows it modally; it writes the
// project's revision table itself and returns nothing, so the caller reads
// the history again afterwards. The fields keep their texts between openings.

#include <string>
#include <vector>

#include "storage/database.h"
#include "widgets/record_dialog.h"
#include "widgets/screen_context.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace widgets {
class ByteLineEdit;
class StringGrid;
}  // namespace widgets

namespace drawings {

class RevisionHistoryLogic;
struct RevisionInput;
struct RevisionOutcome;

class TForm12 : public widgets::RecordDialog {
    Q_OBJECT
public:
    explicit TForm12(widgets::ScreenContext context, QWidget* parent = nullptr);

    int ProjectNo = 0;  // selects the table REV_n
    int DrawingNo = 0;  // the ZN of the entries shown and written

public slots:
    // When the editor cannot be used it says why and closes.
    void FormShow() override;
    void SG1Click();
    void Edit1DblClick();  // propose a number
    void Edit3DblClick();  // today's date
    void Button1Click();   // add
    void Button4Click();   // change
    void Button2Click();   // delete the selected grid row
    void Button3Click();   // close

protected:
private:
    RevisionHistoryLogic Logic() const;
    RevisionInput Input() const;
    void LoadGrid();
    storage::Row SelectedCells() const;
    void Show(const RevisionOutcome& outcome);

    widgets::ScreenContext context_;
    QLabel* Label1;
    widgets::StringGrid* SG1;
    QFrame* Panel1;
    widgets::ByteLineEdit* Edit1;
    widgets::ByteLineEdit* Edit2;
    QComboBox* ComboBox1;
    widgets::ByteLineEdit* Edit3;
    QPushButton* Button1;
    QPushButton* Button4;
    QPushButton* Button2;
    QPushButton* Button3;

    std::vector<std::string> reviserItems_;  // CP932, as ComboBox1 shows them
    std::vector<storage::Row> rows_;         // what the grid shows, as stored bytes
    bool loading_ = false;
};

}  // namespace drawings
