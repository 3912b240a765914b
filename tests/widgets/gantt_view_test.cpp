#include "widgets/gantt_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>

using widgets::GanttBar;
using widgets::GanttView;

namespace {

QDateTime Day(int y, int m, int d)
{
    return QDateTime(QDate(y, m, d), QTime(0, 0));
}

void Click(QWidget& w, QPointF at)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, w.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
}

TEST(GanttView, BarsAreFoundWhereTheyAreDrawnAndFollowTheRowAxis)
{
    GanttView view;
    view.resize(800, 400);
    view.SetRowAxis(0, 11);
    view.AddBar({Day(2025, 1, 1), Day(2025, 1, 31), 1, "A", Qt::cyan});
    view.AddBar({Day(2025, 1, 10), Day(2025, 1, 20), 2, "B", Qt::blue});
    view.AddBar({Day(2025, 3, 1), Day(2025, 3, 1), 3, "C", Qt::green});  // no length

    auto range = view.DateRange();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, Day(2025, 1, 1));
    EXPECT_EQ(range->second, Day(2025, 3, 1));

    // Row 1 above row 2 (inverted axis), a later day further right.
    QRectF a = view.BarRect(0), b = view.BarRect(1), c = view.BarRect(2);
    EXPECT_LT(a.center().y(), b.center().y());
    EXPECT_LT(b.left(), c.left());
    EXPECT_GT(c.width(), 0);
    EXPECT_EQ(view.BarAt(a.center().toPoint()), 0);
    EXPECT_EQ(view.BarAt(c.center().toPoint()), 2);
    EXPECT_EQ(view.BarAt(QPoint(2, 2)), -1);

    QSignalSpy clicked(&view, &GanttView::barClicked);
    Click(view, b.center());
    ASSERT_EQ(clicked.size(), 1);
    EXPECT_EQ(clicked[0][0].toInt(), 1);
    EXPECT_DOUBLE_EQ(clicked[0][1].toDouble(), 2.0);

    // Scrolled ten rows on, row 1 lies above the plot and cannot be hit.
    view.ScrollRows(10);
    EXPECT_DOUBLE_EQ(view.RowMinimum(), 10);
    EXPECT_EQ(view.BarAt(view.BarRect(0).center().toPoint()), -1);
    view.ScrollRows(-10);
    EXPECT_EQ(view.BarAt(view.BarRect(0).center().toPoint()), 0);

    // What is drawn is where the view says: each bar's own colour at its centre.
    view.SetRowAxis(0, 11);
    const QImage image = view.grab().toImage();
    EXPECT_EQ(image.pixelColor(view.BarRect(0).center().toPoint()), QColor(Qt::cyan));
    EXPECT_EQ(image.pixelColor(view.BarRect(1).center().toPoint()), QColor(Qt::blue));
    EXPECT_NE(image.pixelColor(QPoint(view.BarRect(1).right() + 40, view.BarRect(1).center().y())),
              QColor(Qt::blue));

    QTemporaryDir folder;
    const QString file = folder.filePath("chart.png");
    ASSERT_TRUE(view.SaveImage(file));
    QImage saved(file);
    EXPECT_EQ(saved.size(), view.size());
    EXPECT_EQ(saved.pixelColor(view.BarRect(0).center().toPoint()), QColor(Qt::cyan));

    view.Clear();
    EXPECT_FALSE(view.DateRange());
    view.grab();  // an empty chart paints without trouble
}

}  // namespace
