// Lists leaving the screen: every project of a 100,000-project table written
// to CSV against the time of reading those rows, how memory grows while CSV
// and Excel are written (it must stay flat in the row count), and 1,000 rows
// laid out as a PDF.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "bench_support.h"
#include "projects/project_list_report.h"
#include "projects/project_page_loader.h"
#include "reports/report_export.h"
#include "screen_support.h"

namespace {

using bench_support::Fail;

constexpr int kLarge = 100000;
constexpr int kSmall = 10000;
constexpr int kPdfRows = 1000;

struct Fixture {
    bench_support::ScratchDatabase scratch;
    std::map<std::string, double> growthMb;  // by benchmark and row count
};

Fixture* g = nullptr;

// Resident memory in kilobytes, as the kernel counts it.
long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

void Fill(storage::Database& db, int rows)
{
    // 東京都港区新築工事, a title of some length, and dates as stored.
    const std::string site =
        "'\x93\x8C\x8B\x9E\x93\x73\x8D\x60\x8B\xE6\x90\x56\x92\x7A\x8D\x48"
        "\x8E\x96'";
    if (!db.ExecuteDdl({
            "EXECUTE BLOCK AS",
            "  DECLARE I INTEGER = 1;",
            "BEGIN",
            "  WHILE (I <= " + std::to_string(rows) + ") DO",
            "  BEGIN",
            "    INSERT INTO ZPROJECT (N, MN, PRNAME, MTITLE, NOUKI, NDATE, ENDF)",
            "      VALUES (:I, 1, 'P' || LPAD(:I, 6, '0'), " + site + " || ' ' || :I,",
            "        '2025/' || MOD(:I, 12), '2024' || LPAD(MOD(:I, 12) + 1, 2, '0') || '01',",
            "        MOD(:I, 2));",
            "    I = I + 1;",
            "  END",
            "END",
        }))
        Fail("cannot fill the project table");
}

std::string Filter(int rows)
{
    return rows == kLarge ? std::string() : "N<=" + std::to_string(rows);
}

// What the export itself reads: the list's statement, once, row by row.
void ReadProjects(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        int read = 0;
        const bool complete = g->scratch.db.StreamRows(
            projects::ProjectListLines(Filter(rows), "N"), [&](const storage::Row& row) {
                benchmark::DoNotOptimize(projects::ListRow(row));
                return ++read > 0;
            });
        if (!complete || read != rows)
            Fail("read " + std::to_string(read) + " of " + std::to_string(rows) + " rows");
    }
}

void Export(benchmark::State& state, reports::ReportFormat format, const char* name, int rows)
{
    const QString path =
        QString::fromStdString((g->scratch.folder.path() / "out").string()) + QLatin1String(name);
    long peak = 0;
    for (auto _ : state) {
        const long before = ResidentKb();
        peak = 0;
        const text::TextTable table = projects::ProjectListTable(g->scratch.db, Filter(rows), "N",
                                                                 {56, 240, 240, 110, 100, 40});
        const reports::ReportResult result = reports::ExportReport(
            table, {path, format, reports::CsvEncoding::Cp932, QDate(2024, 4, 1)}, [&](int, int) {
                peak = std::max(peak, ResidentKb() - before);
                return true;
            });
        if (!result.done())
            Fail("export failed: " + result.message.toStdString());
    }
    g->growthMb[std::string(name) + "/" + std::to_string(rows)] = peak / 1024.0;
    QFile::remove(path);
}

void CsvProjects(benchmark::State& state)
{
    Export(state, reports::ReportFormat::Csv, ".csv", static_cast<int>(state.range(0)));
}

void XlsxProjects(benchmark::State& state)
{
    Export(state, reports::ReportFormat::Xlsx, ".xlsx", static_cast<int>(state.range(0)));
}

void PdfProjects(benchmark::State& state)
{
    Export(state, reports::ReportFormat::Pdf, ".pdf", static_cast<int>(state.range(0)));
}

void PrintSummary(const bench_support::CapturingReporter& r)
{
    std::printf("\n");
    bench_support::PrintRatio("CSV of 100,000 projects / reading them",
                              r.Seconds("CsvProjects", kLarge), r.Seconds("ReadProjects", kLarge),
                              {.limit = 2});
    bench_support::PrintRatio("PDF of 1,000 rows, seconds", r.Seconds("PdfProjects", kPdfRows), 1,
                              {.limit = 3});
    for (const char* name : {".csv", ".xlsx"}) {
        const double large = g->growthMb[std::string(name) + "/" + std::to_string(kLarge)];
        const double small = g->growthMb[std::string(name) + "/" + std::to_string(kSmall)];
        std::printf("memory growth while writing %s: %.1f MB for %d rows, %.1f MB for %d rows\n",
                    name, small, kSmall, large, kLarge);
    }
    std::printf("memory growth while laying out %d rows as PDF (read whole, for paging): %.1f MB\n",
                kPdfRows, g->growthMb[".pdf/" + std::to_string(kPdfRows)]);
    const double csvLarge = g->growthMb[".csv/" + std::to_string(kLarge)];
    const double csvSmall = g->growthMb[".csv/" + std::to_string(kSmall)];
    std::printf("CSV memory flat in the row count (growth at 10x the rows <= growth + 2 MB): %s\n",
                csvLarge <= csvSmall + 2 ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv)
{
    bench_support::QuietOffscreen();
    QGuiApplication app(argc, argv);  // fonts and painting for the PDF
    if (!bench_support::Initialize(argc, argv))
        return EXIT_FAILURE;
    Fixture fixture;
    g = &fixture;
    Fill(fixture.scratch.db, kLarge);

    bench_support::Register("ReadProjects", ReadProjects, 3, {kSmall, kLarge});
    bench_support::Register("CsvProjects", CsvProjects, 3, {kSmall, kLarge});
    bench_support::Register("XlsxProjects", XlsxProjects, 1, {kSmall, kLarge});
    bench_support::Register("PdfProjects", PdfProjects, 3, {kPdfRows});

    bench_support::CapturingReporter reporter;
    bench_support::RunAll(reporter);
    PrintSummary(reporter);
    g = nullptr;
    return EXIT_SUCCESS;
}
