#include "drawings/drawing_info_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "drawings/detail_texts.h"
#include "drawings/drawing_info_logic.h"
#include "drawings/drawing_info_texts.h"
#include "drawings/project_detail_logic.h"
#include "drawings/revision_history_dialog.h"
#include "drawings/revision_history_logic.h"
#include "preview/thumbnail_loader.h"
#include "preview/thumbnail_view.h"
#include "text/cp932.h"
#include "widgets/byte_line_edit.h"
#include "widgets/named.h"

namespace drawings {

using text::Utf8;

namespace texts = detail_texts;

namespace {

using widgets::Named;

const QColor kGrey(0xDB, 0xDB, 0xDB);
const QSize kThumbnailSize(256, 181);  // an A sheet's proportions
const QSize kSmallestThumbnail(64, 45);

// Eight digits stay readable whole however narrow the window is made.
void KeepDateReadable(QLineEdit* date)
{
    const QMargins inner = date->textMargins() + date->contentsMargins();
    const int frame = date->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, date);
    date->setMinimumWidth(date->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) +
                          inner.left() + inner.right() + 2 * frame + 4);
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

}  // namespace

DrawingInfoPage::DrawingInfoPage(widgets::ScreenContext context, TForm12* revisionDialog,
                                 QWidget* parent)
    : QWidget(parent), context_(context), revisionDialog_(revisionDialog)
{
    setObjectName(QStringLiteral("InformationPage"));
    BuildControls();
    LayOut();
    Connect();
}

void DrawingInfoPage::BuildControls()
{
    for (int i = 0; i < 20; ++i)
        labels_[i] = Named(new QLabel(this), QStringLiteral("Label%1").arg(i + 1));
    for (int i = 0; i < 16; ++i)
        edits_[i] = Named(new widgets::ByteLineEdit(this), QStringLiteral("Edit%1").arg(i + 1));
    for (int i = 0; i < 5; ++i) {
        combos_[i] = Named(new QComboBox(this), QStringLiteral("ComboBox%1").arg(i + 1));
        combos_[i]->setEditable(false);
        combos_[i]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combos_[i]->setMinimumContentsLength(12);
        widgets::SwitchOffInputMethod(combos_[i]);
    }
    for (int i = 0; i < 9; ++i)
        buttons_[i] = Named(new QPushButton(this), QStringLiteral("Button%1").arg(i + 1));
    Memo1 = Named(new QPlainTextEdit(this), QStringLiteral("Memo1"));
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
    for (int i = 10; i < 16; ++i)
        KeepDateReadable(edits_[i]);
    SetEditable(edits_[0], false);
    SetEditable(edits_[1], false);

    Image1 = Named(new preview::ThumbnailView(kThumbnailSize, this), QStringLiteral("Image1"));
    // Its place stays when it hides, so the fields neither jump nor are laid
    // out again from one node to the next.
    QSizePolicy keep = Image1->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Image1->setSizePolicy(keep);
    Image1->hide();
    thumbnails_ = new preview::ThumbnailLoader(kThumbnailSize, this);
}

void DrawingInfoPage::LayOut()
{
    outer_ = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    outer_->addLayout(grid, 1);
    grid_ = grid;
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
    PlaceThumbnail(false);
}

void DrawingInfoPage::Connect()
{
    void (DrawingInfoPage::*const handlers[])() = {
        &DrawingInfoPage::Button1Click, &DrawingInfoPage::Button2Click,
        &DrawingInfoPage::Button3Click, &DrawingInfoPage::Button4Click,
        &DrawingInfoPage::Button5Click, &DrawingInfoPage::Button6Click,
        &DrawingInfoPage::Button7Click, &DrawingInfoPage::Button8Click,
        &DrawingInfoPage::Button9Click};
    for (int i = 0; i < 9; ++i)
        connect(buttons_[i], &QPushButton::clicked, this, handlers[i]);
    for (int box = 11; box <= 16; ++box)
        connect(edits_[box - 1], &widgets::ByteLineEdit::doubleClicked, this,
                [this, box] { Edit11DblClick(box); });
    connect(Image1, &preview::ThumbnailView::clicked, this, &DrawingInfoPage::Image1Click);
    connect(thumbnails_, &preview::ThumbnailLoader::Ready, this,
            [this](const QString& path, const QImage& image) {
                if (path != thumbnailPath_)
                    return;
                thumbnail_ = image;
                FitThumbnail();
            });
}

