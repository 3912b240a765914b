// The drawing list and the drawing chart of the project node of a large
// project, next to a plain fetch of the project's drawing table: both pages
// should cost a small multiple of reading that table and grow linearly.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabWidget>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "drawings/name_dialog.h"
#include "drawings/project_detail_window.h"
#include "screen_support.h"
#include "storage/database.h"
#include "storage/schema.h"
#include "text/platform.h"
#include "widgets/gantt_view.h"
#include "widgets/string_grid.h"

namespace {

using bench_support::Fail;

constexpr int kSmall = 10000;
constexpr int kLarge = 20000;
constexpr int kIterations = 5;
constexpr int kInformationPage = 0;
constexpr int kListPage = 1;
constexpr int kChartPage = 2;

bench_support::ScreenFixture* g = nullptr;

// `nodes` nodes, 50 groups under the project node and the rest spread under
// them, each with a drawing row: a file, dates over a year, and stamps on
// every third drawing, some on one day so that the stagger rules run.
storage::Lines FillLines(int project, int nodes)
{
    const std::string n = std::to_string(project);
    return {
        "EXECUTE BLOCK AS",
        "  DECLARE I INTEGER = 1;",
        "  DECLARE D DATE;",
        "BEGIN",
        "  WHILE (I <= " + std::to_string(nodes) + ") DO",
        "  BEGIN",
        "    D = DATEADD(MOD(I, 300) DAY TO DATE '2024-01-01');",
        "    INSERT INTO ZPRJ_" + n + " (N, NAME, MN, PARENT_N)",
        "      VALUES (:I, 'plan-' || :I || '.jww', 1, IIF(:I <= 50, 0, MOD(:I, 50) + 1));",
        "    INSERT INTO ZMN_" + n +
            " (N, FILE_NAME, PATH_NAME, MEMO1, MN, DDATE, UDATE, KN, KDATE, AN, ADATE,"
            " PN, PDATE, RN, RDATE)",
        "      VALUES (:I, 'plan-' || :I || '.jww', '/office/plans/', 'memo ' || :I, 1,",
        "        REPLACE(CAST(:D AS VARCHAR(10)), '-', ''),",
        "        REPLACE(CAST(DATEADD(20 DAY TO :D) AS VARCHAR(10)), '-', ''),",
        "        1, IIF(MOD(:I, 3) = 0, REPLACE(CAST(:D AS VARCHAR(10)), '-', ''), NULL),",
        "        1, IIF(MOD(:I, 3) = 0, REPLACE(CAST(:D AS VARCHAR(10)), '-', ''), NULL),",
        "        0, NULL, 0, NULL);",
        "    I = I + 1;",
        "  END",
        "END",
    };
}

void CreateProjects()
{
    storage::Database& db = g->db;
    for (int nodes : {kSmall, kLarge}) {
        const std::string n = std::to_string(nodes);
        bench_support::AddProject(db, nodes, "Project " + n, {"PDATE1", "PDATE2", "NDATE"},
                                  {"'20240101'", "'20241231'", "'20250110'"});
        if (!db.ExecuteDdl(FillLines(nodes, nodes)))
            Fail("cannot fill project " + n);
        if (db.SelectAllWhere("ZMN_" + n, "") != nodes)
            Fail("project " + n + " does not hold " + n + " drawings");
    }
    std::printf("database: %s\n", g->path.c_str());
}

void PlainFetch(benchmark::State& state)
{
    const int nodes = static_cast<int>(state.range(0));
    bench_support::PlainFetch(state, g->db, "ZMN_" + std::to_string(nodes), "", "",
                              storage::kDrawingColumns, nodes);
}

// The window open on the project node; each iteration leaves the page and
// comes back to it, which fills it afresh (not timed: leaving, and painting).
void Page(benchmark::State& state, int page)
{
    const int nodes = static_cast<int>(state.range(0));
    g->globals.CurrentProjectNo = nodes;
    const widgets::ScreenContext context = g->Context();
    drawings::TForm11 nameDialog(context);
    drawings::TForm10 window(context, &nameDialog);
    window.show();
    QApplication::processEvents();
    auto* pages = window.findChild<QTabWidget*>("PageControl1");
    for (auto _ : state) {
        state.PauseTiming();
        pages->setCurrentIndex(kInformationPage);
        state.ResumeTiming();
        pages->setCurrentIndex(page);
    }
    if (page == kListPage && window.findChild<widgets::StringGrid*>("SG1")->RowCount() != nodes + 2)
        Fail("the list does not show every node");
    if (page == kChartPage &&
        window.findChild<widgets::GanttView*>("Chart1")->Bars().size() < static_cast<size_t>(nodes))
        Fail("the chart does not show every drawing");
    window.close();
}

void List(benchmark::State& state)
{
    Page(state, kListPage);
}

void Chart(benchmark::State& state)
{
    Page(state, kChartPage);
}

}  // namespace

int main(int argc, char** argv)
{
    bench_support::QuietOffscreen();
    text::PinLocalTimeZone();  // as the application does at start
    QApplication app(argc, argv);
    if (!bench_support::Initialize(argc, argv))
        return EXIT_FAILURE;

    bench_support::ScreenFixture fixture;
    g = &fixture;
    CreateProjects();

    bench_support::Register("PlainFetch", PlainFetch, kIterations, {kSmall, kLarge});
    bench_support::Register("List", List, kIterations, {kSmall, kLarge});
    bench_support::Register("Chart", Chart, kIterations, {kSmall, kLarge});

    bench_support::CapturingReporter reporter;
    bench_support::RunAll(reporter);

    std::printf("\n");
    for (const char* page : {"List", "Chart"}) {
        const double small = reporter.Seconds(page, kSmall);
        const double large = reporter.Seconds(page, kLarge);
        bench_support::PrintRatio(std::string(page) + " 20000 / 10000 nodes", large, small, {2.2});
        bench_support::PrintRatio(std::string(page) + " / plain fetch, 10000 nodes", small,
                                  reporter.Seconds("PlainFetch", kSmall), {5});
        bench_support::PrintRatio(std::string(page) + " / plain fetch, 20000 nodes", large,
                                  reporter.Seconds("PlainFetch", kLarge), {5});
    }
    return EXIT_SUCCESS;
}
