// The drawing list and the drawing chart of the project node of a large
// project, next to a plain fetch of the project's drawing table: both pages
// should cost a small multiple of reading that table and grow linearly.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QDate>
#include <QLoggingCategory>
#include <QTabWidget>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "bench_support.h"
#include "drawings/name_dialog.h"
#include "drawings/project_detail_window.h"
#include "storage/app_globals.h"
#include "storage/database.h"
#include "storage/schema.h"
#include "text/platform.h"
#include "widgets/gantt_view.h"
#include "widgets/string_grid.h"
#include "widgets/ui_ports.h"

namespace {

using bench_support::CapturingReporter;
using bench_support::SilentPorts;

namespace fs = std::filesystem;

constexpr int kSmall = 10000;
constexpr int kLarge = 20000;
constexpr int kIterations = 5;
constexpr int kInformationPage = 0;
constexpr int kListPage = 1;
constexpr int kChartPage = 2;

[[noreturn]] void Fail(const std::string& message)
{
    std::fprintf(stderr, "bench_drawing_pages: %s\n", message.c_str());
    std::exit(EXIT_FAILURE);
}

struct Fixture {
    fs::path folder;
    storage::Database db;
    storage::AppGlobals globals;
    SilentPorts ports;

    ~Fixture()
    {
        db.DisconnectDatabase();
        std::error_code ignored;
        if (!folder.empty())
            fs::remove_all(folder, ignored);
    }
};

Fixture* g = nullptr;

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
    std::string pattern = (fs::temp_directory_path() / "k5x7-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        Fail("cannot make a folder from " + pattern);
    g->folder = pattern;
    const std::string path = (g->folder / "ZUMENDB.FDB").string();
    storage::Database& db = g->db;
    db.CreateDatabase(path);
    if (!db.Connected())
        Fail("cannot create " + path);
    if (!storage::CreateProjectTable(db))
        Fail("cannot create ZPROJECT");
    for (int nodes : {kSmall, kLarge}) {
        const std::string n = std::to_string(nodes);
        if (!db.InsertRow(
                "ZPROJECT", {"N", "MN", "PRNAME", "PDATE1", "PDATE2", "NDATE"},
                {n, "1", "'Project " + n + "'", "'20240101'", "'20241231'", "'20250110'"}) ||
            !storage::CreateNameTreeTable(db, "ZPRJ_" + n) ||
            !storage::CreateDrawingTable(db, "ZMN_" + n) ||
            !storage::CreateRevisionTable(db, "REV_" + n) ||
            !db.InsertRow("ZPRJ_" + n, {"N", "NAME", "MN", "PARENT_N"},
                          {"0", "'Project " + n + "'", "1", "0"}) ||
            !db.ExecuteDdl(FillLines(nodes, nodes)))
            Fail("cannot fill project " + n);
        if (db.SelectAllWhere("ZMN_" + n, "") != nodes)
            Fail("project " + n + " does not hold " + n + " drawings");
    }
    std::printf("database: %s\n", path.c_str());
}

void PlainFetch(benchmark::State& state)
{
    const int nodes = static_cast<int>(state.range(0));
    const std::string table = "ZMN_" + std::to_string(nodes);
    storage::Row row(storage::kDrawingColumns);
    for (auto _ : state) {
        const int count = g->db.SelectOrdered("*", table, "", "");
        int fetched = 0;
        for (int i = 0; i < count; ++i) {
            if (i == 0)
                g->db.FetchFirst(row);
            else
                g->db.FetchNext(row);
            fetched += row[0].empty() ? 0 : 1;
        }
        g->db.CloseQuery();
        if (fetched != nodes)
            Fail("fetched " + std::to_string(fetched) + " rows");
    }
}

// The window open on the project node; each iteration leaves the page and
// comes back to it, which fills it afresh (not timed: leaving, and painting).
void Page(benchmark::State& state, int page)
{
    const int nodes = static_cast<int>(state.range(0));
    g->globals.CurrentProjectNo = nodes;
    widgets::ScreenContext context{g->db, g->globals, g->ports};
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

void PrintRatio(const std::string& label, double numerator, double denominator, double goal)
{
    if (numerator < 0 || denominator <= 0) {
        std::printf("%s: not measured in this run\n", label.c_str());
        return;
    }
    const double r = numerator / denominator;
    std::printf("%s: %.2f  (goal <= %.1f: %s)\n", label.c_str(), r, goal,
                r <= goal ? "met" : "MISSED");
}

std::string Name(const char* function, int nodes)
{
    return std::string(function) + "/" + std::to_string(nodes) + "/";
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    text::PinLocalTimeZone();  // as the application does at start
    QLoggingCategory::setFilterRules("*.debug=false\n*.warning=false");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return EXIT_FAILURE;

    Fixture fixture;
    g = &fixture;
    CreateProjects();
    std::fflush(stdout);

    for (auto [name, fn] :
         {std::pair{"PlainFetch", &PlainFetch}, {"List", &List}, {"Chart", &Chart}})
        benchmark::RegisterBenchmark(name, fn)
            ->Arg(kSmall)
            ->Arg(kLarge)
            ->UseRealTime()
            ->Iterations(kIterations)
            ->Unit(benchmark::kMillisecond);

    CapturingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n");
    for (const char* page : {"List", "Chart"}) {
        const double small = reporter.Seconds(Name(page, kSmall));
        const double large = reporter.Seconds(Name(page, kLarge));
        PrintRatio(std::string(page) + " 20000 / 10000 nodes", large, small, 2.2);
        PrintRatio(std::string(page) + " / plain fetch, 10000 nodes", small,
                   reporter.Seconds(Name("PlainFetch", kSmall)), 5);
        PrintRatio(std::string(page) + " / plain fetch, 20000 nodes", large,
                   reporter.Seconds(Name("PlainFetch", kLarge)), 5);
    }
    return EXIT_SUCCESS;
}
