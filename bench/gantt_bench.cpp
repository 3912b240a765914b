// Repaint of a chart with 10,000 bars, offscreen, as one frame is drawn.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "widgets/gantt_view.h"

namespace {

void FillChart(widgets::GanttView& view, int bars)
{
    const QDateTime origin(QDate(2025, 1, 1), QTime(0, 0));
    const QColor colours[] = {Qt::cyan, Qt::blue, Qt::green, Qt::red, Qt::yellow};
    for (int i = 0; i < bars; ++i) {
        QDateTime start = origin.addDays(i % 700);
        view.AddBar({start, start.addDays(1 + i % 30), static_cast<double>(i / 3),
                     QString("row %1").arg(i / 3), colours[i % 5]});
    }
}

void Repaint(benchmark::State& state, double rowMaximum)
{
    widgets::GanttView view;
    view.resize(1200, 700);
    FillChart(view, static_cast<int>(state.range(0)));
    view.SetRowAxis(0, rowMaximum);
    QImage frame(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.render(&frame);
        benchmark::DoNotOptimize(frame.bits());
    }
}

// The rows a window shows (about 35), and every row at once.
void RepaintVisibleRows(benchmark::State& state)
{
    Repaint(state, 35);
}
void RepaintAllRows(benchmark::State& state)
{
    Repaint(state, state.range(0) / 3.0 + 1);
}

BENCHMARK(RepaintVisibleRows)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RepaintAllRows)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
