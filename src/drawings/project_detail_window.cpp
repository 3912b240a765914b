#include "drawings/project_detail_window.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <utility>

#include "drawings/detail_texts.h"
#include "drawings/drawing_info_logic.h"
#include "drawings/file_registration.h"
#include "drawings/name_dialog.h"
#include "drawings/name_tree_view.h"
#include "drawings/node_text.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "widgets/named.h"

namespace drawings {

using text::Utf8;

namespace texts = detail_texts;

namespace {

using widgets::Named;

constexpr int kTreeIndent = 19;
constexpr int kInformationPage = 0;
constexpr int kListPage = 1;
// Fewer files take less than a blink: no progress box, and no events are
// handled while they are stored.
constexpr int kProgressFromFiles = 10;

}  // namespace

TForm10::TForm10(widgets::ScreenContext context, TForm11* nameDialog, TForm12* revisionDialog,
                 QWidget* parent)
    : ChildForm(parent), context_(context), nameDialog_(nameDialog)
{
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(Utf8(texts::kCaption));
    infoPage_ = new DrawingInfoPage(context_, revisionDialog);
    listPage_ = new DrawingListPage(context_);
    chartPage_ = new DrawingChartPage(context_);
    BuildControls();

    connect(TreeView1, &QTreeWidget::itemClicked, this, &TForm10::TreeView1Click);
    // A key shows the node as a click does, but the focus stays in the tree
    // for the next key.
    connect(TreeView1, &NameTreeView::currentChangedByKey, this, [this] {
        TreeView1Click();
        TreeView1->setFocus(Qt::OtherFocusReason);
    });
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm10::TreeView1Click);
    connect(ButtonC, &QPushButton::clicked, this, &TForm10::ButtonCClick);
    connect(ButtonM1, &QPushButton::clicked, this, &TForm10::ButtonM1Click);
    connect(ButtonM2, &QPushButton::clicked, this, &TForm10::ButtonM2Click);
    connect(ButtonM3, &QPushButton::clicked, this, &TForm10::ButtonM3Click);
    connect(ButtonM4, &QPushButton::clicked, this, &TForm10::ButtonM4Click);
    connect(ButtonM5, &QPushButton::clicked, this, &TForm10::ButtonM5Click);
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TreeView1, &QWidget::customContextMenuRequested, this, &TForm10::TreeView1ContextPopup);
}

TForm10::~TForm10() = default;

void TForm10::BuildControls()
{
    TreeView1 = Named(new NameTreeView, QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(kTreeIndent);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setUniformRowHeights(true);

    PageControl1 = Named(new QTabWidget, QStringLiteral("PageControl1"));
    TabSheet1 = Named(new QWidget, QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, Utf8(texts::kTabSheet1));
    PageControl1->addTab(listPage_, Utf8(texts::kTabSheet2));
    PageControl1->addTab(chartPage_, Utf8(texts::kTabSheet3));

    ScrollBox1 = Named(new QScrollArea(TabSheet1), QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setWidget(infoPage_);
    auto* page1 = new QVBoxLayout(TabSheet1);
    page1->setContentsMargins(0, 0, 0, 0);
    page1->addWidget(ScrollBox1);

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
    const int openOnNode = std::exchange(context_.globals.CurrentNodeNo, 0);
    logic_ = std::make_unique<ProjectDetailLogic>(context_.db, projectNo_);
    const storage::Settings& s = context_.globals.settings;
    ResizeFrame({s.DetailWidth, s.DetailHeight});
    Splitter1->setSizes({s.DetailTreeWidth, std::max(1, s.DetailWidth - s.DetailTreeWidth)});

    logic_->Open();
    infoPage_->Open(logic_.get());
    listPage_->Prepare();

    PageControl1->blockSignals(true);  // the rebuild below shows the page once
    PageControl1->setCurrentIndex(kInformationPage);
    PageControl1->blockSignals(false);
    ButtonM5Click();
    if (openOnNode > 0)
        ShowNode(openOnNode);
}

// A window opened on a drawing (from a search) shows it selected, its branch
// open, on the information page.
void TForm10::ShowNode(int number)
{
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it) {
        if (NodeNumberOf(ItemBytes(*it)) != number)
            continue;
        TreeView1->setCurrentItem(*it);
        TreeView1->scrollToItem(*it);
        TreeView1Click();
        return;
    }
}

void TForm10::FormClose()
{
    if (closed_ || !WasShown())
        return;
    closed_ = true;
    storage::Settings& s = context_.globals.settings;
    const QSize frame = StoredFrameSize();
    s.DetailWidth = frame.width();
    s.DetailHeight = frame.height();
    s.DetailTreeWidth = TreeView1->width();
    listPage_->StoreColumnWidths();
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

    infoPage_->SetMemberItems(logic_->LoadMemberItems());

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
            infoPage_->ShowNode(node.number, node.name);
            break;
        case kListPage:
            if (logic_)
                listPage_->Fill(*logic_, WalkSelectedBranch(item));
            break;
        default:
            if (logic_)
                chartPage_->Build(*logic_, WalkSelectedBranch(item));
            break;
    }
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
    infoPage_->ShowName(name);
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

BranchWalk TForm10::WalkSelectedBranch(QTreeWidgetItem* item)
{
    context_.ports.ResetEscape();
    return WalkBranch(item, [this] { return context_.ports.EscapePressed(); });
}

// The project node's menu holds the project's issue register; every node's
// menu the issue set of its branch.
void TForm10::TreeView1ContextPopup(const QPoint& position)
{
    QTreeWidgetItem* item = TreeView1->itemAt(position);
    if (!context_.listOutput || !item)
        return;
    QMenu menu(TreeView1);
    QAction* issueRegister =
        item == ProjectItem() ? menu.addAction(Utf8(texts::kIssueRegisterItem)) : nullptr;
    QAction* issueSet = menu.addAction(Utf8(texts::kIssueSetItem));
    QAction* chosen = menu.exec(TreeView1->viewport()->mapToGlobal(position));
    if (chosen && chosen == issueRegister)
        IssueRegisterClick();
    else if (chosen && chosen == issueSet)
        IssueSetClick(item);
}

void TForm10::IssueRegisterClick()
{
    if (context_.listOutput && logic_)
        context_.listOutput->IssueRegister(this, projectNo_);
}

void TForm10::IssueSetClick(QTreeWidgetItem* item)
{
    if (!context_.listOutput || !logic_ || !item)
        return;
    const int node = item == ProjectItem() ? 0 : NodeNumberOf(ItemBytes(item));
    context_.listOutput->IssueSet(this, projectNo_, node);
}

}  // namespace drawings
