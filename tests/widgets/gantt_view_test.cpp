#include "widgets/gantt_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QHelpEvent>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

#include "common/gui_helpers.h"
#include "timeline/time_scale.h"
#include "widgets/gantt_output.h"
#include "widgets/gantt_texts.h"
#include "widgets/print_preview.h"

using timeline::DayOf;
using widgets::GanttBar;
using widgets::GanttFrame;
using widgets::GanttView;

namespace {

QDateTime Day(int y, int m, int d)
{
    return QDateTime(QDate(y, m, d), QTime(0, 0));
}

void Click(QWidget& w, QPointF at, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, w.mapToGlobal(at), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
}

void Wheel(QWidget& w, QPointF at, int angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWheelEvent event(at, w.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &event);
}

// Whether the pixels of a bar lie between the x of its start and of its end,
// as far as the body shows them.
void ExpectDrawnOnItsDates(GanttView& view, const GanttBar& bar, const char* when)
{
    const GanttFrame frame = view.Frame();
    const QImage image = view.grab().toImage();
    const double x0 = frame.X(DayOf(bar.start)), x1 = frame.X(DayOf(bar.end));
    const double left = frame.body.left() + 4, right = frame.body.right() - 4;
    const int y = static_cast<int>(frame.Y(bar.row));
    ASSERT_GT(std::min(x1, right) - std::max(x0, left), 8) << when;
    const auto at = [&](double x) { return image.pixelColor(static_cast<int>(std::floor(x)), y); };
    EXPECT_EQ(at((std::max(x0, left) + std::min(x1, right)) / 2), bar.color) << when;
    if (x0 > left) {
        EXPECT_EQ(at(x0 + 2), bar.color) << when;
        EXPECT_NE(at(x0 - 3), bar.color) << when;
    }
    if (x1 < right) {
        EXPECT_EQ(at(x1 - 3), bar.color) << when;
        EXPECT_NE(at(x1 + 3), bar.color) << when;
    }
}

TEST(GanttView, BarsAreFoundWhereTheyAreDrawnAndFollowTheRowAxis)
{
    GanttView view;
    view.resize(800, 400);
    view.SetRowAxis(0, 11);
    view.AddBar({Day(2025, 1, 1), Day(2025, 1, 31), 1, "A", Qt::cyan, {}});
    view.AddBar({Day(2025, 1, 10), Day(2025, 1, 20), 2, "B", Qt::blue, {}});
    view.AddBar({Day(2025, 3, 1), Day(2025, 3, 1), 3, "C", Qt::green, {}});  // no length

    auto range = view.DateRange();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, Day(2025, 1, 1));
    EXPECT_EQ(range->second, Day(2025, 3, 1));

    // Row 1 above row 2 (inverted axis), a later day further right.
    QRectF a = view.BarRect(0), b = view.BarRect(1), c = view.BarRect(2);
    EXPECT_LT(a.center().y(), b.center().y());
    EXPECT_LT(b.left(), c.left());
    EXPECT_GE(c.width(), 2);
    EXPECT_EQ(view.BarAt(a.center().toPoint()), 0);
    EXPECT_EQ(view.BarAt(c.center().toPoint()), 2);
    EXPECT_EQ(view.BarAt(QPoint(2, 2)), -1);

    // A left click reports the row and marks it; a right click loads nothing.
    QSignalSpy clicked(&view, &GanttView::barClicked);
    Click(view, a.center(), Qt::RightButton);
    EXPECT_TRUE(clicked.empty());
    Click(view, b.center());
    ASSERT_EQ(clicked.size(), 1);
    EXPECT_EQ(clicked[0][0].toInt(), 1);
    EXPECT_DOUBLE_EQ(clicked[0][1].toDouble(), 2.0);
    EXPECT_EQ(view.HighlightedRow(), 2.0);

    // Scrolled ten rows on, row 1 lies above the plot and cannot be hit.
    view.ScrollRows(10);
    EXPECT_DOUBLE_EQ(view.RowMinimum(), 10);
    EXPECT_EQ(view.BarAt(view.BarRect(0).center().toPoint()), -1);
    view.ScrollRows(-10);
    EXPECT_EQ(view.BarAt(view.BarRect(0).center().toPoint()), 0);

    const QImage image = view.grab().toImage();
    EXPECT_EQ(image.pixelColor(view.BarRect(0).center().toPoint()), QColor(Qt::cyan));
    EXPECT_EQ(image.pixelColor(view.BarRect(2).center().toPoint()), QColor(Qt::green));

