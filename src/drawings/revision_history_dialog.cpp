#include "drawings/revision_history_dialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <numeric>

#include "drawings/drawing_list_report.h"
#include "drawings/project_detail_logic.h"
#include "drawings/revision_history_logic.h"
#include "drawings/revision_history_texts.h"
#include "text/cp932.h"
#include "widgets/byte_line_edit.h"
#include "widgets/list_output_menu.h"
#include "widgets/named.h"
#include "widgets/string_grid.h"

namespace drawings {

namespace {

using widgets::Named;

constexpr int kNumberBytes = 16;
constexpr int kContentBytes = 80;
constexpr int kDateBytes = 8;
constexpr int kGridHeight = 200;
const std::vector<int> kColumnWidths{50, 283, 39, 82};

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption)
{
    auto* button = Named(new QPushButton(QString::fromUtf8(caption), parent), name);
    button->setAutoDefault(false);  // Enter in a field must not add or delete
    return button;
}

}  // namespace

TForm12::TForm12(widgets::ScreenContext context, QWidget* parent)
    : RecordDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      context_(context)
{
    setObjectName(QStringLiteral("TForm12"));
    setWindowTitle(QString::fromUtf8(revision_texts::kCaption));

    Label1 = Named(new QLabel(QString::fromUtf8(revision_texts::kCurrentContents), this), "Label1");
    SG1 = Named(new widgets::StringGrid(4, this), "SG1");
    SG1->SetHeaders({QString::fromUtf8(revision_texts::kNumberHeader),
                     QString::fromUtf8(revision_texts::kContentHeader),
                     QString::fromUtf8(revision_texts::kReviserNoHeader),
                     QString::fromUtf8(revision_texts::kDateHeader)});
    SG1->SetColumnWidths(kColumnWidths);
    const int columnsWidth = std::accumulate(kColumnWidths.begin(), kColumnWidths.end(), 0);
    SG1->setFixedSize(
        columnsWidth + 2 * SG1->frameWidth() + SG1->verticalScrollBar()->sizeHint().width() + 2,
        kGridHeight);
    SG1->SetRowCount(2);

    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto* fields = new QGridLayout(Panel1);
    fields->setColumnStretch(1, 1);
    auto addField = [&](const char* labelName, const char* caption, QWidget* field) {
        auto* label = Named(new QLabel(QString::fromUtf8(caption), Panel1), labelName);
        label->setBuddy(field);
        const int row = fields->rowCount();
        fields->addWidget(label, row, 0);
        fields->addWidget(field, row, 1);
    };
    auto makeEdit = [&](const char* name, int maxBytes) {
        auto* edit = Named(new widgets::ByteLineEdit(Panel1), name);
        edit->setMaxBytes(maxBytes);
        return edit;
    };
    Edit1 = makeEdit("Edit1", kNumberBytes);
    widgets::SwitchOffInputMethod(Edit1);
    Edit1->setMaximumWidth(120);
    Edit2 = makeEdit("Edit2", kContentBytes);
    ComboBox1 = Named(new QComboBox(Panel1), "ComboBox1");
    ComboBox1->setEditable(false);
    widgets::SwitchOffInputMethod(ComboBox1);
    Edit3 = makeEdit("Edit3", kDateBytes);
    Edit3->setMaximumWidth(120);
    addField("Label2", revision_texts::kNumberLabel, Edit1);
    addField("Label3", revision_texts::kContentLabel, Edit2);
    addField("Label4", revision_texts::kReviserLabel, ComboBox1);
    addField("Label5", revision_texts::kDateLabel, Edit3);

    Button1 = MakeButton(this, "Button1", revision_texts::kButton1);
    Button4 = MakeButton(this, "Button4", revision_texts::kButton4);
    Button2 = MakeButton(this, "Button2", revision_texts::kButton2);
    Button3 = MakeButton(this, "Button3", revision_texts::kButton3);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {Button1, Button4, Button2, Button3})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(SG1);
    layout->addWidget(Panel1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget* const order[] = {SG1,     Edit1,   Edit2,   ComboBox1, Edit3,
                              Button1, Button4, Button2, Button3};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Keyboard moves in the grid select a row as a click does.
    connect(SG1, &QTableWidget::cellClicked, this, &TForm12::SG1Click);
    connect(SG1, &QTableWidget::currentCellChanged, this, [this] {
        if (!loading_)
            SG1Click();
    });
    connect(Edit1, &widgets::ByteLineEdit::doubleClicked, this, &TForm12::Edit1DblClick);
    connect(Edit3, &widgets::ByteLineEdit::doubleClicked, this, &TForm12::Edit3DblClick);
    connect(Button1, &QPushButton::clicked, this, &TForm12::Button1Click);
    connect(Button4, &QPushButton::clicked, this, &TForm12::Button4Click);
    connect(Button2, &QPushButton::clicked, this, &TForm12::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm12::Button3Click);
    widgets::AttachListOutput(SG1, context_.listOutput, [this] {
        return RevisionHistoryTable(context_.db, ProjectNo, DrawingNo, rows_, SG1->ColumnWidths());
    });
}

