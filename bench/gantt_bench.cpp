// The Gantt chart with 10,000 bars repainted offscreen, as one frame is drawn:
// the rows a window shows and every row at once, at the whole-span zoom of a
// chart reaching from 1900 to 9999 and at a one-month zoom; the cost must follow
// what is visible, not the days in the span. Then the project chart opened on
// 100 projects spanning 1900 to 9999 and on 100 within one year, which should
// cost about the same.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "projects/project_chart_logic.h"
#include "projects/project_chart_window.h"
#include "screen_support.h"
#include "storage/database.h"
#include "text/platform.h"
#include "timeline/time_scale.h"
#include "widgets/gantt_view.h"

namespace {

using bench_support::Fail;

constexpr int kBars = 10000;
constexpr int kRepaints = 30;
constexpr int kOpenings = 10;
// The two cases of each benchmark: the whole span of 1900 to 9999, and the
// narrow one (a one-month zoom for repaints, projects within one year for opening).
constexpr int kWholeSpan = 0;
constexpr int kNarrow = 1;
constexpr double kWindowRows = 35;

// Three bars a row over two years from 2025, one reaching back to 1900 and one
// on to 9999.
void FillChart(widgets::GanttView& view)
{
    const QDateTime origin(QDate(2025, 1, 1), QTime(0, 0));
    const QColor colours[] = {Qt::cyan, Qt::blue, Qt::green, Qt::red, Qt::yellow};
    for (int i = 0; i < kBars; ++i) {
        QDateTime start =
            i == 0 ? QDateTime(QDate(1900, 1, 1), QTime(0, 0)) : origin.addDays(i % 700);
        QDateTime end =
            i == 1 ? QDateTime(QDate(9999, 12, 31), QTime(0, 0)) : start.addDays(1 + i % 30);
        view.AddBar({start,
                     end,
                     static_cast<double>(i / 3),
                     QString("row %1").arg(i / 3),
                     colours[i % 5],
                     {}});
    }
}

void Repaint(benchmark::State& state, double rows)
{
    widgets::GanttView view;
    view.resize(1200, 700);
    FillChart(view);
    view.SetRowAxis(0, rows);
    if (state.range(0) == kNarrow)
        view.ShowDays(timeline::DayOf(QDate(2025, 3, 1)), 31);
    QImage frame(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.render(&frame);
        benchmark::DoNotOptimize(frame.bits());
    }
}

void RepaintWindowRows(benchmark::State& state)
{
    Repaint(state, kWindowRows);
}

void RepaintAllRows(benchmark::State& state)
{
    Repaint(state, kBars / 3 + 1);
}

bench_support::ScreenFixture* g = nullptr;

// Projects 1-100 span 1900 to 9999 and are not done; 101-200 lie within 2025
// and are done, so the chart's filter picks either set.
void CreateProjects()
{
    const storage::Lines lines = {
        "EXECUTE BLOCK AS",
        "  DECLARE I INTEGER = 1;",
        "BEGIN",
        "  WHILE (I <= 200) DO",
        "  BEGIN",
        "    IF (I <= 100) THEN",
        "      INSERT INTO ZPROJECT (N, MN, CN, PRNAME, PDATE1, PDATE2, DATE1, DATE2, NDATE, ENDF)",
        "        VALUES (:I, 1, 0, 'P' || :I, (1900 + :I) || '0101', '99991231',",
        "          (1950 + :I) || '0601', (9000 + :I) || '1231', '99991231', 0);",
        "    ELSE",
        "      INSERT INTO ZPROJECT (N, MN, CN, PRNAME, PDATE1, PDATE2, DATE1, DATE2, NDATE, ENDF)",
        "        VALUES (:I, 1, 0, 'P' || :I, '20250101', '20251201',",
        "          '20250115', '20251215', '20251220', 1);",
        "    I = I + 1;",
        "  END",
        "END",
    };
    if (!g->db.ExecuteDdl(lines))
        Fail("cannot fill the projects");
}

// A new chart window shown and painted once, as the menu opens it.
void OpenChart(benchmark::State& state)
{
    g->globals.settings.ChartStartDate.clear();
    g->globals.settings.ChartEndDate.clear();
    g->globals.settings.ChartFilter =
        state.range(0) == kWholeSpan ? projects::kChartUnfinished : projects::kChartFinished;
    g->globals.settings.ChartWidth = 1000;
    g->globals.settings.ChartHeight = 700;
    size_t bars = 0;
    for (auto _ : state) {
        projects::TForm9 window(g->Context());
        window.show();
        window.repaint();
        bars = window.chart()->Bars().size();
        state.PauseTiming();
        window.close();
        state.ResumeTiming();
    }
    if (bars != 300)
        Fail("the chart shows " + std::to_string(bars) + " bars, not 300");
}

void PrintWithin(const std::string& label, double seconds, double limitMs)
{
    if (seconds < 0) {
        std::printf("%s: not measured in this run\n", label.c_str());
        return;
    }
    std::printf("%s: %.2f ms  (goal <= %.0f ms: %s)\n", label.c_str(), seconds * 1000, limitMs,
                seconds * 1000 <= limitMs ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char** argv)
{
    bench_support::QuietOffscreen();
    text::PinLocalTimeZone();
    QApplication application(argc, argv);
    if (!bench_support::Initialize(argc, argv))
        return EXIT_FAILURE;

    bench_support::ScreenFixture fixture;
    g = &fixture;
    CreateProjects();

    bench_support::Register("RepaintWindowRows", RepaintWindowRows, kRepaints,
                            {kWholeSpan, kNarrow});
    bench_support::Register("RepaintAllRows", RepaintAllRows, kRepaints, {kWholeSpan, kNarrow});
    bench_support::Register("OpenChart", OpenChart, kOpenings, {kWholeSpan, kNarrow});

    bench_support::CapturingReporter reporter;
    bench_support::RunAll(reporter);

    std::printf("\n");
    for (const char* name : {"RepaintWindowRows", "RepaintAllRows"})
        for (int zoom : {kWholeSpan, kNarrow})
            PrintWithin(std::string(name) + (zoom == kWholeSpan ? ", 1900-9999" : ", one month"),
                        reporter.Seconds(name, zoom),
                        std::string(name) == "RepaintWindowRows" ? 16 : 30);
    bench_support::PrintRatio("OpenChart 1900-9999 / one year",
                              reporter.Seconds("OpenChart", kWholeSpan),
                              reporter.Seconds("OpenChart", kNarrow), {2});
    return EXIT_SUCCESS;
}