    // The saved image is the chart without scroll bars, at the view's size.
    QTemporaryDir folder;
    const QString file = folder.filePath("chart.png");
    ASSERT_TRUE(view.SaveImage(file));
    const QImage saved(file);
    EXPECT_EQ(saved.size(), view.size());
    const GanttFrame frame = widgets::ImageFrame(view.Frame(), view.size());
    const QRect savedBar =
        widgets::BarRect(frame, *timeline::Place(Day(2025, 1, 10), Day(2025, 1, 20), 2));
    EXPECT_EQ(saved.pixelColor(savedBar.center()), QColor(Qt::blue));

    view.Clear();
    EXPECT_FALSE(view.DateRange());
    view.grab();  // an empty chart paints without trouble
}

TEST(GanttView, ZoomAndPanKeepEveryBarOnItsDatesAndTheWheelScrollsWholeRows)
{
    GanttView view;
    view.resize(900, 400);
    view.SetRowAxis(0, 11);
    for (int row = 1; row <= 30; ++row)
        view.AddBar({Day(2024, 1, 1).addDays(row * 7),
                     Day(2024, 3, 1).addDays(row * 7),
                     double(row),
                     QString("row %1").arg(row),
                     QColor(0, 0, 255),
                     {}});
    const GanttBar& fifth = view.Bars()[4];
    ExpectDrawnOnItsDates(view, fifth, "fitted");

    const QPointF pointer(500, view.Frame().Y(5));
    const double under = view.Frame().scale.DayAt(pointer.x() - view.Frame().body.left());
    Wheel(view, pointer, 240, Qt::ControlModifier);
    EXPECT_FALSE(view.FollowsBars());
    EXPECT_NEAR(view.Frame().scale.DayAt(pointer.x() - view.Frame().body.left()), under, 1e-6);
    ExpectDrawnOnItsDates(view, fifth, "zoomed in");

    const double first = view.Frame().scale.FirstDay();
    Wheel(view, pointer, -120, Qt::ShiftModifier);  // towards later days, as a wheel scrolls down
    EXPECT_GT(view.Frame().scale.FirstDay(), first);
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, QPoint(300, 390));
    QTest::mouseMove(&view, QPoint(200, 390));
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, QPoint(200, 390));
    ExpectDrawnOnItsDates(view, fifth, "panned");

    QTest::keyClick(&view, Qt::Key_Minus);
    ExpectDrawnOnItsDates(view, fifth, "zoomed out");
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_TRUE(view.FollowsBars());

    // One notch, one row; never further than the last row one row above the bottom.
    Wheel(view, pointer, -120);
    EXPECT_EQ(view.RowMinimum(), 1);
    EXPECT_EQ(view.RowMaximum(), 12);
    for (int i = 0; i < 5; ++i)
        Wheel(view, pointer, -120 * 1000);  // flung hard
    EXPECT_EQ(view.RowMinimum(), 20);
    const QRectF row25 = view.BarRect(24);
    QSignalSpy clicked(&view, &GanttView::barClicked);
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, row25.center().toPoint());
    ASSERT_EQ(clicked.size(), 1);
    EXPECT_DOUBLE_EQ(clicked[0][1].toDouble(), 25.0);

    // The label column's edge drags wider.
    const double edge = view.Frame().labels.right();
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, QPoint(int(edge), 200));
    QTest::mouseMove(&view, QPoint(int(edge) + 60, 200));
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, QPoint(int(edge) + 60, 200));
    EXPECT_NEAR(view.LabelWidth(), edge + 60, 1.5);
}

TEST(GanttView, HeaderLabelsAndTicksNeverMeetFromOneDayToEightThousandYears)
{
    for (int width : {320, 1200, 5000}) {
        GanttView view;
        view.resize(width, 300);
        view.ShowDays(DayOf(QDate(1899, 12, 30)), 1);
        int steps = 0;
        while (true) {
            const GanttFrame frame = view.Frame();
            const timeline::TimelineLayout layout = widgets::LayOutHeader(frame);
            for (const timeline::Tier* tier : {&layout.lower, &layout.upper}) {
                for (size_t i = 0; i < tier->labels.size(); ++i) {
                    const timeline::TierLabel& label = tier->labels[i];
                    EXPECT_GE(label.left, 0) << width << " " << frame.scale.Days();
                    EXPECT_LE(label.left + label.width, frame.body.width());
                    if (i > 0) {
                        const timeline::TierLabel& before = tier->labels[i - 1];
                        EXPECT_LE(before.left + before.width, label.left)
                            << width << " " << frame.scale.Days() << " "
                            << label.text.toStdString();
                    }
                }
            }
            for (size_t i = 1; i < layout.lower.boundaries.size(); ++i)
                EXPECT_GE(frame.scale.X(layout.lower.boundaries[i]) -
                              frame.scale.X(layout.lower.boundaries[i - 1]),
                          2 * timeline::kLabelPadding)
                    << width << " " << frame.scale.Days();
            if (frame.scale.Days() >= 8000 * 365.25 || ++steps > 200)
                break;
            view.ZoomAt(frame.body.center().x(), 1 / 1.25);
        }
        EXPECT_LT(steps, 200) << width;
        EXPECT_FALSE(widgets::LayOutHeader(view.Frame()).upper.labels.empty()) << width;
    }
}

