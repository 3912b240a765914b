// Reading the whole project table, and its first page, the way the application
// does, next to isql reading the same rows from the same embedded database,
// and, each in a fresh process for time and peak memory side by side, next to
// a plain client of the C API reading the same rows as text.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <spawn.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "plain_client.h"
#include "storage/database.h"
#include "storage/schema.h"
#include "storage/statements.h"

extern char** environ;

namespace {

using bench_support::Fail;

namespace fs = std::filesystem;

constexpr int kRows = 100000;
constexpr size_t kPageRows = 100;
constexpr int kFullIterations = 5;
constexpr int kPageIterations = 20;
constexpr const char* kIsql = "isql-fb";
constexpr int kSideBySideRounds = 5;

// The database lives for the whole run and goes with the process, also when a
// check fails (std::exit runs the folder's destructor).
struct Fixture {
    bench_support::TempFolder folder;
    std::string path;
    std::string fullScript;
    std::string startupScript;
};

Fixture g;

std::string FolderKind(const fs::path& folder)
{
    struct statfs info {};
    if (statfs(folder.c_str(), &info) != 0)
        return "filesystem unknown";
    switch (static_cast<unsigned long>(info.f_type)) {
        case TMPFS_MAGIC:
            return "tmpfs (in memory: figures flatter disk reads)";
        case EXT4_SUPER_MAGIC:
            return "ext4 (on disk)";
        case OVERLAYFS_SUPER_MAGIC:
            return "overlayfs (on disk)";
        case XFS_SUPER_MAGIC:
            return "xfs (on disk)";
        case BTRFS_SUPER_MAGIC:
            return "btrfs (on disk)";
        default: {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "filesystem type 0x%lx",
                          static_cast<unsigned long>(info.f_type));
            return buffer;
        }
    }
}

// Texts below are CP932 bytes, the way the application stores them.
// 東京都港区新築工事 大阪支店改修工事 名古屋工場増築 横浜倉庫耐震補強 福岡事務所移転
const char* const kSites[] = {
    "\x93\x8C\x8B\x9E\x93\x73\x8D\x60\x8B\xE6\x90\x56\x92\x7A\x8D\x48\x8E\x96",
    "\x91\xE5\x8D\xE3\x8E\x78\x93\x58\x89\xFC\x8F\x43\x8D\x48\x8E\x96",
    "\x96\xBC\x8C\xC3\x89\xAE\x8D\x48\x8F\xEA\x91\x9D\x92\x7A",
    "\x89\xA1\x95\x6C\x91\x71\x8C\xC9\x91\xCF\x90\x6B\x95\xE2\x8B\xAD",
    "\x95\x9F\x89\xAA\x8E\x96\x96\xB1\x8F\x8A\x88\xDA\x93\x5D",
};
const char* const kDrawingSet =
    "\x20\x8E\xC0\x8E\x7B\x90\xDD\x8C\x76\x90\x7D\x96\xCA\x88\xEA"
    "\x8E\xAE\x20\x91\xE6";             // " 実施設計図面一式 第"
const char* const kPhase = "\x8A\xFA";  // 期
// 意匠・構造・設備 (構 ends in 0x5C, a byte that must pass untouched)
const char* const kSubtitle = "\x88\xD3\x8F\xA0\x81\x45\x8D\x5C\x91\xA2\x81\x45\x90\xDD\x94\xF5";
const char* const kTeam = "\x92\x53\x93\x96\x81\x46\x90\xDD\x8C\x76\x95\x94\x20\x91\xE6";
const char* const kTeamEnd = "\x89\xDB";  // "担当：設計部 第" n "課"
const char* const kAgreed = "\x8E\x7B\x8E\xE5\x91\xC5\x8D\x87\x82\xB9\x8D\xCF\x82\xDD\x81\x69";
const char* const kAgreedEnd = "\x81\x6A";  // "施主打合せ済み（" date "）"
// 変更履歴あり　要確認
const char* const kChanged =
    "\x95\xCF\x8D\x58\x97\x9A\x97\xF0\x82\xA0\x82\xE8\x81\x40\x97\x76"
    "\x8A\x6D\x94\x46";
const char* const kYear = "\x94\x4E";              // 年
const char* const kMonthEnd = "\x8C\x8E\x96\x96";  // 月末

std::string Quoted(const char* bytes)
{
    std::string text(1, '\'');
    text += bytes;
    text += '\'';
    return text;
}

std::string Ymd(const char* date)
{
    std::string d(date);
    return "EXTRACT(YEAR FROM " + d + ") * 10000 + EXTRACT(MONTH FROM " + d +
           ") * 100 + EXTRACT(DAY FROM " + d + ")";
}