RevisionHistoryLogic TForm12::Logic() const
{
    return RevisionHistoryLogic(context_.db, ProjectNo, DrawingNo);
}

void TForm12::FormShow()
{
    loading_ = true;
    SG1->SetRowCount(2);
    SG1->ClearRow(1);
    rows_.clear();
    loading_ = false;
    const RevisionOutcome check =
        CheckRevisionEditorCanOpen(context_.globals.settings, context_.db);
    if (!check.message.isEmpty()) {
        RefuseOpening(context_.ports, check.message);
        return;
    }
    reviserItems_ = LoadReviserItems(context_.db);
    ComboBox1->clear();
    for (const std::string& item : reviserItems_)
        ComboBox1->addItem(text::FromCp932(item));
    ComboBox1->setCurrentIndex(0);
    LoadGrid();
    SG1->setFocus();
}

void TForm12::LoadGrid()
{
    loading_ = true;
    rows_ = Logic().LoadRows();
    SG1->ShowCp932Rows(rows_);
    loading_ = false;
}

storage::Row TForm12::SelectedCells() const
{
    const auto index = static_cast<std::size_t>(SG1->Row() - 1);
    return index < rows_.size() ? rows_[index] : storage::Row();
}

void TForm12::SG1Click()
{
    const storage::Row cells = SelectedCells();  // N, CONT, RN, RDATE
    if (cells.empty() || cells[0].empty())
        return;
    Edit1->setBytes(cells[0]);
    Edit2->setBytes(cells[1]);
    Edit3->setBytes(cells[3]);
    // A reviser no longer in the list shows as "none".
    ComboBox1->setCurrentIndex(FindMemberItem(reviserItems_, cells[2]));
}

void TForm12::Edit1DblClick()
{
    Edit1->setBytes(Logic().ProposeNumber());
}

void TForm12::Edit3DblClick()
{
    Edit3->setBytes(DateString(context_.ports.Today()));
}

RevisionInput TForm12::Input() const
{
    const int index = ComboBox1->currentIndex();
    const bool listed = index >= 0 && static_cast<std::size_t>(index) < reviserItems_.size();
    return {Edit1->bytes(), Edit2->bytes(), listed ? reviserItems_[index] : std::string(),
            Edit3->bytes()};
}

void TForm12::Show(const RevisionOutcome& outcome)
{
    if (!outcome.message.isEmpty())
        context_.ports.Inform(this, outcome.message);
    if (outcome.reload)
        LoadGrid();
    if (QWidget* target = outcome.focus.isEmpty() ? nullptr : findChild<QWidget*>(outcome.focus))
        target->setFocus();
}

void TForm12::Button1Click()
{
    Show(Logic().Add(Input()));
}

void TForm12::Button4Click()
{
    Show(Logic().Change(Input()));
}

void TForm12::Button2Click()
{
    const storage::Row cells = SelectedCells();
    const QString question = RevisionHistoryLogic::DeleteQuestion(cells);
    if (question.isEmpty() || !context_.ports.AskYesNo(this, question))
        return;
    Show(Logic().Delete(cells));
}

void TForm12::Button3Click()
{
    reject();
}

}  // namespace drawings
