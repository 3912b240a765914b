// Pages of the project list, read by the list's own page loader, on a table of
// 100,000 projects and on one of 1,000. A page must cost about the same on
// both: the loader fetches only as far as the page reaches, and ordering by
// N walks the unique index. Ordering by NOUKI has no index, so the server
// sorts the whole table first; that figure is what it is.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench_support.h"
#include "projects/project_page_loader.h"
#include "storage/database.h"
#include "storage/schema.h"

namespace {

using bench_support::Fail;

namespace fs = std::filesystem;

constexpr int kLarge = 100000;
constexpr int kSmall = 1000;
constexpr int kIterations = 10;
constexpr int kSortByNouki = 6;  // the ascending due-date item

// A global, so that the folder goes also when a check fails (std::exit runs
// its destructor).
struct Fixture {
    bench_support::TempFolder folder{"k5x7-list-bench"};
    std::map<int, std::string> paths;  // by row count
};

Fixture g;

std::string Quoted(const char* bytes)
{
    return std::string("'") + bytes + "'";
}

// CP932 texts, as the application stores them.
// 東京都港区新築工事 / 大阪支店改修工事 / 名古屋工場増築
const char* const kSites[] = {
    "\x93\x8C\x8B\x9E\x93\x73\x8D\x60\x8B\xE6\x90\x56\x92\x7A\x8D\x48\x8E\x96",
    "\x91\xE5\x8D\xE3\x8E\x78\x93\x58\x89\xFC\x8F\x43\x8D\x48\x8E\x96",
    "\x96\xBC\x8C\xC3\x89\xAE\x8D\x48\x8F\xEA\x91\x9D\x92\x7A",
};
const char* const kYear = "\x94\x4E";              // 年
const char* const kMonthEnd = "\x8C\x8E\x96\x96";  // 月末

// Rows in one statement; NOUKI is free text that does not follow N.
storage::Lines FillLines(int rows)
{
    std::string site = "    SITE = DECODE(MOD(I, 3)";
    for (int i = 0; i < 3; ++i)
        site += ", " + std::to_string(i) + ", " + Quoted(kSites[i]);
    site += ");";
    return {
        "EXECUTE BLOCK AS",
        "  DECLARE I INTEGER = 1;",
        "  DECLARE SITE VARCHAR(18);",
        "BEGIN",
        "  WHILE (I <= " + std::to_string(rows) + ") DO",
        "  BEGIN",
        site,
        "    INSERT INTO ZPROJECT (N, MN, CN, PRNAME, MTITLE, STITLE, MEMO1, NOUKI,",
        "        PDATE1, PDATE2, NDATE, ENDF)",
        "      VALUES (:I, MOD(:I, 40) + 1, MOD(:I * 7, 120) + 1,",
        "        'P' || LPAD(:I, 6, '0'), :SITE, :SITE, 'memo ' || :I,",
        "        (2015 + MOD(:I * 37, 11)) || " + Quoted(kYear) + " || (MOD(:I * 13, 12) + 1) || " +
            Quoted(kMonthEnd) + ",",
        "        '2015' || LPAD(MOD(:I, 12) + 1, 2, '0') || '01',",
        "        '2016' || LPAD(MOD(:I, 12) + 1, 2, '0') || '01',",
        "        '2017' || LPAD(MOD(:I, 12) + 1, 2, '0') || '15',",
        "        MOD(:I, 2));",
        "    I = I + 1;",
        "  END",
        "END",
    };
}

void CreateDatabases()
{
    for (int rows : {kSmall, kLarge}) {
        const std::string path =
            (g.folder.path() / (std::string("P") + std::to_string(rows) + ".FDB")).string();
        const auto start = std::chrono::steady_clock::now();
        storage::Database db;
        bench_support::CreateProjectDatabase(db, path);
        if (!db.ExecuteDdl(FillLines(rows)))
            Fail("cannot fill " + path);
        storage::Row count(1);
        if (db.SelectColumns("COUNT(*)", "ZPROJECT", "", count) != 1 ||
            count[0] != std::to_string(rows))
            Fail(path + " holds " + count[0] + " rows");
        db.DisconnectDatabase();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%s: %d projects, %.1f MB, filled in %.2f s\n", path.c_str(), rows,
                    fs::file_size(path) / 1e6, seconds);
        g.paths[rows] = path;
    }
}

