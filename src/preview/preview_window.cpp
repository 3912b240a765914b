#include "preview/preview_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGraphicsItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QStyleOptionGraphicsItem>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cmath>

#include "preview/preview_texts.h"
#include "preview/thumbnail_loader.h"
#include "text/cp932.h"
#include "widgets/print_preview.h"

namespace preview {

using text::Utf8;

namespace {

constexpr QSize kViewerPicture(2400, 2400);  // PDF pages and images, at most
constexpr QSize kNoteSize(1190, 842);        // texts and files that only have a note
constexpr double kWheelStep = 1.0015;        // per eighth of a degree
constexpr double kMostZoom = 2000;           // relative to the whole view
QSize lastSize(900, 650);                    // windows open as the last one closed
// The papers a sheet can be fitted onto, after its own.
constexpr std::array<QPageSize::PageSizeId, 4> kFitPapers{QPageSize::A4, QPageSize::A3,
                                                          QPageSize::A2, QPageSize::A1};

// A drawing in sheet millimetres, y turned to the scene's downward axis.
class DrawingItem : public QGraphicsItem {
public:
    DrawingItem(std::shared_ptr<const Drawing> drawing, const RenderOptions& options, QRectF extent)
        : drawing_(std::move(drawing)), options_(options), extent_(extent)
    {
        setFlag(QGraphicsItem::ItemUsesExtendedStyleOption);
    }

    QRectF boundingRect() const override
    {
        return QRectF(extent_.left(), -extent_.bottom(), extent_.width(), extent_.height());
    }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*) override
    {
        painter->fillRect(boundingRect(), QColor::fromRgb(drawing_->background));
        const QTransform toDevice = QTransform::fromScale(1, -1) * painter->worldTransform();
        const QRectF visible = painter->worldTransform().mapRect(option->exposedRect);
        RenderDrawing(*painter, *drawing_, toDevice, visible, options_);
    }

private:
    std::shared_ptr<const Drawing> drawing_;
    const RenderOptions& options_;
    QRectF extent_;
};

QString GroupName(int group)
{
    return QString::number(group, 16).toUpper();
}

}  // namespace

void PreviewView::Fit(const QRectF& area)
{
    if (area.isEmpty())
        return;
    fitInView(area, Qt::KeepAspectRatio);
}

void PreviewView::wheelEvent(QWheelEvent* event)
{
    const double factor = std::pow(kWheelStep, event->angleDelta().y());
    const double fitted = std::min(viewport()->width() / std::max(sceneRect().width(), 1e-9),
                                   viewport()->height() / std::max(sceneRect().height(), 1e-9));
    const double next = zoom() * factor;
    if (next < fitted / 4 || next > fitted * kMostZoom)
        return;
    // The point under the pointer stays where it is.
    const QPointF before = mapToScene(event->position().toPoint());
    setTransformationAnchor(QGraphicsView::NoAnchor);
    scale(factor, factor);
    const QPointF after = mapToScene(event->position().toPoint());
    translate(after.x() - before.x(), after.y() - before.y());
    event->accept();
}

void PreviewView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Home) {
        emit homePressed();
        return;
    }
    QGraphicsView::keyPressEvent(event);
}

struct PreviewWindow::Loading {
    std::atomic<bool> cancelled{false};
};

