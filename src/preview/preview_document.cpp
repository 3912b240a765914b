#include "preview/preview_document.h"

#include <poppler-qt6.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImageReader>
#include <QLocale>
#include <QPainter>
#include <QStringDecoder>
#include <algorithm>
#include <string_view>

#include "preview/dxf_reader.h"
#include "preview/file_access.h"
#include "preview/jww_reader.h"
#include "preview/preview_texts.h"
#include "text/cp932.h"

namespace preview {

using text::Utf8;

namespace {

// What one file may cost in memory: its bytes, then what is made of them.
constexpr qint64 kDrawingBytes = 32 << 20;
constexpr qint64 kPictureBytes = 64 << 20;
constexpr qint64 kTextBytes = 64 << 10;
constexpr qint64 kSniffBytes = 16;
constexpr int kImageMegabytes = 128;
constexpr qint64 kLargestImagePixels = 32'000'000;
constexpr qint64 kLargestPagePixels = 16'000'000;
constexpr int kTextLines = 60;
constexpr qint64 kPdfSeconds = 20;

enum class Format { JwCad, OldJwCad, Dxf, Pdf, Image, Text, Other };

Format FormatOf(const QString& suffix)
{
    const QString s = suffix.toLower();
    if (s == u"jww" || s == u"jws" || s == u"jw$")
        return Format::JwCad;
    if (s == u"jwc")
        return Format::OldJwCad;
    if (s == u"dxf")
        return Format::Dxf;
    if (s == u"pdf")
        return Format::Pdf;
    if (s == u"txt" || s == u"text" || s == u"csv" || s == u"log" || s == u"ini")
        return Format::Text;
    if (QImageReader::supportedImageFormats().contains(s.toLatin1()) || s == u"jpg" || s == u"tif")
        return Format::Image;
    return Format::Other;
}

qint64 LimitOf(Format format)
{
    switch (format) {
        case Format::JwCad:
        case Format::Dxf:
            return kDrawingBytes;
        case Format::Pdf:
        case Format::Image:
            return kPictureBytes;
        case Format::Text:
            return kTextBytes;
        case Format::OldJwCad:
        case Format::Other:
            return kSniffBytes;
    }
    return kSniffBytes;
}

std::string_view View(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

void Fail(PreviewDocument& document, const char* why)
{
    document.kind = PreviewDocument::Kind::Other;
    document.problem = Utf8(why);
}

void TakeDrawing(PreviewDocument& document, std::optional<Drawing> drawing, bool truncated)
{
    if (!drawing) {
        Fail(document, texts::kCannotShow);
        return;
    }
    if (truncated)
        drawing->complete = false;
    if (!drawing->complete && drawing->entities.empty()) {
        Fail(document, texts::kDamaged);
        return;
    }
    if (!drawing->complete)
        document.problem = Utf8(texts::kPartial);
    document.kind = PreviewDocument::Kind::Drawing;
    document.drawing = std::make_shared<const Drawing>(std::move(*drawing));
}

QSize Fitted(QSizeF size, QSize box)
{
    return size.scaled(QSizeF(box), Qt::KeepAspectRatio).toSize().expandedTo(QSize(1, 1));
}

void TakeImage(PreviewDocument& document, const QByteArray& bytes, QSize box)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(kImageMegabytes);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!size.isValid()) {
        Fail(document, texts::kCannotShow);
        return;
    }
    const QSize wanted = Fitted(size, box);
    // JPEG decodes straight to a smaller size and needs no room for the whole
    // picture; the other formats decode it whole first, so it must fit.
    if (reader.format() == "jpeg" && wanted.width() < size.width())
        reader.setScaledSize(wanted);
    else if (static_cast<qint64>(size.width()) * size.height() > kLargestImagePixels) {
        Fail(document, texts::kTooLarge);
        return;
    }
    QImage image = reader.read();
    if (image.isNull()) {
        Fail(document, texts::kCannotShow);
        return;
    }
    if (image.width() > box.width() || image.height() > box.height())
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    document.kind = PreviewDocument::Kind::Picture;
    document.picture = std::move(image);
}

struct Abort {
    const std::atomic<bool>* cancel;
    QElapsedTimer clock;
};

bool ShouldAbort(const QVariant& payload)
{
    const auto* abort = reinterpret_cast<const Abort*>(payload.value<quintptr>());
    return (abort->cancel && abort->cancel->load()) || abort->clock.elapsed() > kPdfSeconds * 1000;
}

void TakePdf(PreviewDocument& document, const QByteArray& bytes, QSize box,
             const std::atomic<bool>* cancel)
{
    const std::unique_ptr<Poppler::Document> pdf = Poppler::Document::loadFromData(bytes);
    if (!pdf) {
        Fail(document, texts::kCannotShow);
        return;
    }
    if (pdf->isLocked()) {
        Fail(document, texts::kLocked);
        return;
    }
    const std::unique_ptr<Poppler::Page> page = pdf->numPages() > 0 ? pdf->page(0) : nullptr;
    const QSizeF points = page ? page->pageSizeF() : QSizeF();
    if (!page || points.width() <= 0 || points.height() <= 0) {
        Fail(document, texts::kCannotShow);
        return;
    }
    QSize wanted = Fitted(points, box);
    if (static_cast<qint64>(wanted.width()) * wanted.height() > kLargestPagePixels)
        wanted = Fitted(points, QSize(4000, 4000));
    // The side that limits the fit sets the resolution: a width rounded up to one
    // pixel must not stretch a tall, narrow page past the box.
    const double dpi =
        72.0 * std::min(wanted.width() / points.width(), wanted.height() / points.height());
    pdf->setRenderHint(Poppler::Document::Antialiasing);
    pdf->setRenderHint(Poppler::Document::TextAntialiasing);
    Abort abort{cancel, {}};
    abort.clock.start();
    QImage image =
        page->renderToImage(dpi, dpi, -1, -1, -1, -1, Poppler::Page::Rotate0, nullptr, nullptr,
                            &ShouldAbort, QVariant::fromValue(reinterpret_cast<quintptr>(&abort)));
    if (image.isNull()) {
        Fail(document, texts::kCannotShow);
        return;
    }
    document.kind = PreviewDocument::Kind::Picture;
    document.picture = std::move(image);
}

void TakeText(PreviewDocument& document, const QByteArray& bytes)
{
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QString::fromUtf8(bytes.mid(3));
    else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        text = QStringDecoder(QStringDecoder::Utf16)(bytes);
    else
        text = text::FromCp932(View(bytes));
    text.replace(QLatin1Char('\t'), QStringLiteral("    "));
    document.lines = text.split(QLatin1Char('\n')).mid(0, kTextLines);
    for (QString& line : document.lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    document.kind = PreviewDocument::Kind::Text;
}

void PaintNote(QPainter& painter, const PreviewDocument& document, const QRectF& target)
{
    painter.fillRect(target, QColor(0xF2, 0xF2, 0xF2));
    painter.setPen(QColor(0x40, 0x40, 0x40));
    QFont font = painter.font();
    font.setPixelSize(std::clamp(static_cast<int>(target.height() / 12), 8, 16));
    painter.setFont(font);
    QStringList lines{document.fileName};
    if (document.size >= 0)
        lines << QLocale(QLocale::Japanese).toString(document.size) + Utf8(texts::kBytes);
    if (!document.problem.isEmpty())
        lines << document.problem;
    painter.drawText(target.adjusted(6, 6, -6, -6), Qt::AlignCenter | Qt::TextWrapAnywhere,
                     lines.join(QLatin1Char('\n')));
}

// A line along the bottom saying what is left out.
void PaintBand(QPainter& painter, const QString& note, const QRectF& target)
{
    QFont font = painter.font();
    font.setPixelSize(std::clamp(static_cast<int>(target.height() / 16), 8, 14));
    painter.setFont(font);
    const double height = QFontMetricsF(font).height() + 4;
    const QRectF band(target.left(), target.bottom() - height, target.width(), height);
    painter.fillRect(band, QColor(255, 255, 210, 230));
    painter.setPen(QColor(0x80, 0x30, 0x00));
    painter.drawText(band, Qt::AlignCenter, note);
}

void PaintText(QPainter& painter, const PreviewDocument& document, const QRectF& target)
{
    painter.fillRect(target, Qt::white);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const int pixels = std::clamp(static_cast<int>(target.height() / 16), 8, 18);
    font.setPixelSize(pixels);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.save();
    painter.setClipRect(target);
    double y = target.top() + pixels * 1.2;
    for (const QString& line : document.lines) {
        if (y > target.bottom())
            break;
        painter.drawText(QPointF(target.left() + pixels / 2.0, y), line.left(400));
        y += pixels * 1.25;
    }
    painter.restore();
}

}  // namespace

PreviewDocument LoadPreview(const QString& path, const LoadOptions& options)
{
    PreviewDocument document;
    const QFileInfo info(path);
    document.fileName = info.fileName();
    Format format = FormatOf(info.suffix());
    FileBytes file = ReadFileBytes(path, LimitOf(format));
    document.size = file.size;
    switch (file.status) {
        case FileBytes::Status::Read:
            break;
        case FileBytes::Status::Missing:
            Fail(document, texts::kMissing);
            return document;
        case FileBytes::Status::NotRegular:
            Fail(document, texts::kNotRegular);
            return document;
        case FileBytes::Status::Unreadable:
            Fail(document, texts::kUnreadable);
            return document;
    }
    // What the first bytes say wins over the name.
    const std::string_view head = View(file.bytes);
    const Format sniffed = LooksLikeJwCad(head)        ? Format::JwCad
                           : head.starts_with("%PDF-") ? Format::Pdf
                                                       : format;
    if (sniffed != format) {
        format = sniffed;
        file = ReadFileBytes(path, LimitOf(format));
    }
    switch (format) {
        case Format::JwCad:
            TakeDrawing(document, ReadJwCad(View(file.bytes), options.cancel), file.truncated);
            break;
        case Format::Dxf:
            TakeDrawing(document, ReadDxf(View(file.bytes)), file.truncated);
            break;
        case Format::Pdf:
        case Format::Image:
            if (file.truncated)
                Fail(document, texts::kTooLarge);
            else if (format == Format::Pdf)
                TakePdf(document, file.bytes, options.pictureSize, options.cancel);
            else
                TakeImage(document, file.bytes, options.pictureSize);
            break;
        case Format::Text:
            TakeText(document, file.bytes);
            break;
        case Format::OldJwCad:
            // Named and marked, so that it is not taken for a damaged file.
            document.problem = Utf8(texts::kOldFormat);
            break;
        case Format::Other:
            break;
    }
    return document;
}

void PaintPreview(QPainter& painter, const PreviewDocument& document, const QRectF& target,
                  const RenderOptions* render, bool forPrint)
{
    painter.save();
    switch (document.kind) {
        case PreviewDocument::Kind::Drawing: {
            const Drawing& drawing = *document.drawing;
            RenderOptions options = render ? *render : DefaultRenderOptions(drawing);
            options.forPrint = forPrint;
            painter.fillRect(target,
                             forPrint ? QColor(Qt::white) : QColor::fromRgb(drawing.background));
            const QRectF extent = DrawingExtent(drawing);
            if (!extent.isNull())
                RenderDrawing(painter, drawing, FitTransform(extent, target), target, options);
            if (!document.problem.isEmpty() && !forPrint)
                PaintBand(painter, document.problem, target);
            break;
        }
        case PreviewDocument::Kind::Picture: {
            // On grey, so that a white page shows where it ends.
            painter.fillRect(target, forPrint ? QColor(Qt::white) : QColor(0xD0, 0xD0, 0xD0));
            const QSizeF size =
                QSizeF(document.picture.size()).scaled(target.size(), Qt::KeepAspectRatio);
            const QRectF placed(target.center() - QPointF(size.width() / 2, size.height() / 2),
                                size);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(placed, document.picture);
            break;
        }
        case PreviewDocument::Kind::Text:
            PaintText(painter, document, target);
            break;
        case PreviewDocument::Kind::Other:
            PaintNote(painter, document, target);
            break;
    }
    painter.restore();
}

QImage RenderThumbnail(const PreviewDocument& document, QSize size, const std::atomic<bool>* cancel)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    RenderOptions options;
    if (document.drawing)
        options = DefaultRenderOptions(*document.drawing);
    options.cancel = cancel;
    PaintPreview(painter, document, QRectF(QPointF(0, 0), QSizeF(size)), &options);
    return image;
}

}  // namespace preview
