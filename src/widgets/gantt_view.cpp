#include "widgets/gantt_view.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <cmath>
#include <map>

namespace widgets {

namespace {

constexpr int kLabelWidth = 140;
constexpr int kAxisHeight = 36;
constexpr int kMargin = 6;
constexpr double kBarShare = 0.5;  // of a row's height
constexpr char kSaveImageCaption[] = "画像として保存(&S)...";

}  // namespace

GanttView::GanttView(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(120, 80);
    setMouseTracking(false);
}

void GanttView::Clear()
{
    bars_.clear();
    spans_.clear();
    range_.reset();
    update();
}

void GanttView::AddBar(const GanttBar& bar)
{
    bars_.push_back(bar);
    const QDateTime first = std::min(bar.start, bar.end);
    const QDateTime last = std::max(bar.start, bar.end);
    if (!range_)
        range_ = std::make_pair(first, last);
    else
        range_ = std::make_pair(std::min(range_->first, first), std::max(range_->second, last));
    spans_.emplace_back(bar.start.toMSecsSinceEpoch(), bar.end.toMSecsSinceEpoch());
    rangeFirst_ = range_->first.toMSecsSinceEpoch();
    rangeLast_ = range_->second.toMSecsSinceEpoch();
    update();
}

void GanttView::SetRowAxis(double minimum, double maximum)
{
    rowMin_ = minimum;
    rowMax_ = maximum;
    update();
}

void GanttView::ScrollRows(double delta)
{
    SetRowAxis(rowMin_ + delta, rowMax_ + delta);
}

void GanttView::SetBackground(const QColor& color)
{
    background_ = color;
    update();
}

QRectF GanttView::PlotArea() const
{
    return QRectF(kLabelWidth, kMargin, std::max(1, width() - kLabelWidth - kMargin),
                  std::max(1, height() - kMargin - kAxisHeight));
}

double GanttView::RowHeight() const
{
    double span = rowMax_ - rowMin_;
    return span > 0 ? PlotArea().height() / span : PlotArea().height();
}

double GanttView::RowY(double row) const
{
    return PlotArea().top() + (row - rowMin_) * RowHeight();
}

double GanttView::DateX(qint64 msecs) const
{
    // Inset so that bars at either end of the range stay inside the plot.
    const QRectF plot = PlotArea().adjusted(2, 0, -4, 0);
    if (!range_)
        return plot.left();
    const double span = static_cast<double>(rangeLast_ - rangeFirst_);
    if (span <= 0)
        return plot.left() + plot.width() / 2;
    return plot.left() + plot.width() * static_cast<double>(msecs - rangeFirst_) / span;
}

QRectF GanttView::BarRect(int index) const
{
    const GanttBar& bar = bars_.at(static_cast<size_t>(index));
    double thickness = std::max(3.0, RowHeight() * kBarShare);
    const auto& [startMs, endMs] = spans_.at(static_cast<size_t>(index));
    double left = DateX(startMs);
    double right = std::max(DateX(endMs), left + 2);  // a bar without length stays visible
    return QRectF(left, RowY(bar.row) - thickness / 2, right - left, thickness);
}

int GanttView::BarAt(const QPoint& point) const
{
    if (!PlotArea().contains(point))
        return -1;
    for (int i = static_cast<int>(bars_.size()) - 1; i >= 0; --i)
        if (BarRect(i).contains(point))
            return i;
    return -1;
}

void GanttView::mousePressEvent(QMouseEvent* event)
{
    int index = BarAt(event->position().toPoint());
    if (index >= 0)
        emit barClicked(index, bars_[static_cast<size_t>(index)].row);
    QWidget::mousePressEvent(event);
}

bool GanttView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        int index = BarAt(help->pos());
        if (index < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const GanttBar& bar = bars_[static_cast<size_t>(index)];
        const QString format = "yyyy/MM/dd HH:mm";
        QToolTip::showText(help->globalPos(),
                           bar.label + "\n" + bar.start.toString(format) +
                               QString::fromUtf8(" \xEF\xBD\x9E ") + bar.end.toString(format),
                           this);
        return true;
    }
    return QWidget::event(event);
}

void GanttView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* save = menu.addAction(QString::fromUtf8(kSaveImageCaption));
    if (menu.exec(event->globalPos()) != save)
        return;
    const QString path =
        choosePath_ ? choosePath_()
                    : QFileDialog::getSaveFileName(this, QString(), QString(), "PNG (*.png)");
    if (!path.isEmpty())
        SaveImage(path);
}

bool GanttView::SaveImage(const QString& path)
{
    return grab().save(path, "PNG");
}

void GanttView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QRectF plot = PlotArea();
    painter.fillRect(plot, background_);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(plot);

    painter.save();
    painter.setClipRect(plot);
    for (int i = 0; i < static_cast<int>(bars_.size()); ++i) {
        const QRectF box = BarRect(i);
        if (!box.intersects(plot))
            continue;  // rows scrolled away cost nothing
        painter.setPen(bars_[static_cast<size_t>(i)].color.darker(150));
        painter.setBrush(bars_[static_cast<size_t>(i)].color);
        painter.drawRect(box);
    }
    painter.restore();

    DrawRowLabels(painter, plot);
    DrawDateAxis(painter, plot);
}

void GanttView::DrawRowLabels(QPainter& painter, const QRectF& plot) const
{
    std::map<double, QString> labels;  // the first bar of a row names it
    for (const GanttBar& bar : bars_)
        labels.emplace(bar.row, bar.label);
    painter.setPen(palette().color(QPalette::WindowText));
    const double h = RowHeight();
    for (const auto& [row, label] : labels) {
        double y = RowY(row);
        if (y < plot.top() || y > plot.bottom())
            continue;
        QRectF box(kMargin, y - h / 2, kLabelWidth - 2 * kMargin, h);
        painter.drawText(
            box, Qt::AlignRight | Qt::AlignVCenter,
            painter.fontMetrics().elidedText(label, Qt::ElideRight, static_cast<int>(box.width())));
    }
}

void GanttView::DrawDateAxis(QPainter& painter, const QRectF& plot) const
{
    auto range = DateRange();
    if (!range)
        return;
    const QDate first = range->first.date();
    const QDate last = range->second.date();
    const qint64 days = std::max<qint64>(1, first.daysTo(last));
    // One tick a step; labels thinned to those that fit without overlapping.
    const int labelWidth = painter.fontMetrics().horizontalAdvance("0000/00/00") + 8;
    const double pixelsPerDay = plot.width() / days;
    const int labelEvery =
        std::max(stepDays_, static_cast<int>(std::ceil(labelWidth / std::max(pixelsPerDay, 0.01))));
    painter.setPen(palette().color(QPalette::WindowText));
    double lastLabelRight = -1e9;
    for (QDate d = first; d <= last; d = d.addDays(stepDays_)) {
        double x = DateX(QDateTime(d, QTime(0, 0), range->first.timeSpec()).toMSecsSinceEpoch());
        if (x < plot.left() - 0.5)
            continue;
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 4));
        if (first.daysTo(d) % labelEvery != 0 || x - labelWidth / 2.0 < lastLabelRight)
            continue;
        QRectF box(x - labelWidth / 2.0, plot.bottom() + 6, labelWidth, kAxisHeight - 8);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, d.toString("yyyy/MM/dd"));
        lastLabelRight = box.right();
    }
}

}  // namespace widgets
