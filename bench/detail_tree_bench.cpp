// Opening the detail window of a project with a large name tree: the window is
// shown offscreen, which reads the project, its tree and builds the items,
// next to a plain fetch of the same tree table. Opening should grow linearly
// with the tree and cost a small multiple of reading it.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QDate>
#include <QLoggingCategory>
#include <QTreeWidget>
#include <chrono>
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
#include "widgets/ui_ports.h"

namespace {

using bench_support::SilentPorts;

namespace fs = std::filesystem;

constexpr int kSmall = 10000;
constexpr int kLarge = 20000;
constexpr int kIterations = 10;

[[noreturn]] void Fail(const std::string& message)
{
    std::fprintf(stderr, "bench_detail_tree: %s\n", message.c_str());
    std::exit(EXIT_FAILURE);
}

struct Fixture {
    fs::path folder;
    std::string path;
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

// Project n with `nodes` tree rows, in one statement: the first 20 nodes are
// groups under the project node, every later one hangs under an earlier node,
// a few under a later one (placed under the project node). Names are CP932:
// 図面 and the number.
storage::Lines FillTreeLines(int project, int nodes)
{
    const std::string table = "ZPRJ_" + std::to_string(project);
    return {
        "EXECUTE BLOCK AS",
        "  DECLARE I INTEGER = 1;",
        "BEGIN",
        "  WHILE (I <= " + std::to_string(nodes) + ") DO",
        "  BEGIN",
        "    INSERT INTO " + table + " (N, NAME, MN, PARENT_N)",
        "      VALUES (:I, '\x90\x7D\x96\xCA' || :I, MOD(:I, 7),",
        "        IIF(:I <= 20, 0, IIF(MOD(:I, 97) = 0, :I + 5, MOD(:I * 7919, :I - 1) + 1)));",
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
    g->path = (g->folder / "ZUMENDB.FDB").string();
    storage::Database& db = g->db;
    db.CreateDatabase(g->path);
    if (!db.Connected())
        Fail("cannot create " + g->path);
    if (!storage::CreateProjectTable(db))
        Fail("cannot create ZPROJECT");
    auto start = std::chrono::steady_clock::now();
    for (int nodes : {kSmall, kLarge}) {
        const std::string n = std::to_string(nodes);
        if (!db.InsertRow("ZPROJECT", {"N", "MN", "PRNAME"}, {n, "1", "'Project " + n + "'"}))
            Fail("cannot insert project " + n);
        if (!storage::CreateNameTreeTable(db, "ZPRJ_" + n) ||
            !storage::CreateDrawingTable(db, "ZMN_" + n) ||
            !storage::CreateRevisionTable(db, "REV_" + n))
            Fail("cannot create the tables of project " + n);
        if (!db.InsertRow("ZPRJ_" + n, {"N", "NAME", "MN", "PARENT_N"},
                          {"0", "'Project " + n + "'", "1", "0"}) ||
            !db.ExecuteDdl(FillTreeLines(nodes, nodes)))
            Fail("cannot fill the tree of project " + n);
        if (db.SelectAllWhere("ZPRJ_" + n, "N>0") != nodes)
            Fail("project " + n + " does not hold " + n + " nodes");
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("database: %s, trees of %d and %d nodes filled in %.2f s\n", g->path.c_str(),
                kSmall, kLarge, seconds);
}

// What a reader of the whole tree table does, and nothing more.
void PlainFetch(benchmark::State& state)
{
    const int nodes = static_cast<int>(state.range(0));
    const std::string table = "ZPRJ_" + std::to_string(nodes);
    storage::Row row(storage::kNameTreeColumns);
    for (auto _ : state) {
        const int count = g->db.SelectOrdered("*", table, "N>0", "N");
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

int CountItems(QTreeWidget* tree)
{
    int count = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        ++count;
    return count;
}

// A new window shown offscreen for the project: FormShow with its tables
// checked, the tree read and placed, the items built and the project node shown.
void OpenDetail(benchmark::State& state)
{
    const int nodes = static_cast<int>(state.range(0));
    g->globals.CurrentProjectNo = nodes;
    widgets::ScreenContext context{g->db, g->globals, g->ports};
    drawings::TForm11 nameDialog(context);
    for (auto _ : state) {
        auto* window = new drawings::TForm10(context, &nameDialog);
        window->show();
        QApplication::processEvents();
        state.PauseTiming();
        auto* tree = window->findChild<QTreeWidget*>("TreeView1");
        if (!tree || CountItems(tree) != nodes + 1)
            Fail("the window does not show every node");
        window->close();
        delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

class CapturingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            Total& t = totals_[run.benchmark_name()];
            t.seconds += run.real_accumulated_time;
            t.iterations += run.iterations;
        }
    }

    double Seconds(const std::string& name) const
    {
        auto it = totals_.find(name);
        return it == totals_.end() || it->second.iterations == 0
                   ? -1
                   : it->second.seconds / static_cast<double>(it->second.iterations);
    }

private:
    struct Total {
        double seconds = 0;
        benchmark::IterationCount iterations = 0;
    };
    std::map<std::string, Total> totals_;
};

void PrintRatio(const char* label, double numerator, double denominator, double goal)
{
    if (numerator < 0 || denominator <= 0) {
        std::printf("%s: not measured in this run\n", label);
        return;
    }
    const double r = numerator / denominator;
    std::printf("%s: %.2f  (goal <= %.1f: %s)\n", label, r, goal, r <= goal ? "met" : "MISSED");
}

std::string Name(const char* function, int nodes)
{
    return std::string(function) + "/" + std::to_string(nodes) +
           "/iterations:" + std::to_string(kIterations) + "/real_time";
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QLoggingCategory::setFilterRules("*.debug=false\n*.warning=false");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return EXIT_FAILURE;

    Fixture fixture;
    g = &fixture;
    CreateProjects();
    std::fflush(stdout);

    for (auto* fn : {&PlainFetch, &OpenDetail}) {
        benchmark::RegisterBenchmark(fn == &PlainFetch ? "PlainFetch" : "OpenDetail", fn)
            ->Arg(kSmall)
            ->Arg(kLarge)
            ->UseRealTime()
            ->Iterations(kIterations)
            ->Unit(benchmark::kMillisecond);
    }

    CapturingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double open10 = reporter.Seconds(Name("OpenDetail", kSmall));
    const double open20 = reporter.Seconds(Name("OpenDetail", kLarge));
    const double fetch10 = reporter.Seconds(Name("PlainFetch", kSmall));
    const double fetch20 = reporter.Seconds(Name("PlainFetch", kLarge));
    std::printf("\n");
    PrintRatio("ratio open 20000 / open 10000 nodes", open20, open10, 2.2);
    PrintRatio("ratio open / plain fetch, 10000 nodes", open10, fetch10, 5);
    PrintRatio("ratio open / plain fetch, 20000 nodes", open20, fetch20, 5);
    return EXIT_SUCCESS;
}
