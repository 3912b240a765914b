#pragma once
// The issue register's dialog: an optional issue date range, whether drawings
// not issued yet are listed too, and the four outputs. It stays open after an
// output, so one register can go to the printer and to a file in turn.

#include <QDialog>
#include <functional>

#include "reports/issue_register.h"
#include "widgets/list_output.h"

class QCheckBox;
class QPushButton;

namespace widgets {
class ByteLineEdit;
class UiPorts;
}  // namespace widgets

namespace reports {

class IssueRegisterDialog : public QDialog {
    Q_OBJECT
public:
    // output is called with the chosen format and the checked range.
    using Output = std::function<void(widgets::ListFormat, const IssueRange&)>;
    IssueRegisterDialog(widgets::UiPorts& ports, Output output, QWidget* parent = nullptr);

    IssueRange Range() const;

public slots:
    void OutputClick(widgets::ListFormat format);
    void Edit1DblClick();
    void Edit2DblClick();

private:
    widgets::UiPorts& ports_;
    Output output_;
    widgets::ByteLineEdit* Edit1;  // from
    widgets::ByteLineEdit* Edit2;  // to
    QCheckBox* CheckBox1;
    QPushButton* Button1;  // print
    QPushButton* Button2;  // PDF
    QPushButton* Button3;  // CSV
    QPushButton* Button4;  // Excel
    QPushButton* Button5;  // close
};

}  // namespace reports