enum class Page { FirstByNumber, FirstByNouki, Middle, Last };

// The 1-based row a page starts at and the N its first row must carry (0: not checked).
struct Expectation {
    int firstRow;
    size_t rows;
    int firstN;
};

Expectation Expect(Page page, int total)
{
    switch (page) {
        case Page::FirstByNumber:
            return {1, 100, 1};
        case Page::FirstByNouki:
            return {1, 100, 0};
        case Page::Middle:
            return {total / 2 + 1, 100, total / 2 + 1};
        case Page::Last:
            return {total - 99, 100, total - 99};
    }
    return {};
}

// One page as the list loads it, on a connection that stays open (the list
// runs in the attached application).
void LoadPage(benchmark::State& state, Page page)
{
    const int total = static_cast<int>(state.range(0));
    storage::Database db;
    db.ConnectDatabase(g.paths.at(total));
    if (!db.Connected())
        Fail("cannot attach " + g.paths.at(total));
    projects::ProjectPageLoader loader(db);
    const Expectation want = Expect(page, total);
    for (auto _ : state) {
        loader.Reset();
        switch (page) {
            case Page::FirstByNumber:
                loader.First();
                break;
            case Page::FirstByNouki:
                loader.SelectSort(kSortByNouki);
                break;
            case Page::Middle:
            case Page::Last:
                loader.SetFirstRow(want.firstRow);
                loader.Refresh();
                break;
        }
        const auto& rows = loader.rows();
        if (rows.size() != want.rows ||
            (want.firstN > 0 && rows.front().number != std::to_string(want.firstN)))
            Fail("page from row " + std::to_string(want.firstRow) + " of " + std::to_string(total) +
                 " holds " + std::to_string(rows.size()) +
                 " rows starting at N=" + (rows.empty() ? std::string("-") : rows.front().number));
    }
    db.DisconnectDatabase();
}

void FirstPageByNumber(benchmark::State& s)
{
    LoadPage(s, Page::FirstByNumber);
}
void FirstPageByNouki(benchmark::State& s)
{
    LoadPage(s, Page::FirstByNouki);
}
void MiddlePage(benchmark::State& s)
{
    LoadPage(s, Page::Middle);
}
void LastPage(benchmark::State& s)
{
    LoadPage(s, Page::Last);
}

void PrintSummary(const bench_support::CapturingReporter& r)
{
    std::printf("\n");
    bool allMet = true;
    for (const auto& [name, seconds] : r.All()) {
        const bool met = seconds <= 1.0;
        allMet = allMet && met;
        std::printf("page time %-26s %9.2f ms  (goal <= 1 s: %s)\n", name.c_str(), seconds * 1e3,
                    met ? "met" : "MISSED");
    }
    if (!bench_support::PrintRatio(
            "ratio first page by number " + std::to_string(kLarge) + " / " + std::to_string(kSmall),
            r.Seconds("FirstPageByNumber", kLarge), r.Seconds("FirstPageByNumber", kSmall),
            {.limit = 3, .decimals = 0}))
        return;
    for (const char* name : {"FirstPageByNouki", "MiddlePage", "LastPage"}) {
        const double l = r.Seconds(name, kLarge);
        const double s = r.Seconds(name, kSmall);
        if (l >= 0 && s > 0)
            std::printf("ratio %s %d / %d: %.2f  (no goal: reads or sorts rows before the page)\n",
                        name, kLarge, kSmall, l / s);
    }
    std::printf("every page within 1 s: %s\n", allMet ? "yes" : "NO");
}

}  // namespace

int main(int argc, char** argv)
{
    if (!bench_support::Initialize(argc, argv))
        return EXIT_FAILURE;

    CreateDatabases();

    bench_support::Register("FirstPageByNumber", FirstPageByNumber, kIterations, {kSmall, kLarge});
    bench_support::Register("FirstPageByNouki", FirstPageByNouki, kIterations, {kSmall, kLarge});
    bench_support::Register("MiddlePage", MiddlePage, kIterations, {kSmall, kLarge});
    bench_support::Register("LastPage", LastPage, kIterations, {kSmall, kLarge});

    bench_support::CapturingReporter reporter;
    bench_support::RunAll(reporter);
    PrintSummary(reporter);
    return EXIT_SUCCESS;
}
