// Opening the detail window of a project with a large name tree: the window is
// shown offscreen, which reads the project, its tree and builds the items,
// next to a plain fetch of the same tree table. Opening should grow linearly
// with the tree and cost a small multiple of reading it.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "drawings/name_dialog.h"
#include "drawings/project_detail_window.h"
#include "screen_support.h"
#include "storage/database.h"
#include "storage/schema.h"

namespace {

using bench_support::Fail;

constexpr int kSmall = 10000;
constexpr int kLarge = 20000;
constexpr int kIterations = 10;

bench_support::ScreenFixture* g = nullptr;

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
    storage::Database& db = g->db;
    auto start = std::chrono::steady_clock::now();
    for (int nodes : {kSmall, kLarge}) {
        const std::string n = std::to_string(nodes);
        bench_support::AddProject(db, nodes, "Project " + n);
        if (!db.ExecuteDdl(FillTreeLines(nodes, nodes)))
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
    bench_support::PlainFetch(state, g->db, "ZPRJ_" + std::to_string(nodes), "N>0", "N",
                              storage::kNameTreeColumns, nodes);
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
    const widgets::ScreenContext context = g->Context();
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

}  // namespace

int main(int argc, char** argv)
{
    bench_support::QuietOffscreen();
    QApplication app(argc, argv);
    if (!bench_support::Initialize(argc, argv))
        return EXIT_FAILURE;

    bench_support::ScreenFixture fixture;
    g = &fixture;
    CreateProjects();

    bench_support::Register("PlainFetch", PlainFetch, kIterations, {kSmall, kLarge});
    bench_support::Register("OpenDetail", OpenDetail, kIterations, {kSmall, kLarge});

    bench_support::CapturingReporter reporter;
    bench_support::RunAll(reporter);

    const double open10 = reporter.Seconds("OpenDetail", kSmall);
    const double open20 = reporter.Seconds("OpenDetail", kLarge);
    const double fetch10 = reporter.Seconds("PlainFetch", kSmall);
    const double fetch20 = reporter.Seconds("PlainFetch", kLarge);
    std::printf("\n");
    bench_support::PrintRatio("ratio open 20000 / open 10000 nodes", open20, open10, {2.2});
    bench_support::PrintRatio("ratio open / plain fetch, 10000 nodes", open10, fetch10, {5});
    bench_support::PrintRatio("ratio open / plain fetch, 20000 nodes", open20, fetch20, {5});
    return EXIT_SUCCESS;
}
