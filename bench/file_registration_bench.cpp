// Registering many drawing files under one node, as one choice in the file
// dialog: names, dates and header of each file, then its tree and drawing
// rows in one transaction. Each registration starts on a fresh project.
// Describing the files alone (header reading and file times) is measured
// apart, which gives the share of the work spent outside the database.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_support.h"
#include "drawings/file_registration.h"
#include "drawings/jwcad_header.h"
#include "drawings/project_detail_logic.h"
#include "storage/database.h"
#include "storage/schema.h"

namespace {

using bench_support::Fail;

namespace fs = std::filesystem;

constexpr int kSmall = 1000;
constexpr int kLarge = 2000;
constexpr int kRegisterIterations = 3;
constexpr int kDescribeIterations = 5;
constexpr int kParentNode = 1;

struct Fixture : bench_support::ScratchDatabase {
    QStringList files;  // kLarge drawing files; the first kSmall make the small run
    int nextProject = 1;
};

Fixture* g = nullptr;

// Drawing files as the office has them: mostly JWW with a memo of a few dozen
// bytes (CP932), some JWC, every name distinct.
void WriteFiles()
{
    const fs::path drawings = g->folder.path() / "drawings";
    fs::create_directories(drawings);
    const std::string memo = "\x90\x7D\x96\xCA memo of plan ";  // 図面
    for (int i = 0; i < kLarge; ++i) {
        const bool jwc = i % 10 == 9;
        const fs::path file = drawings / ("plan-" + std::to_string(i) + (jwc ? ".jwc" : ".jww"));
        std::ofstream out(file, std::ios::binary);
        const std::string text = memo + std::to_string(i);
        if (jwc) {
            std::string header = "jw_cad(c)data......." + std::string(20, '\0');
            header +=
                text.substr(0, 31) + std::string(32 - std::min<size_t>(31, text.size()), '\0');
            header += std::string(32, '\0');
            out << header << std::string(2000, 'x');
        } else {
            out << "JwwData." << std::string(4, '\0') << static_cast<char>(text.size()) << text
                << std::string(20000, 'x');
        }
        if (!out)
            Fail("cannot write " + file.string());
        g->files << QFile::decodeName(file.string().c_str());
    }
}

void Setup()
{
    WriteFiles();
    std::printf("database and %d files in %s\n", kLarge, g->folder.path().c_str());
}

// A project with its tables, its root and the node the files go under.
drawings::ProjectTables NewProject()
{
    const int n = g->nextProject++;
    const std::string number = std::to_string(n);
    if (!g->db.InsertRow("ZPROJECT", {"N", "MN", "PRNAME"}, {number, "1", "'P" + number + "'"}))
        Fail("cannot insert project " + number);
    drawings::ProjectDetailLogic(g->db, n).Open();
    drawings::ProjectTables tables(n);
    if (!g->db.InsertRow(tables.tree, {"N", "NAME", "MN", "PARENT_N"}, {"1", "'Plans'", "1", "0"}))
        Fail("cannot make the parent node");
    return tables;
}

void Register(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const QStringList files = g->files.mid(0, count);
    for (auto _ : state) {
        state.PauseTiming();
        const drawings::ProjectTables tables = NewProject();
        drawings::FileRegistration registration(g->db, tables, 1);
        state.ResumeTiming();
        const drawings::RegistrationOutcome outcome =
            registration.RegisterFiles(kParentNode, files, {}, {});
        if (outcome.registered != count)
            Fail("registered " + std::to_string(outcome.registered) + " of " +
                 std::to_string(count));
    }
    state.counters["files/s"] =
        benchmark::Counter(static_cast<double>(count) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

// Names, file times and header of each file: all that registering does
// besides the database.
void Describe(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const QStringList files = g->files.mid(0, count);
    size_t memoBytes = 0;
    for (auto _ : state)
        for (const QString& file : files)
            memoBytes += drawings::DescribeFile(file).headerText.size();
    if (memoBytes == 0)
        Fail("no header was read");
}

// The header reading alone.
void ReadHeaders(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i)
        paths.push_back(QFile::encodeName(g->files[i]).toStdString());
    size_t memoBytes = 0;
    for (auto _ : state)
        for (const std::string& path : paths)
            memoBytes += drawings::ReadJwcadHeader(path).size();
    if (memoBytes == 0)
        Fail("no header was read");
}

}  // namespace

int main(int argc, char** argv)
{
    if (!bench_support::Initialize(argc, argv))
        return EXIT_FAILURE;

    Fixture fixture;
    g = &fixture;
    Setup();

    bench_support::Register("Register", Register, kRegisterIterations, {kSmall, kLarge});
    bench_support::Register("Describe", Describe, kDescribeIterations, {kSmall, kLarge});
    bench_support::Register("ReadHeaders", ReadHeaders, kDescribeIterations, {kSmall, kLarge});

    bench_support::CapturingReporter reporter;
    bench_support::RunAll(reporter);

    const double small = reporter.Seconds("Register", kSmall);
    const double large = reporter.Seconds("Register", kLarge);
    std::printf("\n");
    if (small > 0 && large > 0) {
        const double rate = kSmall / small;
        std::printf("files per second, %d files: %.0f  (goal >= 100: %s)\n", kSmall, rate,
                    rate >= 100 ? "met" : "MISSED");
        std::printf("files per second, %d files: %.0f\n", kLarge, kLarge / large);
        bench_support::PrintRatio(
            "time " + std::to_string(kLarge) + " / " + std::to_string(kSmall) + " files", large,
            small, {2.2});
        const double described = reporter.Seconds("Describe", kSmall);
        const double headers = reporter.Seconds("ReadHeaders", kSmall);
        if (described > 0 && headers > 0)
            std::printf(
                "share of registering %d files: header reading %.1f %%, file names and times "
                "%.1f %%, database writes %.1f %%\n",
                kSmall, 100 * headers / small, 100 * (described - headers) / small,
                100 * (small - described) / small);
    }
    return EXIT_SUCCESS;
}
