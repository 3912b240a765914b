#pragma once
// The chart off the screen: an image or SVG file of what is shown, and pages
// for a printer or a PDF file holding every row with bars, the header repeated
// at the top of each page.

#include <QSize>
#include <QString>
#include <vector>

#include "widgets/gantt_chart.h"

class QPagedPaintDevice;
class QPainter;
class QPalette;

namespace widgets {

// What is shown, redrawn at `size` without scroll bars.
GanttFrame ImageFrame(const GanttFrame& shown, const QSize& size);
// PNG, or SVG for a name ending in .svg; the file is written whole or not at all.
bool WriteChartImage(const GanttContent& content, const GanttFrame& shown, const QSize& size,
                     const QPalette& palette, const QString& path);

void UseA4Landscape(QPagedPaintDevice& device);

// The shown days across every page, the rows from the first with bars to the
// last split over as many pages as they need; frames in pixels of 1/96 inch.
std::vector<GanttFrame> PageFrames(const GanttContent& content, const GanttFrame& shown,
                                   const QSizeF& page);
int PageCount(const GanttContent& content, const GanttFrame& shown,
              const QPagedPaintDevice& device);
// Onto a device the painter has begun on; false when a page could not be added.
bool PaintPages(QPainter& painter, QPagedPaintDevice& device, const GanttContent& content,
                const GanttFrame& shown, const QPalette& palette);
bool WriteChartPdf(const GanttContent& content, const GanttFrame& shown, const QPalette& palette,
                   const QString& path);

}  // namespace widgets
