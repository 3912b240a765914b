#include "registers/register_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <numeric>

#include "registers/register_report.h"
#include "registers/register_texts.h"
#include "text/cp932.h"
#include "widgets/byte_line_edit.h"
#include "widgets/list_output_menu.h"
#include "widgets/named.h"
#include "widgets/string_grid.h"

namespace registers {

namespace {

using widgets::Named;

constexpr int kNumberBytes = 16;
constexpr int kGridHeight = 200;

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption)
{
    return Named(new QPushButton(QString::fromUtf8(caption), parent), name);
}

}  // namespace

RegisterDialog::RegisterDialog(widgets::ScreenContext context, const RegisterConfig& config,
                               const Layout& layout, QWidget* parent)
    : RecordDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint),
      context_(context),
      logic_(context.db, config)
{
    setObjectName(QString::fromLatin1(layout.objectName));
    setWindowTitle(QString::fromUtf8(config.caption));

    Label1 = Named(new QLabel(QString::fromUtf8(texts::kCurrentContents), this), "Label1");
    SG1 = Named(new widgets::StringGrid(config.gridColumns, this), "SG1");
    QStringList headers;
    for (const char* header : config.headers)
        headers << QString::fromUtf8(header);
    SG1->SetHeaders(headers);
    SG1->SetColumnWidths(config.columnWidths);
    const int columnsWidth =
        std::accumulate(config.columnWidths.begin(), config.columnWidths.end(), 0);
    SG1->setFixedSize(
        columnsWidth + 2 * SG1->frameWidth() + SG1->verticalScrollBar()->sizeHint().width() + 2,
        kGridHeight);
    SG1->SetRowCount(2);

    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    fields_ = new QGridLayout(Panel1);
    fields_->setColumnStretch(1, 1);

    Edit1 = AddEdit("Label3", layout.numberLabel, "Edit1", kNumberBytes);
    widgets::SwitchOffInputMethod(Edit1);
    Edit1->setMaximumWidth(120);

    Button1 = MakeButton(this, "Button1", texts::kButton1);
    Button2 = MakeButton(this, "Button2", texts::kButton2);
    Button4 = MakeButton(this, "Button4", texts::kButton4);
    Button3 = MakeButton(this, "Button3", texts::kButton3);
    for (QPushButton* button : {Button1, Button2, Button4, Button3})
        button->setAutoDefault(false);  // Enter in a field must not add or delete

    // Keyboard moves in the grid select a row as a click does.
    connect(SG1, &QTableWidget::cellClicked, this, &RegisterDialog::SG1Click);
    connect(SG1, &QTableWidget::currentCellChanged, this, [this] {
        if (!loading_)
            SG1Click();
    });
    connect(Edit1, &widgets::ByteLineEdit::doubleClicked, this, &RegisterDialog::Edit1DblClick);
    connect(Button1, &QPushButton::clicked, this, &RegisterDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &RegisterDialog::Button2Click);
    connect(Button4, &QPushButton::clicked, this, &RegisterDialog::Button4Click);
    connect(Button3, &QPushButton::clicked, this, &RegisterDialog::Button3Click);
    widgets::AttachListOutput(SG1, context_.listOutput, [this] {
        return RegisterTable(logic_.config(), rows_, SG1->ColumnWidths());
    });
}

void RegisterDialog::AddField(const char* labelName, const char* labelText, QWidget* field)
{
    auto* label = Named(new QLabel(QString::fromUtf8(labelText), Panel1), labelName);
    label->setBuddy(field);
    field->setParent(Panel1);
    const int row = fields_->rowCount();
    fields_->addWidget(label, row, 0);
    fields_->addWidget(field, row, 1);
    tabOrder_.push_back(field);
}

widgets::ByteLineEdit* RegisterDialog::AddEdit(const char* labelName, const char* labelText,
                                               const char* editName, int maxBytes)
{
    auto* edit = Named(new widgets::ByteLineEdit(Panel1), editName);
    edit->setMaxBytes(maxBytes);
    AddField(labelName, labelText, edit);
    return edit;
}

void RegisterDialog::FinishLayout()
{
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {Button1, Button2, Button4, Button3})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(SG1);
    layout->addWidget(Panel1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    std::vector<QWidget*> order{SG1};
    order.insert(order.end(), tabOrder_.begin(), tabOrder_.end());
    order.insert(order.end(), {Button1, Button2, Button4, Button3});
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

std::string RegisterDialog::FieldText(const ValueColumn& column) const
{
    const auto* edit = findChild<widgets::ByteLineEdit*>(QString::fromLatin1(column.field));
    return edit ? edit->bytes() : std::string();
}

void RegisterDialog::FormShow()
{
    loading_ = true;
    SG1->SetRowCount(2);
    SG1->ClearRow(1);
    rows_.clear();
    loading_ = false;
    const RegisterOutcome check = CheckRegisterCanOpen(context_.globals.settings, context_.db);
    if (!check.message.isEmpty()) {
        RefuseOpening(context_.ports, check.message);
        return;
    }
    PrepareFields();
    LoadGrid();
    SG1->setFocus();
}

void RegisterDialog::LoadGrid()
{
    loading_ = true;
    rows_ = logic_.LoadRows();
    SG1->ShowCp932Rows(rows_);
    loading_ = false;
}

storage::Row RegisterDialog::SelectedCells() const
{
    const auto index = static_cast<std::size_t>(SG1->Row() - 1);
    return index < rows_.size() ? rows_[index] : storage::Row();
}

void RegisterDialog::SG1Click()
{
    const storage::Row cells = SelectedCells();
    if (cells.empty() || cells[0].empty())
        return;
    ShowRow(cells);
}

void RegisterDialog::Edit1DblClick()
{
    Edit1->setBytes(logic_.ProposeNumber());
}

RegisterInput RegisterDialog::Input() const
{
    RegisterInput input{Edit1->bytes(), {}};
    for (const ValueColumn& column : logic_.config().columns)
        input.values.push_back(FieldText(column));
    return input;
}

void RegisterDialog::Show(const RegisterOutcome& outcome)
{
    if (!outcome.message.isEmpty())
        context_.ports.Inform(this, outcome.message);
    if (outcome.reload)
        LoadGrid();
    if (QWidget* target = outcome.focus.isEmpty() ? nullptr : findChild<QWidget*>(outcome.focus))
        target->setFocus();
}

void RegisterDialog::Button1Click()
{
    Show(logic_.Add(Input()));
}

void RegisterDialog::Button4Click()
{
    Show(logic_.Change(Input()));
}

void RegisterDialog::Button2Click()
{
    const storage::Row cells = SelectedCells();
    const QString question = logic_.DeleteQuestion(cells);
    if (question.isEmpty() || !context_.ports.AskYesNo(this, question))
        return;
    Show(logic_.Delete(cells));
}

void RegisterDialog::Button3Click()
{
    reject();
}

}  // namespace registers
