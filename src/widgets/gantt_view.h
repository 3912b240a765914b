#pragma once
// A Gantt chart: bars with start and end times on numbered rows under a
// two-tier timeline header, with the row labels at the left. The owner sets
// the row axis (the minimum row at the top edge, the maximum at the bottom)
// and scrolls it; the user zooms and pans the days, scrolls rows by whole rows,
// and saves or prints the chart. A left click on a bar reports its row.

#include <QDate>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "widgets/gantt_chart.h"

class QPrinter;
class QScrollBar;

namespace widgets {

class GanttView : public QWidget {
    Q_OBJECT
public:
    explicit GanttView(QWidget* parent = nullptr);

    void Clear();
    void AddBar(const GanttBar& bar);
    const std::vector<GanttBar>& Bars() const { return content_.Bars(); }

    // As the windows page: no limits are checked.
    void SetRowAxis(double minimum, double maximum);
    double RowMinimum() const { return rows_.minimum; }
    double RowMaximum() const { return rows_.maximum; }
    void ScrollRows(double delta);
    // As the wheel and the arrow keys scroll: between the rows that hold bars.
    void StepRows(double delta);

    // From the earliest to the latest time the bars name.
    std::optional<std::pair<QDateTime, QDateTime>> DateRange() const
    {
        return content_.DateRange();
    }
    // The finest step of the header's lower tier.
    void SetDateLabelStepDays(int days);
    void SetBackground(const QColor& color);
    // Where today's line is drawn; the owner reads its clock.
    void SetToday(const QDate& today);

    // The days follow the bars until the user zooms or pans; FitAll returns to that.
    void FitAll();
    bool FollowsBars() const { return follow_; }
    void ShowDays(double firstDay, double days);
    // More than 1 shows fewer days; the day under `x` (in the view) stays there.
    void ZoomAt(double x, double factor);
    void Pan(double pixels);

    double LabelWidth() const { return labelWidth_; }
    void SetLabelWidth(double width);
    std::optional<double> HighlightedRow() const { return highlighted_; }

    // What is painted where, in the view's coordinates.
    GanttFrame Frame() const;
    // The bar under a point of the view, or -1; later bars lie on top.
    int BarAt(const QPoint& point) const;
    QRectF BarRect(int index) const;

    // The chart as shown, without scroll bars: PNG, or SVG for a .svg name.
    bool SaveImage(const QString& path);
    // Every row, the header on each page.
    bool SavePdf(const QString& path);

    // The dialogs that would block, replaceable so that tests can answer them:
    // where to save (empty when cancelled), the print preview (or, for more
    // pages than it can show, the print dialog) running `paint`, and the box
    // that reports a failure.
    using PathChooser = std::function<QString(const QString& title, const QString& filters)>;
    using PrintPreview =
        std::function<void(QPrinter& printer, int pages, std::function<void(QPrinter*)> paint)>;
    void SetSavePathChooser(PathChooser chooser) { choosePath_ = std::move(chooser); }
    void SetPrintPreview(PrintPreview preview) { preview_ = std::move(preview); }
    void SetMessenger(std::function<void(const QString&)> inform) { inform_ = std::move(inform); }

public slots:
    void SaveImageAs();
    void SavePdfAs();
    void PrintChart();

signals:
    void barClicked(int index, double row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    enum class Drag { None, Pan, LabelEdge };

    QRectF ChartArea() const;
    bool OnLabelEdge(const QPointF& point) const;
    // The days the scroll bar and fitting cover: the bars', or today's month.
    std::pair<double, double> DayExtent() const;
    void Keep(const timeline::TimeScale& scale);
    void Changed();
    void UpdateScrollBars();
    QString ChooseSavePath(const char* title, const QString& filters);
    void Inform(const QString& message);

    GanttContent content_;
    timeline::RowAxis rows_;
    bool follow_ = true;
    double firstDay_ = 0;
    double pixelsPerDay_ = 1;
    double labelWidth_ = 140;
    int stepDays_ = 1;
    int wheelRemainder_ = 0;
    QDate today_;
    QColor background_ = Qt::white;
    std::optional<double> highlighted_;

    Drag drag_ = Drag::None;
    QPointF dragOrigin_;
    double dragFirstDay_ = 0;

    QScrollBar* horizontal_;
    QScrollBar* vertical_;
    timeline::DayScrollRange dayScroll_;
    bool updatingBars_ = false;
    bool scrollBarsPending_ = false;

    PathChooser choosePath_;
    PrintPreview preview_;
    std::function<void(const QString&)> inform_;
};

}  // namespace widgets
