#pragma once
// Pieces every benchmark shares: failing loudly, a scratch folder and database,
// projects with their tables, registering and timing benchmarks, and the ratio
// lines printed at the end. Screens add screen_support.h.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "storage/database.h"

namespace bench_support {

// Prefixed with the executable's name, so that the script running every
// benchmark shows which one stopped.
[[noreturn]] void Fail(const std::string& message);

// A folder of its own under the temporary directory, removed with everything
// in it on destruction.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "k5x7-bench");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Creates the database file and its project table, or fails.
void CreateProjectDatabase(storage::Database& db, const std::string& path);

// A database with its project table in a folder of its own. The database is
// declared after the folder, so it is detached before the folder goes.
struct ScratchDatabase {
    ScratchDatabase();

    TempFolder folder;
    std::string path;
    storage::Database db;
};

// Project n as the application keeps it: its ZPROJECT row (N, MN 1, PRNAME and
// any further columns), its tree, drawing and revision tables, and the root of
// its tree carrying the project's name.
void AddProject(storage::Database& db, int n, const std::string& name,
                const std::vector<std::string>& moreColumns = {},
                const std::vector<std::string>& moreValues = {});

// The loop of a reader that reads every row of a select into one buffer of
// `columns` and does nothing else; fails unless `rows` rows come back.
void PlainFetch(benchmark::State& state, storage::Database& db, const std::string& table,
                const std::string& where, const std::string& order, int columns, int rows);

// Parses the benchmark flags; false when some argument was not understood.
bool Initialize(int& argc, char** argv);

// Real time in milliseconds over a fixed number of iterations, once for each
// argument given.
benchmark::internal::Benchmark* Register(const char* name, void (*function)(benchmark::State&),
                                         int iterations, std::initializer_list<int64_t> args = {});

// Keeps the console table and the mean real time of each benchmark, by its
// function name and arguments ("OpenDetail/10000", "FullFetch"), so that
// "FullFetch" is never taken for "FullFetchConnected".
class CapturingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // Seconds per iteration, or a negative value when it did not run.
    double Seconds(const std::string& name) const;
    double Seconds(const std::string& function, int64_t arg) const;

    // Seconds per iteration of every benchmark that ran, by name.
    std::map<std::string, double> All() const;

private:
    struct Total {
        double seconds = 0;
        benchmark::IterationCount iterations = 0;
    };
    std::map<std::string, Total> totals_;
};

// Runs the benchmarks the flags select, after what was printed so far.
void RunAll(CapturingReporter& reporter);

// The bound a ratio should keep and how it is printed.
struct RatioGoal {
    double limit;
    bool strict = false;   // below the limit, not at it
    bool percent = false;  // ratio and limit as percentages
    int decimals = 1;      // of the limit as printed
};

// "label: 1.23  (goal <= 1.5: met)", or "label: not measured in this run" (and
// false) when either side is missing.
bool PrintRatio(const std::string& label, double numerator, double denominator,
                const RatioGoal& goal);

}  // namespace bench_support
