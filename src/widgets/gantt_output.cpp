#include "widgets/gantt_output.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPalette>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

#include "widgets/svg_canvas.h"

namespace widgets {

namespace {

constexpr double kLogicalDpi = 96;
constexpr double kPrintedRowLines = 1.4;  // a printed row's height in text lines

bool WriteWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

bool IsSvgName(const QString& path)
{
    return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
}

}  // namespace

GanttFrame ImageFrame(const GanttFrame& shown, const QSize& size)
{
    GanttFrame frame = shown;
    PlaceParts(frame, QRectF(QPointF(0, 0), QSizeF(size)), shown.labels.width());
    return frame;
}

bool WriteChartImage(const GanttContent& content, const GanttFrame& shown, const QSize& size,
                     const QPalette& palette, const QString& path)
{
    if (size.isEmpty())
        return false;
    const GanttFrame frame = ImageFrame(shown, size);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (IsSvgName(path)) {
        if (!PaintSvg(buffer, size,
                      [&](QPainter& painter) { PaintGantt(painter, content, frame, palette); }))
            return false;
    } else {
        QImage image(size, QImage::Format_RGB32);
        image.fill(palette.color(QPalette::Window));
        QPainter painter(&image);
        PaintGantt(painter, content, frame, palette);
        painter.end();
        if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
            return false;
    }
    return WriteWhole(path, bytes);
}

void UseA4Landscape(QPagedPaintDevice& device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

std::vector<GanttFrame> PageFrames(const GanttContent& content, const GanttFrame& shown,
                                   const QSizeF& page)
{
    const double header = HeaderHeight(shown.font);
    const double pitch = std::ceil(QFontMetricsF(shown.font).height() * kPrintedRowLines);
    const int perPage = std::max(1, static_cast<int>((page.height() - header) / pitch));
    const auto rows = content.Index().Rows();
    const std::vector<timeline::RowAxis> axes =
        rows ? timeline::PageAxes(*rows, perPage)
             : std::vector<timeline::RowAxis>{{shown.rows.minimum, shown.rows.minimum + perPage}};
    std::vector<GanttFrame> frames;
    for (const timeline::RowAxis& axis : axes) {
        GanttFrame frame = shown;
        frame.rows = axis;
        frame.highlightedRow.reset();
        PlaceParts(frame, QRectF(0, 0, page.width(), header + axis.Span() * pitch),
                   shown.labels.width());
        frames.push_back(frame);
    }
    return frames;
}

namespace {

// The device's printable area in pixels of 1/96 inch, and how its pixels scale to them.
struct PageArea {
    QSizeF size;
    double scale = 1;
};

PageArea AreaOf(const QPagedPaintDevice& device)
{
    const double resolution = device.logicalDpiX();
    const double scale = resolution / kLogicalDpi;
    return {
        QSizeF(device.pageLayout().paintRectPixels(static_cast<int>(resolution)).size()) / scale,
        scale};
}

}  // namespace

int PageCount(const GanttContent& content, const GanttFrame& shown, const QPagedPaintDevice& device)
{
    return static_cast<int>(PageFrames(content, shown, AreaOf(device).size).size());
}

bool PaintPages(QPainter& painter, QPagedPaintDevice& device, const GanttContent& content,
                const GanttFrame& shown, const QPalette& palette)
{
    const PageArea area = AreaOf(device);
    const std::vector<GanttFrame> frames = PageFrames(content, shown, area.size);
    for (size_t i = 0; i < frames.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        painter.save();
        painter.scale(area.scale, area.scale);
        PaintGantt(painter, content, frames[i], palette);
        painter.restore();
    }
    return true;
}

bool WriteChartPdf(const GanttContent& content, const GanttFrame& shown, const QPalette& palette,
                   const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&file);
        UseA4Landscape(writer);
        writer.setResolution(300);
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        const bool painted = PaintPages(painter, writer, content, shown, palette);
        if (!painter.end() || !painted)
            return false;
    }
    return file.commit();
}

}  // namespace widgets