void DrawingInfoPage::Open(ProjectDetailLogic* logic)
{
    logic_ = logic;
}

void DrawingInfoPage::SetMemberItems(std::vector<std::string> items)
{
    memberItems_ = std::move(items);
    QStringList members;
    for (const std::string& item : memberItems_)
        members << text::FromCp932(item);
    for (QComboBox* combo : combos_) {
        combo->clear();
        combo->addItems(members);
        combo->setCurrentIndex(0);
    }
}

void DrawingInfoPage::SetDrawingControlsVisible(bool visible)
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

void DrawingInfoPage::ShowNode(int number, const std::string& name)
{
    if (!logic_)
        return;
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
    // A value wider than its field shows its beginning, not the end where
    // setting it leaves the cursor.
    for (QLineEdit* edit : edits_)
        edit->setCursorPosition(0);
    ShowThumbnail();
    edits_[0]->setFocus();
}

void DrawingInfoPage::ShowThumbnail()
{
    const DrawingPage page = PageInput();
    const bool file = page.NodeNumber() != 0 && !page.Edit(3).empty();
    thumbnailPath_ = file ? DrawingFilePath(page) : QString();
    Image1->setVisible(file);
    if (!file) {
        thumbnails_->Cancel();
        return;
    }
    thumbnail_ = QImage();
    Image1->ShowPending();
    thumbnails_->Request(thumbnailPath_);
}

void DrawingInfoPage::PlaceThumbnail(bool onTop)
{
    if (onTop_ == onTop && Image1->parentWidget() && (onTop || grid_->indexOf(Image1) >= 0))
        return;
    onTop_ = onTop;
    grid_->removeWidget(Image1);
    outer_->removeWidget(Image1);
    if (onTop)
        outer_->insertWidget(0, Image1, 0, Qt::AlignTop | Qt::AlignLeft);
    else
        grid_->addWidget(Image1, 0, 6, 10, 1, Qt::AlignTop | Qt::AlignLeft);
}