PreviewWindow::PreviewWindow(QString path, QWidget* parent)
    : widgets::ChildForm(parent), path_(std::move(path))
{
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(Utf8(texts::kViewerCaption) + QFileInfo(path_).fileName());
    scene_ = new QGraphicsScene(this);
    view_ = new PreviewView(scene_, this);
    view_->setObjectName(QStringLiteral("View1"));
    view_->setDragMode(QGraphicsView::ScrollHandDrag);
    view_->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    view_->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    view_->setBackgroundBrush(QColor(0x80, 0x80, 0x80));
    fit_ = new QPushButton(Utf8(texts::kFit), this);
    fit_->setObjectName(QStringLiteral("ButtonFit"));
    print_ = new QPushButton(Utf8(texts::kPrint), this);
    print_->setObjectName(QStringLiteral("ButtonPrint"));
    print_->setEnabled(false);
    savePdf_ = new QPushButton(Utf8(texts::kSavePdf), this);
    savePdf_->setObjectName(QStringLiteral("ButtonPdf"));
    savePdf_->setEnabled(false);
    paper_ = new QComboBox(this);
    paper_->setObjectName(QStringLiteral("ComboPaper"));
    paper_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    paper_->setEnabled(false);
    close_ = new QPushButton(Utf8(texts::kClose), this);
    close_->setObjectName(QStringLiteral("ButtonC"));
    status_ = new QLabel(Utf8(texts::kLoading), this);
    status_->setObjectName(QStringLiteral("StatusLabel"));
    // A long message is cut, never widening the window.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    groupsLabel_ = new QLabel(Utf8(texts::kLayerGroups), this);
    scale_ = new QLabel(this);
    scale_->setObjectName(QStringLiteral("ScaleLabel"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(fit_);
    bar->addWidget(print_);
    bar->addWidget(savePdf_);
    bar->addWidget(new QLabel(Utf8(texts::kPaperLabel), this));
    bar->addWidget(paper_);
    bar->addSpacing(12);
    bar->addWidget(status_, 1);
    bar->addWidget(close_);
    // The layer groups on a row of their own, shown only where the file has them.
    auto* groupBar = new QHBoxLayout;
    groupBar->addWidget(groupsLabel_);
    for (int g = 0; g < 16; ++g) {
        groups_[g] = new QToolButton(this);
        groups_[g]->setObjectName(QStringLiteral("LayerGroup%1").arg(g));
        groups_[g]->setText(GroupName(g));
        groups_[g]->setCheckable(true);
        groups_[g]->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("MM")) + 6);
        groupBar->addWidget(groups_[g]);
        connect(groups_[g], &QToolButton::toggled, this,
                [this, g](bool shown) { ToggleLayerGroup(g, shown); });
    }
    groupBar->addSpacing(12);
    groupBar->addWidget(scale_);
    groupBar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addLayout(groupBar);
    layout->addWidget(view_, 1);
    groupsLabel_->hide();
    scale_->hide();
    for (QToolButton* button : groups_)
        button->hide();

    connect(fit_, &QPushButton::clicked, this, &PreviewWindow::FitClick);
    connect(view_, &PreviewView::homePressed, this, &PreviewWindow::FitClick);
    connect(print_, &QPushButton::clicked, this, &PreviewWindow::PrintClick);
    connect(savePdf_, &QPushButton::clicked, this, &PreviewWindow::SavePdfClick);
    connect(close_, &QPushButton::clicked, this, [this] { widgets::FrameOf(this)->close(); });
    // Only while the viewer has the focus: the other child windows of the frame
    // take Esc for themselves.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, close_, &QPushButton::click);
}

PreviewWindow::~PreviewWindow()
{
    if (loading_)
        loading_->cancelled = true;
}

void PreviewWindow::FormShow()
{
    widgets::FrameOf(this)->resize(lastSize);
    loading_ = std::make_shared<Loading>();
    auto* watcher = new QFutureWatcher<PreviewDocument>(this);
    connect(watcher, &QFutureWatcher<PreviewDocument>::finished, this,
            [this, watcher, job = loading_] {
                watcher->deleteLater();
                if (!job->cancelled)
                    Show(watcher->result());
            });
    watcher->setFuture(QtConcurrent::run(&PreviewThreads(), [job = loading_, path = path_] {
        LoadOptions options;
        options.pictureSize = kViewerPicture;
        options.cancel = &job->cancelled;
        return LoadPreview(path, options);
    }));
    view_->setFocus();
}

void PreviewWindow::FormClose()
{
    if (loading_)
        loading_->cancelled = true;
    lastSize = widgets::FrameOf(this)->size();
}

void PreviewWindow::Show(PreviewDocument document)
{
    document_ = std::make_unique<PreviewDocument>(std::move(document));
    scene_->clear();
    status_->setText(document_->problem);
    if (document_->kind == PreviewDocument::Kind::Drawing) {
        const Drawing& drawing = *document_->drawing;
        options_ = DefaultRenderOptions(drawing);
        extent_ = DrawingExtent(drawing);
        auto* item = new DrawingItem(document_->drawing, options_, extent_);
        scene_->addItem(item);
        extent_ = item->boundingRect();
        // Layer groups mean something only where the file has them.
        const bool grouped = drawing.version > 0;
        groupsLabel_->setVisible(grouped);
        scale_->setVisible(grouped);
        scale_->setText(
            Utf8(texts::kScale)
                .arg(QString::number(drawing.groups[drawing.MainGroup()].scale, 'g', 6)));
        for (int g = 0; g < 16; ++g) {
            groups_[g]->setVisible(grouped);
            const QSignalBlocker quiet(groups_[g]);
            groups_[g]->setChecked(options_.groupsShown[g]);
            groups_[g]->setToolTip(
                Utf8(texts::kLayerGroupTip).arg(GroupName(g), drawing.groups[g].name));
        }
    } else {
        QImage picture = document_->picture;
        if (document_->kind != PreviewDocument::Kind::Picture) {
            picture = QImage(kNoteSize, QImage::Format_ARGB32_Premultiplied);
            QPainter painter(&picture);
            PaintPreview(painter, *document_, QRectF(QPointF(0, 0), QSizeF(kNoteSize)));
        }
        auto* item = scene_->addPixmap(QPixmap::fromImage(picture));
        item->setTransformationMode(Qt::SmoothTransformation);
        extent_ = item->boundingRect();
    }
    scene_->setSceneRect(extent_);
    print_->setEnabled(true);
    savePdf_->setEnabled(true);
    FillPapers();
    FitClick();
    emit loaded();
}

