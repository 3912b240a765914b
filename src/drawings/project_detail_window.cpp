#include "drawings/project_detail_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "drawings/detail_texts.h"
#include "drawings/drawing_chart_logic.h"
#include "drawings/drawing_info_logic.h"
#include "drawings/drawing_info_texts.h"
#include "drawings/drawing_rows.h"
#include "drawings/file_registration.h"
#include "drawings/name_dialog.h"
#include "drawings/node_text.h"
#include "drawings/revision_history_dialog.h"
#include "drawings/revision_history_logic.h"
#include "storage/project_periods.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "widgets/byte_line_edit.h"
#include "widgets/gantt_view.h"
#include "widgets/string_grid.h"

namespace drawings {

using text::Utf8;

namespace texts = detail_texts;

namespace {

const QColor kGrey(0xDB, 0xDB, 0xDB);
constexpr int kTreeIndent = 19;
constexpr int kListColumns = 13;
constexpr int kInformationPage = 0;
constexpr int kListPage = 1;

// The item text as CP932 bytes is kept beside the text shown, so a name
// read back from an item is the stored name byte for byte.
constexpr int kBytesRole = Qt::UserRole;

std::string ItemBytes(const QTreeWidgetItem* item)
{
    const QByteArray bytes = item->data(0, kBytesRole).toByteArray();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void SetItemText(QTreeWidgetItem* item, const std::string& bytes)
{
    item->setText(0, text::FromCp932(bytes));
    item->setData(0, kBytesRole, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void SetEditable(QWidget* edit, bool editable)
{
    if (auto* line = qobject_cast<QLineEdit*>(edit))
        line->setReadOnly(!editable);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(edit))
        memo->setReadOnly(!editable);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, editable ? QColor(Qt::white) : kGrey);
    edit->setPalette(palette);
}

template <class T>
T* Named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

}  // namespace

TForm10::TForm10(widgets::ScreenContext context, TForm11* nameDialog, TForm12* revisionDialog,
                 QWidget* parent)
    : ChildForm(parent), context_(context), nameDialog_(nameDialog), revisionDialog_(revisionDialog)
{
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(Utf8(texts::kCaption));
    BuildControls();

    connect(TreeView1, &QTreeWidget::itemClicked, this, &TForm10::TreeView1Click);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm10::TreeView1Click);
    connect(ButtonC, &QPushButton::clicked, this, &TForm10::ButtonCClick);
    connect(ButtonM1, &QPushButton::clicked, this, &TForm10::ButtonM1Click);
    connect(ButtonM2, &QPushButton::clicked, this, &TForm10::ButtonM2Click);
    connect(ButtonM3, &QPushButton::clicked, this, &TForm10::ButtonM3Click);
    connect(ButtonM5, &QPushButton::clicked, this, &TForm10::ButtonM5Click);
    ConnectInformationPage();
    ConnectDrawingPages();
}

TForm10::~TForm10() = default;

void TForm10::BuildControls()
{
    TreeView1 = Named(new QTreeWidget, QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(kTreeIndent);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setUniformRowHeights(true);

    PageControl1 = Named(new QTabWidget, QStringLiteral("PageControl1"));
    TabSheet1 = Named(new QWidget, QStringLiteral("TabSheet1"));
    TabSheet2 = Named(new QWidget, QStringLiteral("TabSheet2"));
    TabSheet3 = Named(new QWidget, QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet1, Utf8(texts::kTabSheet1));
    PageControl1->addTab(TabSheet2, Utf8(texts::kTabSheet2));
    PageControl1->addTab(TabSheet3, Utf8(texts::kTabSheet3));

    ScrollBox1 = Named(new QScrollArea(TabSheet1), QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setWidget(BuildInformationPage());
    auto* page1 = new QVBoxLayout(TabSheet1);
    page1->setContentsMargins(0, 0, 0, 0);
    page1->addWidget(ScrollBox1);

    SG1 = Named(new widgets::StringGrid(kListColumns, TabSheet2), QStringLiteral("SG1"));
    auto* page2 = new QVBoxLayout(TabSheet2);
    page2->setContentsMargins(0, 0, 0, 0);
    page2->addWidget(SG1);

    Chart1 = Named(new widgets::GanttView(TabSheet3), QStringLiteral("Chart1"));
    auto* page3 = new QVBoxLayout(TabSheet3);
    page3->setContentsMargins(0, 0, 0, 0);
    page3->addWidget(Chart1);

    Splitter1 = Named(new QSplitter(Qt::Horizontal, this), QStringLiteral("Splitter1"));
    Splitter1->addWidget(TreeView1);
    Splitter1->addWidget(PageControl1);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setStretchFactor(0, 0);  // the tree keeps its width when the window is resized
    Splitter1->setStretchFactor(1, 1);

    Panel1 = Named(new QWidget(this), QStringLiteral("Panel1"));
    auto button = [this](const char* name, const char* caption) {
        return Named(new QPushButton(Utf8(caption), Panel1), QString::fromLatin1(name));
    };
    ButtonM1 = button("ButtonM1", texts::kButtonM1);
    ButtonM2 = button("ButtonM2", texts::kButtonM2);
    ButtonM3 = button("ButtonM3", texts::kButtonM3);
    ButtonM4 = button("ButtonM4", texts::kButtonM4);
    ButtonM5 = button("ButtonM5", texts::kButtonM5);
    ButtonC = button("ButtonC", texts::kButtonC);
    auto* buttons = new QHBoxLayout(Panel1);
    buttons->setContentsMargins(4, 4, 4, 4);
    for (QPushButton* b : {ButtonM1, ButtonM2, ButtonM3})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addWidget(ButtonM4);
    buttons->addWidget(ButtonM5);
    buttons->addStretch();
    buttons->addWidget(ButtonC);

    StatusBar1 = Named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(Panel1);
    layout->addWidget(StatusBar1);
}

QWidget* TForm10::BuildInformationPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("InformationPage"));
    for (int i = 0; i < 20; ++i)
        labels_[i] = Named(new QLabel(page), QStringLiteral("Label%1").arg(i + 1));
    for (int i = 0; i < 16; ++i)
        edits_[i] = Named(new widgets::ByteLineEdit(page), QStringLiteral("Edit%1").arg(i + 1));
    for (int i = 0; i < 5; ++i) {
        combos_[i] = Named(new QComboBox(page), QStringLiteral("ComboBox%1").arg(i + 1));
        combos_[i]->setEditable(false);
        combos_[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combos_[i]->setMinimumContentsLength(12);
        widgets::SwitchOffInputMethod(combos_[i]);
    }
    for (int i = 0; i < 9; ++i)
        buttons_[i] = Named(new QPushButton(page), QStringLiteral("Button%1").arg(i + 1));
    Memo1 = Named(new QPlainTextEdit(page), QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setMaximumHeight(90);
    SetEditable(Memo1, false);

    const std::pair<int, const char*> captions[] = {
        {1, texts::kLabel1},   {2, texts::kLabel2},   {6, texts::kLabel6},   {7, texts::kLabel7},
        {8, texts::kLabel8},   {9, texts::kLabel9},   {10, texts::kLabel10}, {11, texts::kLabel11},
        {12, texts::kLabel12}, {13, texts::kLabel13}, {14, texts::kLabel14}, {15, texts::kLabel15},
        {16, texts::kLabel16}, {17, texts::kLabel17}, {18, texts::kLabel18}, {19, texts::kLabel19},
        {20, texts::kLabel20}};
    for (const auto& [number, caption] : captions)
        labels_[number - 1]->setText(Utf8(caption));
    const char* const buttonCaptions[] = {texts::kButton1, texts::kButton2, texts::kButton3,
                                          texts::kButton4, texts::kButton5, texts::kButton6,
                                          texts::kButton7, texts::kButton8, texts::kButton9};
    for (int i = 0; i < 9; ++i)
        buttons_[i]->setText(Utf8(buttonCaptions[i]));

    // MaxLength of Edit1 to Edit16, in bytes.
    constexpr int kLimits[16] = {8, 32, 255, 255, 80, 80, 80, 80, 80, 80, 8, 8, 8, 8, 8, 8};
    for (int i = 0; i < 16; ++i)
        edits_[i]->setMaxBytes(kLimits[i]);
    for (int i : {0, 1, 10, 11, 12, 13, 14, 15})
        widgets::SwitchOffInputMethod(edits_[i]);
    SetEditable(edits_[0], false);
    SetEditable(edits_[1], false);

    auto* grid = new QGridLayout(page);
    auto label = [this](int n) { return labels_[n - 1]; };
    auto edit = [this](int n) { return edits_[n - 1]; };
    grid->addWidget(label(2), 0, 0);
    grid->addWidget(edit(1), 0, 1);
    grid->addWidget(label(1), 1, 0);
    grid->addWidget(edit(2), 1, 1, 1, 3);
    for (int row = 2, n = 3; n <= 7; ++row, ++n) {
        grid->addWidget(label(n), row, 0);
        grid->addWidget(edit(n), row, 1, 1, 4);
    }
    grid->addWidget(buttons_[0], 2, 5);  // choosing the file, beside its name
    grid->addWidget(buttons_[1], 3, 5);  // opening the file, beside its folder
    grid->addWidget(label(8), 7, 0);
    grid->addWidget(edit(8), 7, 1, 1, 4);
    grid->addWidget(buttons_[2], 7, 5);
    grid->addWidget(edit(9), 8, 1, 1, 4);
    grid->addWidget(edit(10), 9, 1, 1, 4);
    // Member and date of each stage, with its stamp button (none for the maker,
    // whose row holds the update date instead).
    struct Stage {
        int label, combo, dateLabel, date, button;
    };
    constexpr Stage kStages[] = {{9, 1, 10, 11, 0},
                                 {12, 2, 13, 13, 4},
                                 {14, 3, 15, 14, 5},
                                 {16, 4, 17, 15, 6},
                                 {18, 5, 19, 16, 7}};
    for (int row = 10; const Stage& stage : kStages) {
        grid->addWidget(label(stage.label), row, 0);
        grid->addWidget(combos_[stage.combo - 1], row, 1);
        grid->addWidget(label(stage.dateLabel), row, 2);
        grid->addWidget(edit(stage.date), row, 3);
        if (stage.button > 0)
            grid->addWidget(buttons_[stage.button - 1], row, 5);
        ++row;
    }
    grid->addWidget(label(11), 10, 4);
    grid->addWidget(edit(12), 10, 5);
    grid->addWidget(label(20), 15, 0, Qt::AlignTop);
    grid->addWidget(Memo1, 15, 1, 1, 4);
    grid->addWidget(buttons_[7], 15, 5, Qt::AlignTop);
    grid->addWidget(buttons_[8], 16, 1);
    grid->setRowStretch(17, 1);
    grid->setColumnStretch(4, 1);
    return page;
}

// ButtonC is the window's cancel button: an Esc no control took presses it.
void TForm10::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ButtonCClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm10::FormShow()
{
    projectNo_ = context_.globals.CurrentProjectNo;
    logic_ = std::make_unique<ProjectDetailLogic>(context_.db, projectNo_);
    const storage::Settings& s = context_.globals.settings;
    widgets::FrameOf(this)->resize(s.DetailWidth, s.DetailHeight);
    Splitter1->setSizes({s.DetailTreeWidth, std::max(1, s.DetailWidth - s.DetailTreeWidth)});

    logic_->Open();

    SG1->SetRowCount(2);
    QStringList headers;
    for (const char* header : texts::kListHeaders)
        headers << Utf8(header);
    SG1->SetHeaders(headers);
    SG1->ClearRow(1);
    SG1->SetColumnWidths(std::vector<int>(s.DetailColWidths.begin(), s.DetailColWidths.end()));

    PageControl1->blockSignals(true);  // the rebuild below shows the page once
    PageControl1->setCurrentIndex(kInformationPage);
    PageControl1->blockSignals(false);
    ButtonM5Click();
}

void TForm10::FormClose()
{
    if (closed_ || !WasShown())
        return;
    closed_ = true;
    storage::Settings& s = context_.globals.settings;
    const QWidget* frame = widgets::FrameOf(this);
    s.DetailWidth = frame->width();
    s.DetailHeight = frame->height();
    s.DetailTreeWidth = TreeView1->width();
    const std::vector<int> widths = SG1->ColumnWidths();
    for (size_t i = 0; i < s.DetailColWidths.size() && i < widths.size(); ++i)
        s.DetailColWidths[i] = widths[i];
    TreeView1->clear();
}

void TForm10::ButtonCClick()
{
    widgets::FrameOf(this)->close();
}

void TForm10::ButtonM5Click()
{
    if (!logic_)
        return;
    const ProjectHeader project = logic_->ReadProject();

    memberItems_ = logic_->LoadMemberItems();
    QStringList members;
    for (const std::string& item : memberItems_)
        members << text::FromCp932(item);
    for (QComboBox* combo : combos_) {
        combo->clear();
        combo->addItems(members);
        combo->setCurrentIndex(0);
    }

    // Items are built apart from the view and handed to it whole, which
    // keeps a large tree quick to show.
    TreeView1->setUpdatesEnabled(false);
    TreeView1->clear();
    const TreeContent tree = logic_->ReadTree(project.name);
    auto* root = new QTreeWidgetItem;
    SetItemText(root, tree.projectText);
    std::vector<QTreeWidgetItem*> items(tree.rows.size());
    for (size_t i = 0; i < tree.rows.size(); ++i) {
        const int parent = tree.parents[i];
        items[i] = new QTreeWidgetItem(parent == kProjectNode ? root : items[parent]);
        SetItemText(items[i], tree.rows[i].text);
    }
    TreeView1->addTopLevelItem(root);
    TreeView1->setUpdatesEnabled(true);
    TreeView1Click();
}

QTreeWidgetItem* TForm10::SelectedItem() const
{
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QTreeWidgetItem* TForm10::ProjectItem() const
{
    return TreeView1->topLevelItem(0);
}

int TForm10::SelectedNodeNumber() const
{
    const QTreeWidgetItem* item = SelectedItem();
    return item ? NodeNumberOf(ItemBytes(item)) : 0;
}

void TForm10::TreeView1Click()
{
    QTreeWidgetItem* item = SelectedItem();
    if (!item && (item = ProjectItem()))
        TreeView1->setCurrentItem(item);
    const ParsedNode node = item ? ParseNodeText(ItemBytes(item)) : ParsedNode{};
    switch (PageControl1->currentIndex()) {
        case kInformationPage:
            ShowNodeInfo(node.number, node.name);
            break;
        case kListPage:
            FillDrawingList(item);
            break;
        default:
            BuildDrawingChart(item);
            break;
    }
}

void TForm10::SetDrawingControlsVisible(bool visible)
{
    for (int i = 8; i < 20; ++i)  // Label9 to Label20
        labels_[i]->setVisible(visible);
    for (QComboBox* combo : combos_)
        combo->setVisible(visible);
    for (int i = 10; i < 16; ++i)  // Edit11 to Edit16
        edits_[i]->setVisible(visible);
    for (int i = 0; i < 8; ++i)  // Button1 to Button8; Button9 always shows
        buttons_[i]->setVisible(visible);
    Memo1->setVisible(visible);
}

void TForm10::ShowNodeInfo(int number, const std::string& name)
{
    edits_[0]->setBytes(std::to_string(number));
    edits_[1]->setBytes(name);
    const bool drawing = number != 0;
    labels_[2]->setText(Utf8(drawing ? texts::kDrawingLabel3 : texts::kProjectLabel3));
    labels_[3]->setText(Utf8(drawing ? texts::kDrawingLabel4 : texts::kProjectLabel4));
    labels_[4]->setText(Utf8(drawing ? texts::kDrawingLabel5 : texts::kProjectLabel5));
    SetDrawingControlsVisible(drawing);
    // The project node has no drawing record: saving it would store nothing.
    buttons_[8]->setEnabled(drawing);
    for (int i = 2; i < 10; ++i)  // Edit3 to Edit10
        SetEditable(edits_[i], drawing);

    if (drawing) {
        const DrawingNodeInfo info = logic_->ReadDrawingNode(number);
        for (size_t i = 0; i < info.fields.size(); ++i)
            edits_[2 + i]->setBytes(info.fields[i]);
        for (size_t i = 0; i < combos_.size(); ++i)
            combos_[i]->setCurrentIndex(FindMemberItem(memberItems_, info.members[i]));
        ShowRevisionLines(info.revisions);
    } else {
        const ProjectNodeFields fields = logic_->ReadProjectNode();
        for (size_t i = 0; i < fields.size(); ++i)
            edits_[2 + i]->setBytes(fields[i]);
    }
    pageRead_ = context_.db.Connected();
    edits_[0]->setFocus();
}

// New nodes go under the node whose number the selected item reads as. An
// item named with the separator by another program reads as node 0, so its
// new children are stored, and shown, under the project node.
QTreeWidgetItem* TForm10::ItemOfParent(int parentNumber)
{
    return parentNumber == 0 ? ProjectItem() : SelectedItem();
}

void TForm10::ButtonM1Click()
{
    if (!logic_ || TreeView1->topLevelItemCount() == 0 || !nameDialog_)
        return;
    if (!SelectedItem())
        TreeView1->setCurrentItem(ProjectItem());
    const int parentNumber = SelectedNodeNumber();
    QTreeWidgetItem* parent = ItemOfParent(parentNumber);

    nameDialog_->CaptionText = Utf8(texts::kCreateCaption);
    nameDialog_->NameText.clear();
    nameDialog_->exec();
    if (!nameDialog_->Accepted)
        return;
    const std::string name = text::StripQuotes(nameDialog_->NameText);

    NameTreeEditor editor(context_.db, logic_->tables());
    const NodeCreation made = editor.CreateNode(
        parentNumber, name, context_.globals.settings.PcUserNo, EmptyDrawingValues());
    if (!made.created()) {
        context_.ports.Inform(this, made.message);
        return;
    }
    SetItemText(new QTreeWidgetItem(parent), NodeText(name, made.number));
}

void TForm10::ButtonM2Click()
{
    QTreeWidgetItem* item = SelectedItem();
    if (!logic_ || !item || item == ProjectItem() || !nameDialog_)
        return;
    const std::string text = ItemBytes(item);
    if (!HasNodeSeparator(text))
        return;
    const ParsedNode node = ParseNodeText(text);
    // A name another program stored with the separator in it reads as node 0,
    // which is the project's own row: never rename that from here.
    if (node.number < 1)
        return;

    nameDialog_->CaptionText = Utf8(texts::kRenameCaption);
    nameDialog_->NameText = node.name;
    nameDialog_->exec();
    if (!nameDialog_->Accepted)
        return;
    const std::string name = nameDialog_->NameText;
    NameTreeEditor editor(context_.db, logic_->tables());
    if (!editor.RenameNode(node.number, name))
        return;
    SetItemText(item, NodeText(name, node.number));
    edits_[1]->setBytes(name);
}

void TForm10::ButtonM3Click()
{
    QTreeWidgetItem* item = SelectedItem();
    if (!logic_ || !item || item == ProjectItem())
        return;
    const std::string text = ItemBytes(item);
    if (!HasNodeSeparator(text))
        return;
    const ParsedNode node = ParseNodeText(text);
    // As in renaming: node 0 is the project's own row and is never deleted here.
    if (node.number < 1)
        return;
    if (item->childCount() > 0) {
        context_.ports.Inform(this, HasChildrenMessage(node.name, node.number));
        return;
    }
    if (!context_.ports.AskYesNo(this, DeleteQuestion(node.name, node.number)))
        return;
    NameTreeEditor editor(context_.db, logic_->tables());
    if (editor.DeleteNode(node.number))
        delete item;
    TreeView1->setCurrentItem(ProjectItem());
    TreeView1->setFocus();
    TreeView1Click();
}

// Information page buttons.

void TForm10::ConnectInformationPage()
{
    void (TForm10::*const handlers[])() = {
        &TForm10::Button1Click, &TForm10::Button2Click, &TForm10::Button3Click,
        &TForm10::Button4Click, &TForm10::Button5Click, &TForm10::Button6Click,
        &TForm10::Button7Click, &TForm10::Button8Click, &TForm10::Button9Click};
    for (int i = 0; i < 9; ++i)
        connect(buttons_[i], &QPushButton::clicked, this, handlers[i]);
    for (int box = 11; box <= 16; ++box)
        connect(edits_[box - 1], &widgets::ByteLineEdit::doubleClicked, this,
                [this, box] { Edit11DblClick(box); });
}

DrawingPage TForm10::PageInput() const
{
    DrawingPage page;
    for (size_t i = 0; i < edits_.size(); ++i)
        page.edits[i] = edits_[i]->bytes();
    page.memberItems = memberItems_;
    for (size_t i = 0; i < combos_.size(); ++i)
        page.memberIndexes[i] = combos_[i]->currentIndex();
    return page;
}

// Controls are named in the outcome; only the page's own are looked for.
void TForm10::Apply(const PageOutcome& outcome)
{
    QWidget* page = ScrollBox1->widget();
    for (const TextChange& change : outcome.texts)
        if (auto* edit = page->findChild<widgets::ByteLineEdit*>(change.control))
            edit->setBytes(change.text);
    for (const SelectionChange& change : outcome.selections)
        if (auto* combo = page->findChild<QComboBox*>(change.control))
            combo->setCurrentIndex(change.index);
    if (!outcome.message.isEmpty())
        context_.ports.Inform(this, outcome.message);
    if (!outcome.focus.isEmpty())
        if (auto* control = page->findChild<QWidget*>(outcome.focus))
            control->setFocus();
}

void TForm10::ShowRevisionLines(const std::vector<std::string>& lines)
{
    QStringList shown;
    for (const std::string& line : lines)
        shown << text::FromCp932(line);
    Memo1->setPlainText(shown.join(QLatin1Char('\n')));
}

void TForm10::Button1Click()
{
    const BrowseRequest browse =
        MakeBrowseRequest(PageInput(), context_.globals.settings.LastDrawingFolder);
    widgets::FileDialogRequest request;
    request.initialFolder = browse.initialFolder;
    request.fileName = browse.fileName;
    request.filters = browse.filters;
    request.multiple = false;
    const QStringList chosen = context_.ports.ChooseFiles(this, request);
    if (chosen.isEmpty())
        return;
    Apply(TakeChosenFile(chosen.first()));
}

void TForm10::Button2Click()
{
    const PageOutcome outcome = OpenDrawingFile(PageInput());
    Apply(outcome);
    if (!outcome.fileToOpen.isEmpty())
        context_.ports.OpenWithAssociatedProgram(outcome.fileToOpen);
}

void TForm10::Button3Click()
{
    Apply(TakeHeaderText(PageInput()));
}

void TForm10::Button4Click()
{
    Apply(StampPage(PageInput(), Stamp::Check, context_.globals.settings, context_.ports.Today()));
}

void TForm10::Button5Click()
{
    Apply(
        StampPage(PageInput(), Stamp::Approval, context_.globals.settings, context_.ports.Today()));
}

void TForm10::Button6Click()
{
    Apply(StampPage(PageInput(), Stamp::Issue, context_.globals.settings, context_.ports.Today()));
}

void TForm10::Button7Click()
{
    if (!logic_)
        return;
    Apply(DrawingInfoLogic(context_.db, projectNo_).TakeLatestRevision(PageInput()));
}

void TForm10::Button8Click()
{
    if (!logic_ || !revisionDialog_)
        return;
    const int node = PageInput().NodeNumber();
    revisionDialog_->ProjectNo = projectNo_;
    revisionDialog_->DrawingNo = node;
    revisionDialog_->exec();
    ShowRevisionLines(DrawingInfoLogic(context_.db, projectNo_).RevisionLines(node));
}

void TForm10::Button9Click()
{
    const DrawingPage page = PageInput();
    if (!logic_ || !DrawingInfoLogic::CanSave(page))
        return;
    // The blanks of a page that could not be read would overwrite the record.
    if (!pageRead_) {
        context_.ports.Inform(this, Utf8(drawing_info_texts::kSaveFailed));
        return;
    }
    Apply(DrawingInfoLogic(context_.db, projectNo_).Save(page));
}

void TForm10::Edit11DblClick(int box)
{
    if (box < 11 || box > 16)
        return;
    edits_[box - 1]->setBytes(DateString(context_.ports.Today()));
}

// File registration, and the drawing list and chart pages.

namespace {

// Fewer files take less than a blink: no progress box, and no events are
// handled while they are stored.
constexpr int kProgressFromFiles = 10;
constexpr double kChartRowMinimum = -1;
constexpr int kChartInitialMaximum = 11;
constexpr double kWheelRows = 3;
const QColor kListHeaderColor(133, 182, 235);
const QColor kChartBackground(194, 193, 255);

}  // namespace

void TForm10::ConnectDrawingPages()
{
    connect(ButtonM4, &QPushButton::clicked, this, &TForm10::ButtonM4Click);
    connect(SG1, &QTableWidget::cellDoubleClicked, this, &TForm10::SG1DblClick);
    SG1->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: %1; }")
            .arg(kListHeaderColor.name()));
    Chart1->SetBackground(kChartBackground);
    Chart1->SetDateLabelStepDays(1);
    Chart1->SetRowAxis(kChartRowMinimum, kChartInitialMaximum);
    Chart1->setMinimumSize(0, 0);  // the page decides; a low chart keeps rows 0 to 3
    Chart1->installEventFilter(this);
}

bool TForm10::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Chart1 && event->type() == QEvent::Resize) {
        Chart1Resize();
    } else if (watched == Chart1 && event->type() == QEvent::Wheel) {
        // Rows past the chart's height are reached by scrolling, never above row 0.
        const int steps = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
        const double delta = std::max(-steps * kWheelRows, kChartRowMinimum - Chart1->RowMinimum());
        Chart1->ScrollRows(delta);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm10::ButtonM4Click()
{
    if (!logic_ || TreeView1->topLevelItemCount() == 0)
        return;
    if (!SelectedItem())
        TreeView1->setCurrentItem(ProjectItem());
    const int parentNumber = SelectedNodeNumber();
    QTreeWidgetItem* parent = ItemOfParent(parentNumber);

    storage::Settings& settings = context_.globals.settings;
    widgets::FileDialogRequest request;
    request.initialFolder = text::FromCp932(settings.LastDrawingFolder);
    request.filters = DrawingFileFilters();
    request.multiple = true;
    const QStringList chosen = context_.ports.ChooseFiles(this, request);
    if (chosen.isEmpty())
        return;
    if (const std::optional<std::string> folder = ChosenFolder(chosen.first()))
        settings.LastDrawingFolder = *folder;

    // The box is modal while it is up, so the events it lets through cannot
    // reach the tree or close the window; its 中止 and Esc stop the loop.
    std::unique_ptr<QProgressDialog> progress;
    if (chosen.size() >= kProgressFromFiles) {
        progress = std::make_unique<QProgressDialog>(Utf8(texts::kRegisterProgress),
                                                     Utf8(texts::kRegisterCancel), 0,
                                                     static_cast<int>(chosen.size()), this);
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
        progress->setAutoClose(false);
        progress->show();
    }
    context_.ports.ResetEscape();
    FileRegistration registration(context_.db, logic_->tables(), settings.PcUserNo);
    const RegistrationOutcome outcome = registration.RegisterFiles(
        parentNumber, chosen,
        [&](int done) {
            if (progress) {
                progress->setValue(done);
                if (progress->wasCanceled())
                    return false;
            }
            return !context_.ports.EscapePressed();
        },
        [parent](const RegisteredFile& file) {
            SetItemText(new QTreeWidgetItem(parent), file.itemText);
        });
    progress.reset();
    if (!outcome.message.isEmpty())
        context_.ports.Inform(this, outcome.message);
}

std::vector<TForm10::WalkedNode> TForm10::WalkNodes(QTreeWidgetItem* item, int& baseLevel)
{
    std::vector<WalkedNode> walked;
    baseLevel = 1;
    if (!item || TreeView1->topLevelItemCount() == 0)
        return walked;
    // Below the project node every item counts; below any other node, the
    // siblings of the item and what shows of them on screen.
    const bool wholeTree = item->parent() == nullptr;
    QTreeWidgetItem* from = wholeTree ? item : item->parent();
    for (const QTreeWidgetItem* up = from->parent(); up; up = up->parent())
        ++baseLevel;

    context_.ports.ResetEscape();
    struct Level {
        QTreeWidgetItem* parent;
        int next;
        int depth;
    };
    std::vector<Level> levels{{from, 0, baseLevel}};  // pre-order without recursion
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next >= level.parent->childCount()) {
            levels.pop_back();
            continue;
        }
        QTreeWidgetItem* child = level.parent->child(level.next++);
        const int depth = level.depth;
        if (context_.ports.EscapePressed())
            break;
        walked.push_back({child, depth});
        if (child->childCount() > 0 && (wholeTree || child->isExpanded()))
            levels.push_back({child, 0, depth + 1});
    }
    return walked;
}

