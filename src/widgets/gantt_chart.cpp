#include "widgets/gantt_chart.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "widgets/gantt_texts.h"

namespace widgets {

namespace {

constexpr double kBarShare = 0.5;        // of a row's height
constexpr double kMinimumBarPixels = 2;  // across and along
constexpr int kOutlinePixels = 6;        // smaller bars are plain colour
constexpr double kRowLinePixels = 8;     // rows at least this high are ruled
constexpr double kPixelLimit = 1e7;      // far outside any device, well inside int
constexpr double kTodayBandPixels = 8;
constexpr double kLabelInset = 4;

const QColor kLowerLine(0, 0, 0, 40);
const QColor kUpperLine(0, 0, 0, 110);
const QColor kRowLine(0, 0, 0, 22);
const QColor kWeekend(0, 0, 0, 20);
const QColor kToday(220, 0, 0);
const QColor kTodayBand(220, 0, 0, 28);

double Clamped(double pixels)
{
    return std::clamp(pixels, -kPixelLimit, kPixelLimit);
}

QString DateText(const QDateTime& moment)
{
    return moment.date().toString(QStringLiteral("yyyy/MM/dd"));
}

void PaintHeader(QPainter& painter, const GanttFrame& frame, const timeline::TimelineLayout& layout,
                 const QPalette& palette)
{
    const QRectF corner(frame.labels.left(), frame.header.top(), frame.labels.width(),
                        frame.header.height());
    painter.fillRect(corner, palette.color(QPalette::Button));
    painter.fillRect(frame.header, palette.color(QPalette::Button));
    painter.save();
    painter.setClipRect(frame.header);
    const double middle = frame.header.center().y();
    const QRectF upper(frame.header.left(), frame.header.top(), frame.header.width(),
                       middle - frame.header.top());
    const QRectF lower(frame.header.left(), middle, frame.header.width(),
                       frame.header.bottom() - middle);
    auto lines = [&](const timeline::Tier& tier, const QRectF& band, const QColor& color) {
        painter.setPen(color);
        for (double day : tier.boundaries) {
            const double x = std::round(Clamped(frame.X(day)));
            painter.drawLine(QLineF(x, band.top(), x, band.bottom()));
        }
    };
    lines(layout.lower, lower, kLowerLine);
    lines(layout.upper, frame.header, kUpperLine);
    painter.setPen(kUpperLine);
    painter.drawLine(QLineF(frame.header.left(), middle, frame.header.right(), middle));
    painter.setPen(palette.color(QPalette::ButtonText));
    auto labels = [&](const timeline::Tier& tier, const QRectF& band) {
        for (const timeline::TierLabel& label : tier.labels)
            painter.drawText(QRectF(frame.header.left() + label.left, band.top(), label.width + 1,
                                    band.height()),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, label.text);
    };
    labels(layout.upper, upper);
    labels(layout.lower, lower);
    painter.restore();
    painter.setPen(palette.color(QPalette::Mid));
    painter.drawLine(
        QLineF(corner.left(), frame.header.bottom(), frame.header.right(), frame.header.bottom()));
}

// Rows too close for their labels show only every label that has room.
void PaintRowLabels(QPainter& painter, const GanttContent& content, const GanttFrame& frame,
                    const QPalette& palette)
{
    const QRectF& area = frame.labels;
    painter.fillRect(area, palette.color(QPalette::Base));
    painter.save();
    painter.setClipRect(area);
    const double rowPixels = frame.RowPixels();
    if (frame.highlightedRow) {
        const double y = frame.Y(*frame.highlightedRow);
        painter.fillRect(QRectF(area.left(), y - rowPixels / 2, area.width(), rowPixels),
                         palette.color(QPalette::Highlight));
    }
    const QFontMetricsF metrics(frame.font);
    const double line = metrics.height();
    const double textWidth = std::max(0.0, area.width() - 2 * kLabelInset);
    const timeline::BarIndex::RowMap& rows = content.Index().ByRow();
    const double top = frame.rows.minimum - 0.5, bottom = frame.rows.maximum + 0.5;
    auto it = rows.lower_bound(top);
    while (it != rows.end() && it->first <= bottom) {
        const double y = frame.Y(it->first);
        const bool highlighted = frame.highlightedRow && *frame.highlightedRow == it->first;
        painter.setPen(palette.color(highlighted ? QPalette::HighlightedText : QPalette::Text));
        const QString label = content.RowLabel(it->first);
        painter.drawText(QRectF(area.left() + kLabelInset, y - line / 2, textWidth, line),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(label, Qt::ElideRight, textWidth));
        const double nextRow = frame.rows.RowAt(y + line - frame.body.top(), frame.body.height());
        it = rows.lower_bound(
            std::max(std::next(it) == rows.end() ? bottom + 1 : std::next(it)->first, nextRow));
    }
    painter.restore();
    painter.setPen(palette.color(QPalette::Mid));
    painter.drawLine(QLineF(area.right(), area.top(), area.right(), area.bottom()));
}

void PaintGrid(QPainter& painter, const GanttFrame& frame, const timeline::TimelineLayout& layout,
               const QPalette& palette)
{
    const QRectF& body = frame.body;
    const double rowPixels = frame.RowPixels();
    if (layout.weekends) {
        for (double day = std::floor(frame.scale.FirstDay()); day < frame.scale.LastDay(); ++day)
            if (timeline::DateOf(day).dayOfWeek() >= Qt::Saturday)
                painter.fillRect(QRectF(QPointF(frame.X(day), body.top()),
                                        QPointF(frame.X(day + 1), body.bottom())),
                                 kWeekend);
    }
    if (frame.highlightedRow) {
        QColor band = palette.color(QPalette::Highlight);
        band.setAlpha(60);
        painter.fillRect(QRectF(body.left(), frame.Y(*frame.highlightedRow) - rowPixels / 2,
                                body.width(), rowPixels),
                         band);
    }
    if (rowPixels >= kRowLinePixels) {
        painter.setPen(kRowLine);
        for (double row = std::floor(frame.rows.minimum) + 0.5; row < frame.rows.maximum; ++row) {
            const double y = std::round(frame.Y(row));
            painter.drawLine(QLineF(body.left(), y, body.right(), y));
        }
    }
    auto lines = [&](const timeline::Tier& tier, const QColor& color) {
        painter.setPen(color);
        for (double day : tier.boundaries) {
            const double x = std::round(Clamped(frame.X(day)));
            painter.drawLine(QLineF(x, body.top(), x, body.bottom()));
        }
    };
    lines(layout.lower, kLowerLine);
    lines(layout.upper, kUpperLine);
}

void PaintBars(QPainter& painter, const GanttContent& content, const GanttFrame& frame)
{
    const timeline::BarIndex& index = content.Index();
    // Rows just outside the axis still show their half that reaches in.
    const double reach = std::max(0.5, kMinimumBarPixels / frame.RowPixels());
    const auto [first, last] =
        index.RowsBetween(frame.rows.minimum - reach, frame.rows.maximum + reach);
    const double firstDay = frame.scale.FirstDay(), lastDay = frame.scale.LastDay();
    const auto& bars = content.Bars();
    for (auto row = first; row != last; ++row) {
        for (int bar : row->second) {
            const timeline::PlacedBar* placed = index.Find(bar);
            if (placed->end < firstDay || placed->start > lastDay)
                continue;
            const QRect box = BarRect(frame, *placed);
            const QColor& color = bars[static_cast<size_t>(bar)].color;
            painter.fillRect(box, color);
            if (box.width() >= kOutlinePixels && box.height() >= kOutlinePixels) {
                painter.setPen(color.darker(150));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(box.adjusted(0, 0, -1, -1));
            }
        }
    }
}

void PaintToday(QPainter& painter, const GanttFrame& frame)
{
    if (!frame.today.isValid())
        return;
    const double day = timeline::DayOf(frame.today);
    if (day + 1 < frame.scale.FirstDay() || day > frame.scale.LastDay())
        return;
    const QRectF& body = frame.body;
    if (frame.scale.PixelsPerDay() >= kTodayBandPixels)
        painter.fillRect(
            QRectF(QPointF(frame.X(day), body.top()), QPointF(frame.X(day + 1), body.bottom())),
            kTodayBand);
    const double x = std::round(frame.X(day + 0.5));
    painter.fillRect(QRectF(x - 1, body.top(), 2, body.height()), kToday);
}

}  // namespace

void GanttContent::Clear()
{
    bars_.clear();
    index_.Clear();
    range_.reset();
}

void GanttContent::Add(const GanttBar& bar)
{
    const int number = static_cast<int>(bars_.size());
    bars_.push_back(bar);
    if (const auto placed = timeline::Place(bar.start, bar.end, bar.row))
        index_.Add(number, *placed);
    if (bar.start.isValid() && bar.end.isValid()) {
        const QDateTime first = std::min(bar.start, bar.end), last = std::max(bar.start, bar.end);
        range_ =
            range_ ? std::make_pair(std::min(range_->first, first), std::max(range_->second, last))
                   : std::make_pair(first, last);
    }
}

QString GanttContent::RowLabel(double row) const
{
    const auto found = index_.ByRow().find(row);
    if (found == index_.ByRow().end() || found->second.empty())
        return {};
    return bars_[static_cast<size_t>(found->second.front())].label;
}

void PlaceParts(GanttFrame& frame, const QRectF& area, double labelWidth)
{
    const double header = std::min(HeaderHeight(frame.font), area.height() / 2);
    const double labels = std::clamp(labelWidth, 0.0, area.width() / 3);
    const double days = frame.scale.Days(), first = frame.scale.FirstDay();
    frame.header = QRectF(area.left() + labels, area.top(), area.width() - labels, header);
    frame.labels = QRectF(area.left(), area.top() + header, labels, area.height() - header);
    frame.body = QRectF(frame.header.left(), frame.labels.top(),
                        std::max(1.0, frame.header.width()), std::max(1.0, frame.labels.height()));
    frame.scale.SetWidth(frame.body.width());
    frame.scale.Show(first, days);
}

QFont PixelSized(const QFont& font)
{
    QFont sized(font);
    sized.setPixelSize(std::max(1, QFontInfo(font).pixelSize()));
    return sized;
}

double HeaderHeight(const QFont& font)
{
    return std::ceil(QFontMetricsF(font).height() * 2 + 8);
}

timeline::TimelineLayout LayOutHeader(const GanttFrame& frame)
{
    const QFontMetricsF metrics(frame.font);
    return timeline::LayOutTimeline(
        frame.scale, [&metrics](const QString& text) { return metrics.horizontalAdvance(text); },
        frame.minimumStepDays);
}

QRect BarRect(const GanttFrame& frame, const timeline::PlacedBar& bar)
{
    const long left = std::lround(Clamped(frame.X(bar.start)));
    const long right = std::max(std::lround(Clamped(frame.X(bar.end))), left + 2);
    const double half = std::max(kMinimumBarPixels, frame.RowPixels() * kBarShare) / 2;
    const double centre = Clamped(frame.Y(bar.row));
    const long top = std::lround(centre - half);
    const long bottom = std::max(std::lround(centre + half), top + 2);
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

int BarAt(const GanttContent& content, const GanttFrame& frame, const QPointF& point)
{
    if (!frame.body.contains(point))
        return -1;
    const timeline::BarIndex& index = content.Index();
    const double row = frame.rows.RowAt(point.y() - frame.body.top(), frame.body.height());
    const double reach = std::max(0.5, kMinimumBarPixels / frame.RowPixels());
    const auto [first, last] = index.RowsBetween(row - reach, row + reach);
    const QPoint pixel(static_cast<int>(std::floor(point.x())),
                       static_cast<int>(std::floor(point.y())));
    // Painted top row first, each row's bars in order: the last match is on top.
    for (auto it = std::make_reverse_iterator(last); it != std::make_reverse_iterator(first); ++it)
        for (auto bar = it->second.rbegin(); bar != it->second.rend(); ++bar)
            if (BarRect(frame, *index.Find(*bar)).contains(pixel))
                return *bar;
    return -1;
}

std::optional<double> RowAt(const GanttContent& content, const GanttFrame& frame, double y)
{
    const double row = frame.rows.RowAt(y - frame.body.top(), frame.body.height());
    const auto [first, last] = content.Index().RowsBetween(row - 0.5, row + 0.5);
    std::optional<double> nearest;
    for (auto it = first; it != last; ++it)
        if (!nearest || std::abs(it->first - row) < std::abs(*nearest - row))
            nearest = it->first;
    return nearest;
}

QString BarToolTip(const GanttBar& bar)
{
    const double days = timeline::DayOf(bar.end) - timeline::DayOf(bar.start);
    const QString dates =
        days >= 0 && days <= 1
            ? DateText(bar.start)
            : DateText(bar.start) + QString::fromUtf8(gantt_texts::kDateJoin) + DateText(bar.end);
    QString text = bar.label + "\n";
    if (!bar.kind.isEmpty())
        text += bar.kind + QString::fromUtf8(gantt_texts::kKindJoin);
    return text + dates;
}

void PaintGantt(QPainter& painter, const GanttContent& content, const GanttFrame& frame,
                const QPalette& palette)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(frame.font);
    const timeline::TimelineLayout layout = LayOutHeader(frame);
    PaintHeader(painter, frame, layout, palette);
    PaintRowLabels(painter, content, frame, palette);

    painter.save();
    painter.setClipRect(frame.body);
    painter.fillRect(frame.body, frame.background);
    PaintGrid(painter, frame, layout, palette);
    PaintBars(painter, content, frame);
    PaintToday(painter, frame);
    painter.restore();
    painter.setPen(palette.color(QPalette::Mid));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.body.adjusted(0, 0, -1, -1));
    painter.restore();
}

}  // namespace widgets