// One statement, one transaction: the engine loops, so filling costs seconds.
storage::Lines FillLines()
{
    std::string site = "    SITE = DECODE(MOD(I, 5)";
    for (int i = 0; i < 5; ++i)
        site += ", " + std::to_string(i) + ", " + Quoted(kSites[i]);
    site += ");";
    return {
        "EXECUTE BLOCK AS",
        "  DECLARE I INTEGER = 1;",
        "  DECLARE D DATE;",
        "  DECLARE SITE VARCHAR(18);",
        "BEGIN",
        "  WHILE (I <= " + std::to_string(kRows) + ") DO",
        "  BEGIN",
        "    D = DATE '2015-04-01' + MOD(I * 37, 3000);",
        site,
        "    INSERT INTO ZPROJECT (N, MN, CN, PRNAME, MTITLE, STITLE, MEMO1, MEMO2, MEMO3,",
        "        NOUKI, PDATE1, PDATE2, DATE1, DATE2, NDATE, ENDF)",
        "      VALUES (:I, MOD(:I, 40) + 1, MOD(:I * 7, 120) + 1,",
        "        'P' || LPAD(:I, 6, '0') || ' ' || :SITE,",
        "        :SITE || " + Quoted(kDrawingSet) + " || (MOD(:I, 9) + 1) || " + Quoted(kPhase) +
            ",",
        "        " + Quoted(kSubtitle) + ",",
        "        " + Quoted(kTeam) + " || (MOD(:I, 7) + 1) || " + Quoted(kTeamEnd) + ",",
        "        " + Quoted(kAgreed) + " || (" + Ymd(":D") + ") || " + Quoted(kAgreedEnd) + ",",
        "        IIF(MOD(:I, 4) = 0, NULL, " + Quoted(kChanged) + "),",
        "        (EXTRACT(YEAR FROM :D) + 1) || " + Quoted(kYear) +
            " || EXTRACT(MONTH FROM :D) || " + Quoted(kMonthEnd) + ",",
        "        " + Ymd(":D") + ",",
        "        " + Ymd("(:D + 180)") + ",",
        "        " + Ymd("(:D + 7)") + ",",
        "        IIF(MOD(:I, 3) = 0, " + Ymd("(:D + 170)") + ", NULL),",
        "        " + Ymd("(:D + 200)") + ",",
        "        IIF(MOD(:I, 3) = 0, 1, 0));",
        "    I = I + 1;",
        "  END",
        "END",
    };
}

void WriteFile(const fs::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary);
    out << text;
    if (!out)
        Fail("cannot write " + file.string());
}

void CreateFilledDatabase()
{
    g.path = (g.folder.path() / "ZUMENDB.FDB").string();

    auto start = std::chrono::steady_clock::now();
    storage::Database db;
    bench_support::CreateProjectDatabase(db, g.path);
    if (!db.ExecuteDdl(FillLines()))
        Fail("cannot fill ZPROJECT");
    storage::Row count(1);
    if (db.SelectColumns("COUNT(*)", "ZPROJECT", "", count) != 1 ||
        count[0] != std::to_string(kRows))
        Fail("ZPROJECT holds " + count[0] + " rows, not " + std::to_string(kRows));
    storage::Row first(storage::kProjectColumns);
    db.SelectColumns("*", "ZPROJECT", "N = 1", first);
    std::string name = std::string("P000001 ") + kSites[1];
    if (first[3] != name || first[5] != kSubtitle)
        Fail("row 1 does not hold the CP932 bytes that were written");
    db.DisconnectDatabase();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    g.fullScript = (g.folder.path() / "full.sql").string();
    WriteFile(g.fullScript,
              storage::JoinStatement(storage::SelectOrderedLines("*", "ZPROJECT", "", "N")));
    g.startupScript = (g.folder.path() / "startup.sql").string();
    WriteFile(g.startupScript, "SELECT 1 FROM RDB$DATABASE;\n");

    std::error_code ignored;
    std::printf("database: %s, %s, %.1f MB, filled with %d rows in %.2f s\n", g.path.c_str(),
                FolderKind(g.folder.path()).c_str(), fs::file_size(g.path, ignored) / 1e6, kRows,
                seconds);
}