void TForm10::FillDrawingList(QTreeWidgetItem* item)
{
    if (!logic_)
        return;
    SG1->setUpdatesEnabled(false);
    SG1->SetRowCount(2);
    SG1->ClearRow(1);
    storage::Row project(storage::kProjectColumns);
    context_.db.SelectColumns("*", "ZPROJECT", "N=" + std::to_string(projectNo_), project);
    const ListRow projectRow = ProjectListRow(project);
    for (int c = 0; c < kListColumns; ++c)
        SG1->SetCell(c, 1, text::FromCp932(projectRow[c]));

    int baseLevel = 1;
    const std::vector<WalkedNode> walked = WalkNodes(item, baseLevel);
    std::vector<ParsedNode> nodes;
    std::vector<int> numbers;
    for (const WalkedNode& node : walked) {
        nodes.push_back(ParseNodeText(ItemBytes(node.item)));
        if (nodes.back().number > 0)
            numbers.push_back(nodes.back().number);
    }
    const DrawingRows drawings = ReadDrawingRows(context_.db, logic_->tables().drawing, numbers);

    SG1->SetRowCount(2 + static_cast<int>(walked.size()));
    for (size_t i = 0; i < walked.size(); ++i) {
        const int row = 2 + static_cast<int>(i);
        ListRow cells{};
        if (const auto found = drawings.find(nodes[i].number);
            nodes[i].number > 0 && found != drawings.end())
            cells = DrawingListCells(found->second);
        cells[0] = std::to_string(nodes[i].number);
        cells[1] = IndentedName(nodes[i].name, walked[i].depth, baseLevel);
        for (int c = 0; c < kListColumns; ++c)
            SG1->SetCell(c, row, text::FromCp932(cells[c]));
    }
    SG1->setUpdatesEnabled(true);
}

