#include "bench_support.h"

#include <errno.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>

#include "storage/schema.h"

namespace bench_support {

namespace fs = std::filesystem;

void Fail(const std::string& message)
{
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, message.c_str());
    std::exit(EXIT_FAILURE);
}

TempFolder::TempFolder(const std::string& prefix)
{
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        Fail("cannot make a folder from " + pattern);
    path_ = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void CreateProjectDatabase(storage::Database& db, const std::string& path)
{
    db.CreateDatabase(path);
    if (!db.Connected())
        Fail("cannot create " + path);
    if (!storage::CreateProjectTable(db))
        Fail("cannot create ZPROJECT");
}

ScratchDatabase::ScratchDatabase() : path((folder.path() / "ZUMENDB.FDB").string())
{
    CreateProjectDatabase(db, path);
}

void AddProject(storage::Database& db, int n, const std::string& name,
                const std::vector<std::string>& moreColumns,
                const std::vector<std::string>& moreValues)
{
    const std::string number = std::to_string(n);
    const std::string quoted = "'" + name + "'";
    std::vector<std::string> columns{"N", "MN", "PRNAME"};
    std::vector<std::string> values{number, "1", quoted};
    columns.insert(columns.end(), moreColumns.begin(), moreColumns.end());
    values.insert(values.end(), moreValues.begin(), moreValues.end());
    if (!db.InsertRow("ZPROJECT", columns, values) ||
        !storage::CreateNameTreeTable(db, "ZPRJ_" + number) ||
        !storage::CreateDrawingTable(db, "ZMN_" + number) ||
        !storage::CreateRevisionTable(db, "REV_" + number) ||
        !db.InsertRow("ZPRJ_" + number, {"N", "NAME", "MN", "PARENT_N"}, {"0", quoted, "1", "0"}))
        Fail("cannot add project " + number);
}

void PlainFetch(benchmark::State& state, storage::Database& db, const std::string& table,
                const std::string& where, const std::string& order, int columns, int rows)
{
    storage::Row row(columns);
    for (auto _ : state) {
        const int count = db.SelectOrdered("*", table, where, order);
        int fetched = 0;
        for (int i = 0; i < count; ++i) {
            if (i == 0)
                db.FetchFirst(row);
            else
                db.FetchNext(row);
            fetched += row[0].empty() ? 0 : 1;
        }
        db.CloseQuery();
        if (fetched != rows)
            Fail("fetched " + std::to_string(fetched) + " rows");
    }
}

bool Initialize(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    return !benchmark::ReportUnrecognizedArguments(argc, argv);
}

benchmark::internal::Benchmark* Register(const char* name, void (*function)(benchmark::State&),
                                         int iterations, std::initializer_list<int64_t> args)
{
    benchmark::internal::Benchmark* b = benchmark::RegisterBenchmark(name, function);
    for (int64_t arg : args)
        b->Arg(arg);
    return b->UseRealTime()->Iterations(iterations)->Unit(benchmark::kMillisecond);
}

void RunAll(CapturingReporter& reporter)
{
    std::fflush(stdout);  // what was printed comes before the table, which goes through std::cout
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}

void CapturingReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration || run.error_occurred)
            continue;
        std::string name = run.run_name.function_name;
        if (!run.run_name.args.empty())
            name += "/" + run.run_name.args;
        Total& t = totals_[name];
        t.seconds += run.real_accumulated_time;
        t.iterations += run.iterations;
    }
}

double CapturingReporter::Seconds(const std::string& name) const
{
    auto it = totals_.find(name);
    return it == totals_.end() || it->second.iterations == 0
               ? -1
               : it->second.seconds / static_cast<double>(it->second.iterations);
}

double CapturingReporter::Seconds(const std::string& function, int64_t arg) const
{
    return Seconds(function + "/" + std::to_string(arg));
}

std::map<std::string, double> CapturingReporter::All() const
{
    std::map<std::string, double> all;
    for (const auto& [name, total] : totals_)
        if (total.iterations > 0)
            all[name] = total.seconds / static_cast<double>(total.iterations);
    return all;
}

bool PrintRatio(const std::string& label, double numerator, double denominator,
                const RatioGoal& goal)
{
    if (numerator < 0 || denominator <= 0) {
        std::printf("%s: not measured in this run\n", label.c_str());
        return false;
    }
    const double r = numerator / denominator;
    const bool met = goal.strict ? r < goal.limit : r <= goal.limit;
    const double scale = goal.percent ? 100 : 1;
    const char* unit = goal.percent ? "%" : "";
    std::printf("%s: %.2f%s  (goal %s %.*f%s: %s)\n", label.c_str(), scale * r, unit,
                goal.strict ? "<" : "<=", goal.decimals, scale * goal.limit, unit,
                met ? "met" : "MISSED");
    return true;
}

}  // namespace bench_support
