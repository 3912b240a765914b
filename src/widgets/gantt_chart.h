#pragma once
// What a Gantt chart draws, on any painter (the screen, an image, an SVG file, a
// printed page): the two-tier timeline header over the bars, the row labels at
// the left, and behind the bars the grid, weekends, the highlighted row and
// today's line. Only what lies in view is visited, so a chart over eight
// thousand years paints as quickly as one over a month.

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QFont>
#include <QRect>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

#include "timeline/bar_index.h"
#include "timeline/row_axis.h"
#include "timeline/time_scale.h"
#include "timeline/timeline_tiers.h"

class QPainter;
class QPalette;

namespace widgets {

struct GanttBar {
    QDateTime start;
    QDateTime end;
    double row = 0;
    QString label;  // shown as the row's label
    QColor color;
    QString kind;  // what the bar stands for, named in its tooltip
};

class GanttContent {
public:
    void Clear();
    void Add(const GanttBar& bar);

    const std::vector<GanttBar>& Bars() const { return bars_; }
    const timeline::BarIndex& Index() const { return index_; }
    // The earliest and latest times the bars name, as given.
    std::optional<std::pair<QDateTime, QDateTime>> DateRange() const { return range_; }
    // A row is named by its first bar.
    QString RowLabel(double row) const;

private:
    std::vector<GanttBar> bars_;
    timeline::BarIndex index_;
    std::optional<std::pair<QDateTime, QDateTime>> range_;
};

// Where the parts of a chart lie on the painter and what they show.
struct GanttFrame {
    QRectF header;  // above the body, as wide as it
    QRectF labels;  // left of the body, as high as it
    QRectF body;
    timeline::TimeScale scale;  // as wide as the body
    timeline::RowAxis rows;
    std::optional<double> highlightedRow;
    QDate today;
    QColor background = Qt::white;
    QFont font;  // sized in pixels, so that every device measures it alike
    int minimumStepDays = 1;

    double X(double day) const { return body.left() + scale.X(day); }
    double Y(double row) const { return body.top() + rows.Y(row, body.height()); }
    double RowPixels() const { return rows.Pixels(body.height()); }
};

// Lays the header, label column and body out over `area`, keeping the days and
// rows shown; the label column is at most a third of the width.
void PlaceParts(GanttFrame& frame, const QRectF& area, double labelWidth);

// The font as many pixels high as it shows on the screen.
QFont PixelSized(const QFont& font);
// Two tiers of one text line each.
double HeaderHeight(const QFont& font);

timeline::TimelineLayout LayOutHeader(const GanttFrame& frame);

// A bar's rectangle on the painter: whole pixels, never thinner than two, and
// within int range wherever the zoom puts its ends.
QRect BarRect(const GanttFrame& frame, const timeline::PlacedBar& bar);

// The bar drawn under a point, or -1; later bars lie on top.
int BarAt(const GanttContent& content, const GanttFrame& frame, const QPointF& point);
// The row with bars whose band holds a height of the body or label column.
std::optional<double> RowAt(const GanttContent& content, const GanttFrame& frame, double y);

// The bar's label, what it stands for and its dates (one for a bar of a day or less).
QString BarToolTip(const GanttBar& bar);

void PaintGantt(QPainter& painter, const GanttContent& content, const GanttFrame& frame,
                const QPalette& palette);

}  // namespace widgets
