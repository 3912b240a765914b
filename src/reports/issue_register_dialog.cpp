#include "reports/issue_register_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "reports/report_texts.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "widgets/byte_line_edit.h"
#include "widgets/named.h"
#include "widgets/ui_ports.h"

namespace reports {

namespace {

using widgets::Named;

constexpr int kDateBytes = 8;

std::string DateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyyMMdd")).toStdString() : std::string();
}

}  // namespace

IssueRegisterDialog::IssueRegisterDialog(widgets::UiPorts& ports, Output output, QWidget* parent)
    : QDialog(parent), ports_(ports), output_(std::move(output))
{
    setObjectName(QStringLiteral("IssueRegisterDialog"));
    setWindowTitle(text::Utf8(texts::kIssueDialogCaption));

    auto dateEdit = [this](const char* name) {
        auto* edit = Named(new widgets::ByteLineEdit(this), name);
        edit->setMaxBytes(kDateBytes);
        widgets::SwitchOffInputMethod(edit);
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 12);
        return edit;
    };
    Edit1 = dateEdit("Edit1");
    Edit2 = dateEdit("Edit2");
    CheckBox1 = Named(new QCheckBox(text::Utf8(texts::kIncludeUnissued), this), "CheckBox1");
    auto button = [this](const char* name, const char* caption) {
        auto* b = Named(new QPushButton(text::Utf8(caption), this), name);
        b->setAutoDefault(false);
        return b;
    };
    Button1 = button("Button1", texts::kPrintButton);
    Button2 = button("Button2", texts::kPdfButton);
    Button3 = button("Button3", texts::kCsvButton);
    Button4 = button("Button4", texts::kExcelButton);
    Button5 = button("Button5", texts::kCloseButton);

    auto* fields = new QFormLayout;
    fields->addRow(text::Utf8(texts::kFromLabel), Edit1);
    fields->addRow(text::Utf8(texts::kToLabel), Edit2);
    fields->addRow(CheckBox1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Button1, Button2, Button3, Button4})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addWidget(Button5);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Edit1, &widgets::ByteLineEdit::doubleClicked, this,
            &IssueRegisterDialog::Edit1DblClick);
    connect(Edit2, &widgets::ByteLineEdit::doubleClicked, this,
            &IssueRegisterDialog::Edit2DblClick);
    connect(Button1, &QPushButton::clicked, this,
            [this] { OutputClick(widgets::ListFormat::Print); });
    connect(Button2, &QPushButton::clicked, this,
            [this] { OutputClick(widgets::ListFormat::Pdf); });
    connect(Button3, &QPushButton::clicked, this,
            [this] { OutputClick(widgets::ListFormat::Csv); });
    connect(Button4, &QPushButton::clicked, this,
            [this] { OutputClick(widgets::ListFormat::Excel); });
    connect(Button5, &QPushButton::clicked, this, &QDialog::reject);
}

IssueRange IssueRegisterDialog::Range() const
{
    // A field of blanks is an open end, like an empty one.
    const auto date = [](const widgets::ByteLineEdit* edit) {
        const std::string bytes = edit->bytes();
        return text::IsBlank(bytes) ? std::string() : bytes;
    };
    return {date(Edit1), date(Edit2), CheckBox1->isChecked(), {}};
}

void IssueRegisterDialog::OutputClick(widgets::ListFormat format)
{
    const IssueRange range = Range();
    const RangeCheck check = CheckIssueRange(range);
    if (!check.message.isEmpty()) {
        ports_.Inform(this, check.message);
        (std::string_view(check.field) == "to" ? Edit2 : Edit1)->setFocus();
        return;
    }
    output_(format, range);
}

void IssueRegisterDialog::Edit1DblClick()
{
    Edit1->setBytes(DateText(ports_.Today()));
}

void IssueRegisterDialog::Edit2DblClick()
{
    Edit2->setBytes(DateText(ports_.Today()));
}

}  // namespace reports
