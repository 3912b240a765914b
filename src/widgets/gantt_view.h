#pragma once
// A Gantt chart: bars with start and end times on numbered rows, a date axis
// along the bottom and an inverted row axis (the smallest row at the top) that
// the owner scales and scrolls. A click on a bar reports its row.

#include <QColor>
#include <QDateTime>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

namespace widgets {

struct GanttBar {
    QDateTime start;
    QDateTime end;
    double row = 0;
    QString label;  // shown as the row's label
    QColor color;
};

class GanttView : public QWidget {
    Q_OBJECT
public:
    explicit GanttView(QWidget* parent = nullptr);

    void Clear();
    void AddBar(const GanttBar& bar);
    const std::vector<GanttBar>& Bars() const { return bars_; }

    // The visible rows; the minimum is drawn at the top.
    void SetRowAxis(double minimum, double maximum);
    double RowMinimum() const { return rowMin_; }
    double RowMaximum() const { return rowMax_; }
    void ScrollRows(double delta);

    // Dates shown: automatic over the bars, padded by nothing.
    std::optional<std::pair<QDateTime, QDateTime>> DateRange() const { return range_; }
    void SetDateLabelStepDays(int days) { stepDays_ = std::max(1, days); }

    void SetBackground(const QColor& color);

    // The bar under a point of the widget, or -1; later bars lie on top.
    int BarAt(const QPoint& point) const;
    QRectF BarRect(int index) const;

    // The chart as a PNG file; false when it could not be written.
    bool SaveImage(const QString& path);
    // Asks where the context menu's save goes; empty means cancelled. The
    // default is the toolkit's save dialog.
    void SetImagePathChooser(std::function<QString()> chooser) { choosePath_ = std::move(chooser); }

signals:
    void barClicked(int index, double row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRectF PlotArea() const;
    double RowY(double row) const;
    double RowHeight() const;
    double DateX(qint64 msecs) const;
    void DrawRowLabels(QPainter& painter, const QRectF& plot) const;
    void DrawDateAxis(QPainter& painter, const QRectF& plot) const;

    std::vector<GanttBar> bars_;
    std::optional<std::pair<QDateTime, QDateTime>> range_;
    // Bar ends and the range in milliseconds: local-time conversions are too
    // slow to repeat for every bar of every frame.
    std::vector<std::pair<qint64, qint64>> spans_;
    qint64 rangeFirst_ = 0;
    qint64 rangeLast_ = 0;
    std::function<QString()> choosePath_;
    double rowMin_ = 0;
    double rowMax_ = 11;
    int stepDays_ = 1;
    QColor background_ = Qt::white;
};

}  // namespace widgets
