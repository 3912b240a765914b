#include "projects/project_list_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QVBoxLayout>

#include "projects/child_window.h"
#include "projects/project_details_panel.h"
#include "projects/project_list_report.h"
#include "projects/project_list_texts.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "widgets/byte_line_edit.h"
#include "widgets/list_output_menu.h"
#include "widgets/string_grid.h"

namespace projects {

using text::Utf8;

namespace texts = list_texts;

namespace {

constexpr int kColumns = 6;

}  // namespace

TForm8::TForm8(widgets::ScreenContext context, QWidget* parent)
    : ChildForm(parent), context_(context), loader_(context.db)
{
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(Utf8(texts::kCaption));

    auto button = [this](const char* name, const char* text) {
        auto* b = new QPushButton(Utf8(text), Panel2);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Button1 = button("Button1", texts::kButtonFirst);
    Button2 = button("Button2", texts::kButtonPrevious);
    Button3 = button("Button3", texts::kButtonNext);
    Button4 = button("Button4", texts::kButtonRefresh);
    ComboBox1 = new QComboBox(Panel2);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    for (const char* item :
         {texts::kSortItem0, texts::kSortItem1, texts::kSortItem2, texts::kSortItem3,
          texts::kSortItem4, texts::kSortItem5, texts::kSortItem6, texts::kSortItem7,
          texts::kSortItem8, texts::kSortItem9})
        ComboBox1->addItem(Utf8(item));
    ComboBox1->setCurrentIndex(-1);
    Edit1 = new widgets::ByteLineEdit(Panel2);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    ComboBox2 = new QComboBox(Panel2);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    for (const char* item : {texts::kFilterItem0, texts::kFilterItem1, texts::kFilterItem2,
                             texts::kFilterItem3, texts::kFilterItem4})
        ComboBox2->addItem(Utf8(item));
    ComboBox2->setCurrentIndex(-1);
    ComboBox1->setMinimumContentsLength(8);
    ComboBox2->setMinimumContentsLength(7);

    // The window may be narrower than its top row, as the stored width says.
    Panel2->setMinimumWidth(1);
    auto* top = new QHBoxLayout(Panel2);
    top->setContentsMargins(2, 2, 2, 2);
    for (QPushButton* b : {Button1, Button2, Button3, Button4})
        top->addWidget(b);
    top->addSpacing(8);
    auto* sortLabel = new QLabel(Utf8(texts::kLabelSort), Panel2);
    sortLabel->setBuddy(ComboBox1);
    top->addWidget(sortLabel);
    top->addWidget(ComboBox1);
    top->addSpacing(8);
    auto* filterLabel = new QLabel(Utf8(texts::kLabelFilter), Panel2);
    filterLabel->setBuddy(Edit1);
    top->addWidget(filterLabel);
    top->addWidget(Edit1, 1);
    top->addWidget(ComboBox2);

    SG1 = new widgets::StringGrid(kColumns, this);
    SG1->setObjectName(QStringLiteral("SG1"));
    Panel1 = new ProjectDetailsPanel(context_.db, false, this);
    Splitter1 = LayOutWithDetails(this, Panel2, SG1, Panel1);

    connect(Button1, &QPushButton::clicked, this, &TForm8::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm8::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm8::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm8::Button4Click);
    connect(ComboBox1, &QComboBox::activated, this, &TForm8::ComboBox1Select);
    connect(ComboBox2, &QComboBox::activated, this, &TForm8::ComboBox2Select);
    connect(SG1, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { SG1SelectCell(row + 1); });
    connect(SG1, &QTableWidget::cellDoubleClicked, this, [this] { SG1DblClick(); });
    connect(Panel1, &ProjectDetailsPanel::editRequested, this, &TForm8::Button7Click);
    connect(Panel1, &ProjectDetailsPanel::detailRequested, this, &TForm8::Button8Click);
    // Every project of the sort and filter shown, not only this page.
    widgets::AttachListOutput(SG1, context_.listOutput, [this] {
        return ProjectListTable(context_.db, loader_.filter(), loader_.order(),
                                SG1->ColumnWidths());
    });
}

void TForm8::FormShow()
{
    const storage::Settings& s = context_.globals.settings;
    ResizeFrame({s.ListWidth, s.ListHeight});
    SG1->SetColumnWidths(std::vector<int>(s.ListColWidths.begin(), s.ListColWidths.end()));
    Panel1->SetPanelHeight(s.ListPanelHeight);

    loader_.Reset();
    SG1->SetHeaders({Utf8(texts::kHeader0), Utf8(texts::kHeader1), Utf8(texts::kHeader2),
                     Utf8(texts::kHeader3), Utf8(texts::kHeader4), Utf8(texts::kHeader5)});
    SG1->SetRowCount(ProjectPageLoader::kPageSize + 1);
    SG1->ClearDataRows();
    loader_.Refresh();
    ShowPage();
    Button1->setFocus(Qt::OtherFocusReason);
}

void TForm8::FormClose()
{
    // Stored as they are: limits apply only when the settings file is read.
    if (closed_ || !WasShown())
        return;
    closed_ = true;
    storage::Settings& s = context_.globals.settings;
    const QSize frame = StoredFrameSize();
    s.ListWidth = frame.width();
    s.ListHeight = frame.height();
    const std::vector<int> widths = SG1->ColumnWidths();
    for (size_t c = 0; c < s.ListColWidths.size() && c < widths.size(); ++c)
        s.ListColWidths[c] = widths[c];
    s.ListPanelHeight = Panel1->PanelHeight();
}

void TForm8::ShowPage()
{
    int r = 1;
    for (const ProjectListRow& row : loader_.rows()) {
        SG1->SetCell(0, r, text::FromCp932(row.number));
        SG1->SetCell(1, r, text::FromCp932(row.name));
        SG1->SetCell(2, r, text::FromCp932(row.title));
        SG1->SetCell(3, r, text::FromCp932(row.due));
        SG1->SetCell(4, r, text::FromCp932(row.delivered));
        SG1->SetCell(5, r, Utf8(row.done ? texts::kDone : texts::kNotDone));
        ++r;
    }
}

void TForm8::Button1Click()
{
    SG1->ClearDataRows();
    loader_.First();
    ShowPage();
}

void TForm8::Button2Click()
{
    SG1->ClearDataRows();
    loader_.Previous();
    ShowPage();
}

void TForm8::Button3Click()
{
    SG1->ClearDataRows();
    loader_.Next();
    ShowPage();
}

void TForm8::Button4Click()
{
    SG1->ClearDataRows();
    loader_.Refresh();
    ShowPage();
}

void TForm8::ComboBox1Select(int index)
{
    if (index < 0 || index >= kSortItemCount)
        return;
    SG1->ClearDataRows();
    loader_.SelectSort(index);
    ShowPage();
}

void TForm8::ComboBox2Select(int index)
{
    if (index < 0 || index >= kFilterItemCount)
        return;
    SG1->ClearDataRows();
    loader_.SelectFilter(index, Edit1->bytes());
    ShowPage();
}

void TForm8::SG1SelectCell(int row)
{
    Panel1->ShowProject(text::StrToIntOrZero(text::ToCp932Lossy(SG1->Cell(0, row))));
}

int TForm8::SelectedNumber() const
{
    return text::StrToIntOrZero(text::ToCp932Lossy(SG1->Cell(0, SG1->Row())));
}

void TForm8::SG1DblClick()
{
    Button7Click();
}

void TForm8::Button7Click()
{
    OpenEditorFor(context_, SelectedNumber());
}

void TForm8::Button8Click()
{
    if (!Panel1->ProjectName().isEmpty())
        OpenDetailFor(context_, SelectedNumber());
}

}  // namespace projects