// isql attaches through the embedded engine as well, so no Database of this
// process may be attached while it runs (the engine locks the file per process).
int RunIsql(const std::string& script, const std::string& output)
{
    std::vector<std::string> args{kIsql, "-user", storage::Database::kUser};
    args.insert(args.end(),
                {"-password", storage::Database::kPassword, "-q", "-i", script, g.path});
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    int error = posix_spawnp(&pid, kIsql, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        Fail(std::string("cannot start ") + kIsql);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        Fail("lost the isql process");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void RunIsqlOrFail(const std::string& script)
{
    int rc = RunIsql(script, "/dev/null");
    if (rc != 0)
        Fail("isql ended with " + std::to_string(rc) + " on " + script);
}

std::string FirstWord(const std::string& line)
{
    std::istringstream in(line);
    std::string word;
    in >> word;
    return word;
}

// Once, untimed: isql's output really holds every row, so timing it with its
// output thrown away measures a full fetch. isql repeats its heading every few
// rows; a row line is one that starts with the next N.
void CheckIsqlReadsAllRows()
{
    std::string output = (g.folder.path() / "isql-output.txt").string();
    if (RunIsql(g.fullScript, output) != 0)
        Fail("isql failed on the full fetch script");
    std::ifstream in(output, std::ios::binary);
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        std::string word = FirstWord(line);
        if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (word != std::to_string(rows + 1))
            Fail("isql printed N=" + word + " after " + std::to_string(rows) + " rows");
        ++rows;
    }
    if (rows != kRows)
        Fail("isql printed " + std::to_string(rows) + " rows");
    std::error_code ignored;
    std::printf("isql output checked: %d rows in order, %.1f MB of text\n", rows,
                fs::file_size(output, ignored) / 1e6);
    fs::remove(output, ignored);
}

void Connect(storage::Database& db)
{
    db.ConnectDatabase(g.path);
    if (!db.Connected())
        Fail("cannot attach " + g.path);
}

// What a full list does: count, then every row through the 16-column buffer.
void FetchAll(storage::Database& db)
{
    int count = db.SelectOrdered("*", "ZPROJECT", "", "N");
    if (count != kRows)
        Fail("SelectOrdered counted " + std::to_string(count) + " rows");
    storage::Row row(storage::kProjectColumns);
    db.FetchFirst(row);
    std::string first = row[0];
    int fetched = row[0].empty() ? 0 : 1;  // N is NOT NULL: empty means no row
    for (int i = 1; i < count; ++i) {
        db.FetchNext(row);
        if (!row[0].empty())
            ++fetched;
    }
    db.CloseQuery();
    if (fetched != kRows || first != "1" || row[0] != std::to_string(kRows))
        Fail("full fetch read " + std::to_string(fetched) + " rows from N=" + first +
             " to N=" + row[0]);
}

// What the paged project list does for its first page.
void ReadFirstPage(storage::Database& db, std::vector<storage::Row>& page)
{
    db.CloseCursor();
    if (!db.OpenQuery({"SELECT * FROM ZPROJECT", "  ORDER BY N;"}))
        Fail("OpenQuery failed");
    if (!db.QueryFirst())
        Fail("QueryFirst failed");
    page.clear();
    while (page.size() < kPageRows && !db.QueryEof()) {
        page.push_back(db.QueryRow());
        db.QueryNext();
    }
    db.CloseQuery();
    if (page.size() != kPageRows || page.front().empty() || page.front()[0] != "1" ||
        page.back()[0] != std::to_string(kPageRows))
        Fail("first page holds " + std::to_string(page.size()) + " rows, not 1.." +
             std::to_string(kPageRows));
}

void Connection(benchmark::State& state)
{
    storage::Database db;
    for (auto _ : state) {
        Connect(db);
        db.DisconnectDatabase();
    }
}

void FullFetch(benchmark::State& state)
{
    storage::Database db;
    for (auto _ : state) {
        Connect(db);
        FetchAll(db);
        db.DisconnectDatabase();
    }
}

void FullFetchConnected(benchmark::State& state)
{
    storage::Database db;
    Connect(db);
    for (auto _ : state)
        FetchAll(db);
    db.DisconnectDatabase();
}

void FirstPage(benchmark::State& state)
{
    storage::Database db;
    std::vector<storage::Row> page;
    for (auto _ : state) {
        Connect(db);
        ReadFirstPage(db, page);
        db.DisconnectDatabase();
    }
}

void FirstPageConnected(benchmark::State& state)
{
    storage::Database db;
    std::vector<storage::Row> page;
    Connect(db);
    for (auto _ : state)
        ReadFirstPage(db, page);
    db.DisconnectDatabase();
}

void IsqlStartup(benchmark::State& state)
{
    for (auto _ : state)
        RunIsqlOrFail(g.startupScript);
}

void IsqlFullFetch(benchmark::State& state)
{
    for (auto _ : state)
        RunIsqlOrFail(g.fullScript);
}

std::string FullFetchStatement()
{
    return storage::JoinStatement(storage::SelectOrderedLines("*", "ZPROJECT", "", "N"));
}

// In a child process: one full read, its time printed for the parent.
int RunChild(const std::string& mode, const std::string& path)
{
    g.path = path;
    if (mode == "plain") {
        plain_client::MeasureAndReport([&] {
            const plain_client::Reading reading = plain_client::Read(path, {FullFetchStatement()});
            if (reading.rows != kRows)
                Fail("the plain client read " + std::to_string(reading.rows) + " rows");
            return reading.seconds;
        });
        return EXIT_SUCCESS;
    }
    storage::Database db;
    Connect(db);
    plain_client::MeasureAndReport([&] {
        const auto start = std::chrono::steady_clock::now();
        FetchAll(db);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    });
    return EXIT_SUCCESS;
}

struct SideBySide {
    double plainSeconds = -1;
    double oursSeconds = -1;
    double plainCpu = -1;
    double oursCpu = -1;
    double plainKiB = -1;
    double oursKiB = -1;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Alternating rounds, so that a busy moment of the machine hits both alike.
SideBySide RunSideBySide()
{
    std::vector<double> times[2], cpus[2], peaks[2];
    for (int round = 0; round < kSideBySideRounds; ++round) {
        int side = 0;
        for (const char* mode : {"plain", "ours"}) {
            const plain_client::ChildRun run = plain_client::RunChild({mode, g.path});
            times[side].push_back(run.seconds);
            cpus[side].push_back(run.cpuSeconds);
            peaks[side].push_back(static_cast<double>(run.peakKiB));
            ++side;
        }
    }
    SideBySide s{Median(times[0]), Median(times[1]), Median(cpus[0]),
                 Median(cpus[1]),  Median(peaks[0]), Median(peaks[1])};
    std::printf(
        "\nside by side, fresh processes, median of %d rounds:\n"
        "  plain client:             %7.1f ms (processor %7.1f ms), %5.1f MiB peak\n"
        "  SelectOrdered/FetchNext:  %7.1f ms (processor %7.1f ms), %5.1f MiB peak\n",
        kSideBySideRounds, s.plainSeconds * 1e3, s.plainCpu * 1e3, s.plainKiB / 1024,
        s.oursSeconds * 1e3, s.oursCpu * 1e3, s.oursKiB / 1024);
    return s;
}

void PrintRatios(const bench_support::CapturingReporter& r)
{
    double full = r.Seconds("FullFetch");
    double fullOpen = r.Seconds("FullFetchConnected");
    double page = r.Seconds("FirstPage");
    double pageOpen = r.Seconds("FirstPageConnected");
    double isql = r.Seconds("IsqlFullFetch");
    double isqlStart = r.Seconds("IsqlStartup");
    // isql's start includes its own attach; taking it off leaves its query alone.
    double isqlQuery = isql >= 0 && isqlStart >= 0 ? isql - isqlStart : -1;

    std::printf("\n");
    const bench_support::RatioGoal underFivePercent{
        .limit = 0.05, .strict = true, .percent = true, .decimals = 0};
    bench_support::PrintRatio("ratio full fetch / isql (both with connect)", full, isql, {1.5});
    bench_support::PrintRatio(
        "ratio full fetch / isql (connect excluded: FullFetchConnected / "
        "(IsqlFullFetch - IsqlStartup))",
        fullOpen, isqlQuery, {1.5});
    bench_support::PrintRatio("ratio first page / full fetch (with connect)", page, full,
                              underFivePercent);
    bench_support::PrintRatio("ratio first page / full fetch (connect excluded)", pageOpen,
                              fullOpen, underFivePercent);

    const SideBySide s = RunSideBySide();
    bench_support::PrintRatio("ratio SelectOrdered/FetchNext time / plain client time",
                              s.oursSeconds, s.plainSeconds, {1.15, false, false, 2});
    bench_support::PrintRatio("ratio of the same in processor time (less swayed by load)",
                              s.oursCpu, s.plainCpu, {1.15, false, false, 2});
    bench_support::PrintRatio("ratio SelectOrdered/FetchNext peak memory / plain client peak",
                              s.oursKiB, s.plainKiB, {1.5});
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == plain_client::kChildFlag)
        return RunChild(argv[2], argv[3]);
    if (!bench_support::Initialize(argc, argv))
        return EXIT_FAILURE;

    CreateFilledDatabase();
    CheckIsqlReadsAllRows();

    using bench_support::Register;
    Register("Connection", Connection, kPageIterations);
    Register("IsqlStartup", IsqlStartup, kPageIterations);
    Register("IsqlFullFetch", IsqlFullFetch, kFullIterations);
    Register("FullFetch", FullFetch, kFullIterations);
    Register("FullFetchConnected", FullFetchConnected, kFullIterations);
    Register("FirstPage", FirstPage, kPageIterations);
    Register("FirstPageConnected", FirstPageConnected, kPageIterations);

    bench_support::CapturingReporter reporter;
    bench_support::RunAll(reporter);
    PrintRatios(reporter);
    return EXIT_SUCCESS;
}