void PreviewWindow::FitClick()
{
    view_->Fit(extent_);
}

void PreviewWindow::ToggleLayerGroup(int group, bool shown)
{
    if (group < 0 || group >= 16)
        return;
    options_.groupsShown[group] = shown;
    scene_->update();
}

SheetPages PreviewWindow::Sheets() const
{
    return document_ ? SheetPages::FromDocument(*document_, path_) : SheetPages();
}

std::optional<SheetPages> PreviewWindow::PrintableSheets()
{
    if (!document_)
        return std::nullopt;
    SheetPages sheets = Sheets();
    if (!sheets.printable()) {
        status_->setText(sheets.problem());
        return std::nullopt;
    }
    return sheets;
}

PaperChoice PreviewWindow::Paper() const
{
    const int id = paper_->currentData().toInt();
    if (id < 0)
        return {};
    return {QPageSize(static_cast<QPageSize::PageSizeId>(id))};
}

namespace {

QString PlacementOf(const PagePlacement& placement)
{
    const QString paper = PaperName(placement.layout.fullRect(QPageLayout::Millimeter).size());
    if (placement.atScale)
        return Utf8(texts::kAtScale).arg(paper);
    return Utf8(texts::kFitted).arg(paper).arg(qRound(placement.scale * 100));
}

}  // namespace

QString PreviewWindow::PlacementText() const
{
    const SheetPages sheets = Sheets();
    return sheets.printable() ? PlacementOf(sheets.Place(0, Paper())) : QString();
}

// The page's own paper at scale first, then each smaller paper it can be fitted onto.
void PreviewWindow::FillPapers()
{
    const QSignalBlocker quiet(paper_);
    paper_->clear();
    const SheetPages sheets = Sheets();
    paper_->setEnabled(sheets.printable());
    if (!sheets.printable())
        return;
    paper_->addItem(PlacementOf(sheets.Place(0, {})), -1);
    for (const QPageSize::PageSizeId id : kFitPapers) {
        const PagePlacement fitted = sheets.Place(0, {QPageSize(id)});
        if (!fitted.atScale)
            paper_->addItem(PlacementOf(fitted), static_cast<int>(id));
    }
}

void PreviewWindow::PaintPage(QPagedPaintDevice& device) const
{
    const SheetPages sheets = Sheets();
    if (!sheets.printable())
        return;
    QPainter painter(&device);
    sheets.PaintOnDevice(painter, device, 0, &options_);
}

void PreviewWindow::PrintClick()
{
    const std::optional<SheetPages> printable = PrintableSheets();
    if (!printable)
        return;
    const SheetPages& sheets = *printable;
    const PaperChoice paper = Paper();
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(sheets.Place(0, paper).layout);
    printer.setDocName(QFileInfo(path_).fileName());
    widgets::RunPrintPreview(
        this, printer,
        [this, &sheets, &paper](QPrinter& target) { sheets.PrintAll(target, paper, &options_); },
        windowTitle() + QStringLiteral(" - ") + PlacementText());
}

void PreviewWindow::SavePdfClick()
{
    const std::optional<SheetPages> printable = PrintableSheets();
    if (!printable)
        return;
    const SheetPages& sheets = *printable;
    const QFileInfo source(path_);
    widgets::SaveRequest request;
    request.caption = Utf8(texts::kSavePdfCaption);
    request.folder = source.absolutePath();
    request.fileName = source.completeBaseName() + QStringLiteral(".pdf");
    request.filters = QStringList{Utf8(texts::kPdfFilter)};
    QString path = chooseSaveFile(this, request).path;
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    QSaveFile out(path);
    const bool saved = out.open(QIODevice::WriteOnly) &&
                       WriteSheetPdf(sheets, out, Paper(), source.fileName()) && out.commit();
    status_->setText(Utf8(saved ? texts::kSaved : texts::kSaveFailed) +
                     QDir::toNativeSeparators(path));
    status_->setToolTip(status_->text());
}

}  // namespace preview
