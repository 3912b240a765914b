#include "preview/sheet_pages.h"

#include <poppler-qt6.h>

#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>

#include "preview/file_access.h"
#include "preview/preview_texts.h"
#include "text/cp932.h"

namespace preview {

namespace {

constexpr double kTolerance = 0.5;     // mm a paper may be short of a sheet and still hold it
constexpr double kPictureMargin = 10;  // mm around a fitted image
constexpr qint64 kPdfBytes = 64 << 20;
// The long side of an image as printed: A4 at 300 dpi.
constexpr int kPicturePixels = 3508;
// Fine enough for the renderer's thinnest line (0.18 mm) and smallest text; a
// finer grid only makes the page's drawing longer to write and compress.
constexpr int kPdfDpi = 300;

// The A sheets, short side first.
constexpr std::array<QSizeF, 5> kASheets{QSizeF(210, 297), QSizeF(297, 420), QSizeF(420, 594),
                                         QSizeF(594, 841), QSizeF(841, 1189)};

QSizeF Oriented(QSizeF size, bool landscape)
{
    const double shorter = std::min(size.width(), size.height());
    const double longer = std::max(size.width(), size.height());
    return landscape ? QSizeF(longer, shorter) : QSizeF(shorter, longer);
}

bool Holds(const QSizeF& paper, const QSizeF& sheet)
{
    return paper.width() + kTolerance >= sheet.width() &&
           paper.height() + kTolerance >= sheet.height();
}

QPageLayout LayoutOf(const QSizeF& millimetres)
{
    const bool landscape = millimetres.width() > millimetres.height();
    return QPageLayout(QPageSize(Oriented(millimetres, false), QPageSize::Millimeter),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

// Sheet millimetres onto the page: the sheet's centre on the page's centre.
double FitScale(const QSizeF& paper, const QSizeF& sheet)
{
    if (Holds(paper, sheet) || sheet.isEmpty())
        return 1;
    return std::min(paper.width() / sheet.width(), paper.height() / sheet.height());
}

QSizeF PdfPageMillimetres(const Poppler::Document& pdf, int page)
{
    const std::unique_ptr<Poppler::Page> p(pdf.page(page));
    const QSizeF points = p ? p->pageSizeF() : QSizeF();
    return points * (25.4 / 72.0);
}

bool StartsAsPdf(const QString& path)
{
    const FileBytes head = ReadFileBytes(path, 5);
    return head.status == FileBytes::Status::Read && head.bytes.startsWith("%PDF-");
}

}  // namespace

QString PaperName(const QSizeF& millimetres)
{
    const QSizeF portrait = Oriented(millimetres, false);
    for (std::size_t i = 0; i < kASheets.size(); ++i)
        if (std::abs(portrait.width() - kASheets[i].width()) <= 1 &&
            std::abs(portrait.height() - kASheets[i].height()) <= 1)
            return QStringLiteral("A%1").arg(4 - static_cast<int>(i));
    return QStringLiteral("%1×%2 mm")
        .arg(qRound(millimetres.width()))
        .arg(qRound(millimetres.height()));
}

SheetPages::SheetPages() = default;
SheetPages::~SheetPages() = default;
SheetPages::SheetPages(SheetPages&&) noexcept = default;
SheetPages& SheetPages::operator=(SheetPages&&) noexcept = default;

SheetPages SheetPages::Load(const QString& path, const std::atomic<bool>* cancel)
{
    // A PDF goes to Poppler whole, without a picture of its first page first.
    if (StartsAsPdf(path)) {
        PreviewDocument pdf;
        pdf.kind = PreviewDocument::Kind::Picture;
        pdf.fileName = QFileInfo(path).fileName();
        return FromDocument(pdf, path);
    }
    LoadOptions options;
    options.pictureSize = QSize(kPicturePixels, kPicturePixels);
    options.cancel = cancel;
    return FromDocument(LoadPreview(path, options), path);
}

SheetPages SheetPages::FromDocument(const PreviewDocument& document, const QString& path)
{
    SheetPages pages;
    pages.fileName_ = document.fileName;
    pages.problem_ = document.problem;
    if (document.kind == PreviewDocument::Kind::Drawing) {
        pages.drawing_ = document.drawing;
        pages.kind_ = DrawingExtent(*document.drawing).isEmpty() ? Kind::None : Kind::Drawing;
        if (pages.kind_ == Kind::None)
            pages.problem_ = text::Utf8(texts::kNothingDrawn);
        return pages;
    }
    if (document.kind != PreviewDocument::Kind::Picture) {
        if (pages.problem_.isEmpty())
            pages.problem_ = text::Utf8(texts::kNotPrintable);
        return pages;
    }
    // A picture is either a PDF's first page or an image; a PDF prints whole.
    FileBytes file = StartsAsPdf(path) ? ReadFileBytes(path, kPdfBytes) : FileBytes();
    if (file.status == FileBytes::Status::Read && !file.truncated) {
        pages.pdfBytes_ = std::move(file.bytes);
        pages.pdf_ = Poppler::Document::loadFromData(pages.pdfBytes_);
        if (pages.pdf_ && !pages.pdf_->isLocked() && pages.pdf_->numPages() > 0) {
            pages.pdf_->setRenderBackend(Poppler::Document::QPainterBackend);
            pages.pdf_->setRenderHint(Poppler::Document::Antialiasing);
            pages.pdf_->setRenderHint(Poppler::Document::TextAntialiasing);
            pages.kind_ = Kind::Pdf;
            return pages;
        }
        pages.pdf_.reset();
        pages.problem_ = text::Utf8(texts::kCannotShow);
        return pages;
    }
    pages.picture_ = document.picture;
    pages.kind_ = pages.picture_.isNull() ? Kind::None : Kind::Picture;
    return pages;
}

int SheetPages::pages() const
{
    switch (kind_) {
        case Kind::Drawing:
        case Kind::Picture:
            return 1;
        case Kind::Pdf:
            return pdf_->numPages();
        case Kind::None:
            break;
    }
    return 0;
}

QRectF SheetPages::SheetRect() const
{
    if (!drawing_->paper.isEmpty())
        return drawing_->paper;
    // The drawing names no sheet: the smallest A sheet it fits on, around it.
    const QRectF extent = DrawingExtent(*drawing_);
    const bool landscape = extent.width() >= extent.height();
    for (const QSizeF& sheet : kASheets) {
        const QSizeF size = Oriented(sheet, landscape);
        if (Holds(size, extent.size())) {
            QRectF rect(QPointF(), size);
            rect.moveCenter(extent.center());
            return rect;
        }
    }
    return extent;
}

QPageLayout SheetPages::OwnLayout(int page) const
{
    switch (kind_) {
        case Kind::Drawing: {
            const QSizeF sheet = SheetRect().size();
            // Larger than any A sheet: on A3, made smaller.
            if (!Holds(Oriented(kASheets.back(), sheet.width() >= sheet.height()), sheet))
                return LayoutOf(Oriented(kASheets[1], sheet.width() >= sheet.height()));
            return LayoutOf(sheet);
        }
        case Kind::Pdf:
            return LayoutOf(PdfPageMillimetres(*pdf_, page));
        case Kind::Picture:
        case Kind::None:
            break;
    }
    return LayoutOf(Oriented(kASheets[0], picture_.width() > picture_.height()));
}

PagePlacement SheetPages::Place(int page, const PaperChoice& choice) const
{
    PagePlacement placement;
    placement.layout = OwnLayout(page);
    const QSizeF own = kind_ == Kind::Drawing ? SheetRect().size()
                       : kind_ == Kind::Pdf   ? PdfPageMillimetres(*pdf_, page)
                                              : placement.layout.fullRect().size();
    QSizeF paper = placement.layout.fullRect(QPageLayout::Millimeter).size();
    if (choice.fitTo) {
        const QSizeF chosen =
            Oriented(choice.fitTo->size(QPageSize::Millimeter), paper.width() > paper.height());
        if (!Holds(chosen, paper)) {
            paper = chosen;
            placement.layout = LayoutOf(chosen);
        }
    }
    placement.scale = kind_ == Kind::Picture ? 1 : FitScale(paper, own);
    placement.atScale = placement.scale == 1;
    return placement;
}

void SheetPages::Paint(QPainter& painter, int page, const QSizeF& paperMm, const QRectF& pageRect,
                       double dotsPerMm, const RenderOptions* render) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    switch (kind_) {
        case Kind::Drawing: {
            const QRectF sheet = SheetRect();
            const double k = FitScale(paperMm, sheet.size()) * dotsPerMm;
            const QPointF centre = pageRect.center();
            const QTransform toDevice(k, 0, 0, -k, centre.x() - sheet.center().x() * k,
                                      centre.y() + sheet.center().y() * k);
            RenderOptions options = render ? *render : DefaultRenderOptions(*drawing_);
            options.forPrint = true;
            RenderDrawing(painter, *drawing_, toDevice, pageRect, options);
            break;
        }
        case Kind::Picture: {
            const double margin = kPictureMargin * dotsPerMm;
            const QRectF area = pageRect.adjusted(margin, margin, -margin, -margin);
            const QSizeF size = QSizeF(picture_.size()).scaled(area.size(), Qt::KeepAspectRatio);
            QRectF placed(QPointF(), size);
            placed.moveCenter(area.center());
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(placed, picture_);
            break;
        }
        case Kind::Pdf: {
            const QSizeF own = PdfPageMillimetres(*pdf_, page);
            const double k = FitScale(paperMm, own) * dotsPerMm;
            const std::unique_ptr<Poppler::Page> p(pdf_->page(page));
            if (!p)
                break;
            painter.setClipRect(pageRect);
            painter.translate(pageRect.center() - QPointF(own.width() * k, own.height() * k) / 2);
            p->renderToPainter(&painter, k * 25.4, k * 25.4);
            break;
        }
        case Kind::None:
            break;
    }
    painter.restore();
}

void SheetPages::PaintOnDevice(QPainter& painter, QPagedPaintDevice& device, int page,
                               const RenderOptions* render) const
{
    const QPageLayout layout = device.pageLayout();
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    const QSizeF paper = layout.fullRect(QPageLayout::Millimeter).size();
    const QRectF paint = layout.paintRect(QPageLayout::Millimeter);
    // The painter starts at the printable area's corner, not the paper's.
    const QRectF full(-paint.topLeft() * dotsPerMm, paper * dotsPerMm);
    Paint(painter, page, paper, full, dotsPerMm, render);
}

bool SheetPages::PrintAll(QPagedPaintDevice& device, const PaperChoice& choice,
                          const RenderOptions* render) const
{
    if (!printable())
        return false;
    device.setPageLayout(Place(0, choice).layout);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int page = 0; page < pages(); ++page) {
        if (page > 0) {
            device.setPageLayout(Place(page, choice).layout);
            if (!device.newPage())
                return false;
        }
        PaintOnDevice(painter, device, page, render);
    }
    return painter.end();
}

bool WriteSheetPdf(const SheetPages& pages, QIODevice& out, const PaperChoice& choice,
                   const QString& title)
{
    QPdfWriter writer(&out);
    writer.setResolution(kPdfDpi);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("k5x7"));
    return pages.PrintAll(writer, choice);
}

}  // namespace preview