void TForm10::SG1DblClick()
{
    const int row = SG1->Row();
    if (row <= 1 || row >= SG1->RowCount())
        return;
    const QString path = SG1->Cell(3, row) + SG1->Cell(2, row);
    if (path.isEmpty())
        context_.ports.Inform(this, Utf8(texts::kListNoPathOrFile));
    else if (QFileInfo(path).isFile())
        context_.ports.OpenWithAssociatedProgram(path);
    else
        context_.ports.Inform(this, Utf8(texts::kListFileMissing));
}

void TForm10::BuildDrawingChart(QTreeWidgetItem* item)
{
    if (!logic_)
        return;
    storage::Row project(storage::kProjectColumns);
    context_.db.SelectColumns("*", "ZPROJECT", "N=" + std::to_string(projectNo_), project);
    Chart1->Clear();
    Chart1->SetRowAxis(kChartRowMinimum, ChartRowAxisMaximum(Chart1->height()));

    const QString projectName = text::FromCp932(project[3]);
    const storage::ProjectSpans spans = storage::ProjectSpansOf(project);
    for (const storage::ChartSpan& span : spans.spans)
        Chart1->AddBar({span.start, span.end, 0, projectName, QColor::fromRgb(span.rgb)});
    Chart1->SetDateLabelStepDays(1);
    int row = spans.spans.empty() ? 0 : 1;

    int baseLevel = 1;
    const std::vector<WalkedNode> walked = WalkNodes(item, baseLevel);
    std::vector<ParsedNode> nodes;
    std::vector<int> numbers;
    for (const WalkedNode& node : walked) {
        ParsedNode parsed = ParseNodeText(ItemBytes(node.item));
        if (parsed.number > 0) {
            numbers.push_back(parsed.number);
            nodes.push_back(std::move(parsed));
        }
    }
    const DrawingRows drawings = ReadDrawingRows(context_.db, logic_->tables().drawing, numbers);
    for (const ParsedNode& node : nodes) {
        const auto found = drawings.find(node.number);
        if (found == drawings.end())
            continue;
        const std::vector<DrawingBar> bars = DrawingBarsOf(found->second);
        const QString label = text::FromCp932(node.name);
        for (const DrawingBar& bar : bars)
            Chart1->AddBar(
                {bar.start, bar.end, static_cast<double>(row), label, QColor::fromRgb(bar.rgb)});
        if (!bars.empty())
            ++row;
    }
}

void TForm10::Chart1Resize()
{
    // Keeps the rows scrolled to, with as many rows below as the height holds.
    const double top = Chart1->RowMinimum();
    Chart1->SetRowAxis(top, top - kChartRowMinimum + ChartRowAxisMaximum(Chart1->height()));
}

}  // namespace drawings
