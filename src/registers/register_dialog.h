#pragma once
// What the section, member and company registers share on screen: the grid of
// all rows, a panel of fields below it and the buttons add, delete, change and
// close. Each register adds its fields and says how a grid row fills them.

#include <string>
#include <vector>

#include "registers/register_logic.h"
#include "widgets/record_dialog.h"
#include "widgets/screen_context.h"

class QFrame;
class QGridLayout;
class QLabel;
class QPushButton;

namespace widgets {
class ByteLineEdit;
class StringGrid;
}  // namespace widgets

namespace registers {

class RegisterDialog : public widgets::RecordDialog {
    Q_OBJECT
public slots:
    // When the register cannot be used it says why and closes.
    void FormShow() override;
    void SG1Click();
    void Edit1DblClick();
    void Button1Click();  // add
    void Button4Click();  // change
    void Button2Click();  // delete the selected grid row
    void Button3Click();  // close

protected:
    struct Layout {
        const char* objectName;
        const char* numberLabel;  // Label3, before Edit1
    };

    RegisterDialog(widgets::ScreenContext context, const RegisterConfig& config,
                   const Layout& layout, QWidget* parent);

    // A labelled field on the panel; fields take the tab order they are added in.
    void AddField(const char* labelName, const char* labelText, QWidget* field);
    widgets::ByteLineEdit* AddEdit(const char* labelName, const char* labelText,
                                   const char* editName, int maxBytes);
    // Puts the buttons below the panel and fixes the tab order; call last.
    void FinishLayout();

    // Run by FormShow once the register may be used, before the grid is read.
    virtual void PrepareFields() {}
    // The text of a config column's control, as CP932 bytes.
    virtual std::string FieldText(const ValueColumn& column) const;
    // SG1Click: copy a grid row (gridColumns cells) into the fields.
    virtual void ShowRow(const storage::Row& cells) = 0;

    widgets::ScreenContext context_;
    RegisterLogic logic_;
    QLabel* Label1;
    widgets::StringGrid* SG1;
    QFrame* Panel1;
    widgets::ByteLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button4;
    QPushButton* Button3;

private:
    void LoadGrid();
    RegisterInput Input() const;
    storage::Row SelectedCells() const;
    void Show(const RegisterOutcome& outcome);

    QGridLayout* fields_;
    std::vector<QWidget*> tabOrder_;
    std::vector<storage::Row> rows_;  // what the grid shows, as stored bytes
    bool loading_ = false;
};

}  // namespace registers