TEST(GanttView, TodaysLineLiesAtTodayAndAnEmptyChartShowsItsMonth)
{
    GanttView view;
    view.resize(900, 300);
    view.SetToday(QDate(2024, 4, 10));
    EXPECT_EQ(view.Frame().scale.FirstDay(), DayOf(QDate(2024, 4, 1)));
    EXPECT_EQ(view.Frame().scale.Days(), 30);

    view.AddBar({Day(2024, 1, 1), Day(2024, 9, 1), 1, "A", Qt::cyan, {}});
    view.ShowDays(DayOf(QDate(2024, 4, 9)), 3);  // today is the middle third
    const GanttFrame frame = view.Frame();
    const QImage image = view.grab().toImage();
    const int y = static_cast<int>(frame.body.bottom() - 5);
    int reddest = -1;
    for (int x = static_cast<int>(frame.body.left()); x < frame.body.right(); ++x)
        if (image.pixelColor(x, y) == QColor(220, 0, 0))
            reddest = x;
    EXPECT_GT(reddest, frame.X(DayOf(QDate(2024, 4, 10))));
    EXPECT_LT(reddest, frame.X(DayOf(QDate(2024, 4, 11))));
}

TEST(GanttView, StoredDatesAnyProgramMayHaveWrittenNeitherCrashNorFreeze)
{
    GanttView view;
    view.resize(1200, 600);
    view.SetRowAxis(0, 11);
    view.AddBar({Day(1899, 12, 30), Day(1900, 1, 5), 1, "old", Qt::cyan, {}});
    view.AddBar({Day(9999, 12, 31), Day(9999, 12, 31).addDays(1), 2, "late", Qt::green, {}});
    view.AddBar({Day(2024, 5, 10), Day(2024, 3, 1), 3, "backwards", Qt::blue, {}});
    view.AddBar({Day(1899, 12, 30), Day(9999, 12, 31), 4, "all", Qt::red, {}});
    view.grab();
    // The backwards bar is one day at its start; the longest stays drawn at one day's zoom.
    view.ShowDays(DayOf(QDate(2024, 5, 9)), 3);
    ExpectDrawnOnItsDates(view, {Day(2024, 5, 10), Day(2024, 5, 11), 3, "", Qt::blue, {}},
                          "backwards");
    const QImage image = view.grab().toImage();
    EXPECT_EQ(image.pixelColor(view.Frame().body.center().toPoint().x(),
                               static_cast<int>(view.Frame().Y(4))),
              QColor(Qt::red));

    for (int i = 0; i < 100000; ++i)
        view.AddBar({Day(2020, 1, 1).addDays(i % 2000),
                     Day(2020, 1, 1).addDays(i % 2000 + 30),
                     double(i / 3),
                     "bar",
                     Qt::cyan,
                     {}});
    QElapsedTimer timer;
    timer.start();
    view.SetRowAxis(0, 100000 / 3.0);
    view.FitAll();
    view.grab();
    view.SetRowAxis(0, 11);
    for (int i = 0; i < 50; ++i)
        Wheel(view, QPointF(600, 300), i % 2 ? 120 * 50 : -120 * 50, Qt::ControlModifier);
    view.grab();
    EXPECT_LT(timer.elapsed(), 5000);

    view.setMinimumSize(0, 0);
    for (QSize size : {QSize(400, 40), QSize(5000, 300), QSize(30, 10)}) {
        view.resize(size);
        EXPECT_EQ(view.grab().size(), size);
    }
}

TEST(GanttView, TooltipsNameTheBarWhatItIsAndItsDays)
{
    const QString kind = QString::fromUtf8("納品");
    EXPECT_EQ(widgets::BarToolTip({Day(2024, 4, 1), Day(2024, 4, 2), 1, "P", Qt::green, kind}),
              QString::fromUtf8("P\n納品：2024/04/01"));
    EXPECT_EQ(widgets::BarToolTip({Day(2024, 2, 1), Day(2024, 2, 15), 1, "A", Qt::cyan, {}}),
              QString::fromUtf8("A\n2024/02/01～2024/02/15"));
    const QDateTime sixAm = Day(2024, 1, 10).addSecs(6 * 3600);
    EXPECT_EQ(widgets::BarToolTip({sixAm, sixAm.addDays(1), 1, "A1", Qt::red, {}}),
              QString::fromUtf8("A1\n2024/01/10"));

    // A label cut short by its column shows in full over the column.
    GanttView view;
    view.resize(600, 300);
    const QString name = QString::fromUtf8("とても長い名前の図面ファイル.jww");
    view.AddBar({Day(2024, 1, 1), Day(2024, 2, 1), 3, name, Qt::cyan, {}});
    view.SetLabelWidth(60);
    const QPoint at(20, static_cast<int>(view.Frame().Y(3)));
    QHelpEvent help(QEvent::ToolTip, at, view.mapToGlobal(at));
    QApplication::sendEvent(&view, &help);
    EXPECT_EQ(QToolTip::text(), name);
    QToolTip::hideText();
}