// Beside the fields when the view is wide enough for both, otherwise above
// them and made smaller to fit: the whole thumbnail shows without scrolling.
void DrawingInfoPage::FitThumbnail()
{
    const QWidget* view = parentWidget();
    if (!view)
        return;
    const QMargins margins = outer_->contentsMargins();
    const int frame = 2 * Image1->frameWidth();
    const int fields = grid_->minimumSize().width() -
                       (onTop_ ? 0 : kThumbnailSize.width() + frame + grid_->horizontalSpacing());
    const int room = view->width() - margins.left() - margins.right();
    const bool onTop = room < fields + grid_->horizontalSpacing() + kThumbnailSize.width() + frame;
    QSize size = kThumbnailSize;
    if (onTop)
        size = kThumbnailSize
                   .scaled(QSize(room - frame,
                                 view->height() - margins.top() - margins.bottom() - frame)
                               .expandedTo(kSmallestThumbnail),
                           Qt::KeepAspectRatio)
                   .boundedTo(kThumbnailSize);  // never blown up past what was drawn
    Image1->setFixedSize(size + QSize(frame, frame));
    PlaceThumbnail(onTop);
    if (!thumbnail_.isNull())
        Image1->ShowImage(
            size == kThumbnailSize || thumbnail_.size() == size
                ? thumbnail_
                : thumbnail_.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

bool DrawingInfoPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        FitThumbnail();
    return QWidget::eventFilter(watched, event);
}

bool DrawingInfoPage::event(QEvent* event)
{
    // The view it is shown in tells its size; the page may be wider.
    if (event->type() == QEvent::ParentChange && parentWidget())
        parentWidget()->installEventFilter(this);
    return QWidget::event(event);
}

void DrawingInfoPage::Image1Click()
{
    if (context_.opener && !thumbnailPath_.isEmpty())
        context_.opener->OpenPreview(thumbnailPath_);
}

void DrawingInfoPage::ShowName(const std::string& name)
{
    edits_[1]->setBytes(name);
}

DrawingPage DrawingInfoPage::PageInput() const
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
void DrawingInfoPage::Apply(const PageOutcome& outcome)
{
    for (const TextChange& change : outcome.texts)
        if (auto* edit = findChild<widgets::ByteLineEdit*>(change.control))
            edit->setBytes(change.text);
    for (const SelectionChange& change : outcome.selections)
        if (auto* combo = findChild<QComboBox*>(change.control))
            combo->setCurrentIndex(change.index);
    if (!outcome.message.isEmpty())
        context_.ports.Inform(this, outcome.message);
    if (!outcome.focus.isEmpty())
        if (auto* control = findChild<QWidget*>(outcome.focus))
            control->setFocus();
}

void DrawingInfoPage::ShowRevisionLines(const std::vector<std::string>& lines)
{
    QStringList shown;
    for (const std::string& line : lines)
        shown << text::FromCp932(line);
    Memo1->setPlainText(shown.join(QLatin1Char('\n')));
}

void DrawingInfoPage::Button1Click()
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
    ShowThumbnail();
}

void DrawingInfoPage::Button2Click()
{
    const PageOutcome outcome = OpenDrawingFile(PageInput());
    Apply(outcome);
    if (!outcome.fileToOpen.isEmpty())
        context_.ports.OpenWithAssociatedProgram(outcome.fileToOpen);
}

void DrawingInfoPage::Button3Click()
{
    Apply(TakeHeaderText(PageInput()));
}

void DrawingInfoPage::Button4Click()
{
    Apply(StampPage(PageInput(), Stamp::Check, context_.globals.settings, context_.ports.Today()));
}

void DrawingInfoPage::Button5Click()
{
    Apply(
        StampPage(PageInput(), Stamp::Approval, context_.globals.settings, context_.ports.Today()));
}

void DrawingInfoPage::Button6Click()
{
    Apply(StampPage(PageInput(), Stamp::Issue, context_.globals.settings, context_.ports.Today()));
}

void DrawingInfoPage::Button7Click()
{
    if (!logic_)
        return;
    Apply(DrawingInfoLogic(context_.db, logic_->projectNo()).TakeLatestRevision(PageInput()));
}

void DrawingInfoPage::Button8Click()
{
    if (!logic_ || !revisionDialog_)
        return;
    const int node = PageInput().NodeNumber();
    revisionDialog_->ProjectNo = logic_->projectNo();
    revisionDialog_->DrawingNo = node;
    revisionDialog_->exec();
    ShowRevisionLines(DrawingInfoLogic(context_.db, logic_->projectNo()).RevisionLines(node));
}

void DrawingInfoPage::Button9Click()
{
    const DrawingPage page = PageInput();
    if (!logic_ || !DrawingInfoLogic::CanSave(page))
        return;
    // The blanks of a page that could not be read would overwrite the record.
    if (!pageRead_) {
        context_.ports.Inform(this, Utf8(drawing_info_texts::kSaveFailed));
        return;
    }
    Apply(DrawingInfoLogic(context_.db, logic_->projectNo()).Save(page));
}

void DrawingInfoPage::Edit11DblClick(int box)
{
    if (box < 11 || box > 16)
        return;
    edits_[box - 1]->setBytes(DateString(context_.ports.Today()));
}

}  // namespace drawings