TEST(GanttView, SavesImagesAndPrintsEveryRowAndSaysWhenASaveFails)
{
    GanttView view;
    view.resize(900, 400);
    for (int row = 1; row <= 100; ++row)
        view.AddBar(
            {Day(2024, 1, 1), Day(2024, 6, 1).addDays(row), double(row), "P", Qt::cyan, {}});
    QTemporaryDir folder;
    std::vector<QString> messages;
    view.SetMessenger([&messages](const QString& m) { messages.push_back(m); });

    QString chosen = folder.filePath("chart.svg");
    view.SetSavePathChooser([&chosen](const QString&, const QString&) { return chosen; });
    view.SaveImageAs();
    QFile svg(chosen);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().contains("<svg"));
    EXPECT_TRUE(messages.empty());

    chosen = folder.filePath("missing/chart.png");
    view.SaveImageAs();
    chosen = folder.filePath("missing/chart.pdf");
    view.SavePdfAs();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[0].startsWith(QString::fromUtf8(widgets::gantt_texts::kImageNotSaved)));
    EXPECT_TRUE(messages[0].contains("chart.png"));
    EXPECT_TRUE(messages[1].startsWith(QString::fromUtf8(widgets::gantt_texts::kPdfNotSaved)));

    // Printed: every row on as many pages as it takes, each with its header.
    const QString printed = folder.filePath("printed.pdf");
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    int counted = 0;
    view.SetPrintPreview([&](QPrinter& printer, int pages, std::function<void(QPrinter*)> paint) {
        orientation = printer.pageLayout().orientation();
        counted = pages;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        paint(&printer);
    });
    view.PrintChart();
    EXPECT_EQ(orientation, QPageLayout::Landscape);
    QFile pdf(printed);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    const int pages = bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r");
    const std::vector<GanttFrame> frames =
        widgets::PageFrames(widgets::GanttContent(), view.Frame(), QSizeF(1047, 718));
    EXPECT_GT(pages, 1);
    const int perPage = static_cast<int>(std::lround(frames.front().rows.Span()));
    EXPECT_EQ(pages, (100 + perPage - 1) / perPage);
    EXPECT_EQ(counted, pages);
    EXPECT_EQ(messages.size(), 2u);
}

TEST(GanttView, APrintTooLongToPreviewGoesToThePrintDialogUndrawn)
{
    // Every year from 1900 to 9999 on a row of its own: thousands of pages.
    GanttView view;
    view.resize(900, 400);
    for (int year = 1900; year <= 9999; ++year)
        view.AddBar({Day(year, 1, 1), Day(year, 12, 31), double(year), "P", Qt::cyan, {}});
    int counted = 0;
    QElapsedTimer clock;
    clock.start();
    view.SetPrintPreview(
        [&](QPrinter&, int pages, std::function<void(QPrinter*)>) { counted = pages; });
    view.PrintChart();
    EXPECT_GT(counted, widgets::kPreviewPageLimit);
    EXPECT_LT(clock.elapsed(), 2000);

    // The shared choice: the print dialog for that many pages, nothing drawn
    // when it is cancelled; the preview, drawn, for a short document.
    QPrinter printer;
    int drawn = 0;
    QString opened;
    const auto cancel = [&opened](QWidget* modal) {
        opened = QString::fromLatin1(modal->metaObject()->className());
        static_cast<QDialog*>(modal)->reject();
    };
    testing_support::WhenModalOpens(cancel);
    widgets::PreviewOrPrint(nullptr, printer, counted, [&drawn](QPrinter&) { ++drawn; });
    EXPECT_EQ(opened, "QPrintDialog");
    EXPECT_EQ(drawn, 0);
    testing_support::WhenModalOpens(cancel);
    widgets::PreviewOrPrint(nullptr, printer, widgets::kPreviewPageLimit,
                            [&drawn](QPrinter&) { ++drawn; });
    EXPECT_EQ(opened, "QPrintPreviewDialog");
    EXPECT_GE(drawn, 1);
}

}  // namespace
