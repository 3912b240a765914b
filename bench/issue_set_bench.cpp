// Printing at scale: a drawing of 10,000 elements onto one PDF page, and the
// issue set of 10 and of 50 drawings from a real database, with the peak
// memory after each, which must not grow with the number of drawings.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "bench_support.h"
#include "floor_plan_drawing.h"
#include "preview/jww_reader.h"
#include "preview/sheet_pages.h"
#include "reports/issue_set.h"
#include "storage/database.h"
#include "text/mbcs.h"

namespace {

using bench_support::Fail;

constexpr int kPageIterations = 10;
constexpr int kSetIterations = 2;
constexpr int kElementsPerSetDrawing = 3000;

bench_support::ScratchDatabase* g = nullptr;
preview::PreviewDocument document10k;
std::map<int, double> peakMegabytes;  // by drawings in the set

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Projects 10 and 50, one drawing file per node, each file of its own.
void Prepare()
{
    auto read = preview::ReadJwCad(bench_support::FloorPlanDrawing(10000));
    if (!read || read->entities.size() != 10000)
        Fail("the drawing of 10000 elements does not read back whole");
    document10k.kind = preview::PreviewDocument::Kind::Drawing;
    document10k.drawing = std::make_shared<preview::Drawing>(std::move(*read));

    const std::string bytes = bench_support::FloorPlanDrawing(kElementsPerSetDrawing);
    const std::string folder = (g->folder.path() / "").string();
    for (int n = 1; n <= 50; ++n) {
        QFile out(QString::fromStdString(folder + "d" + std::to_string(n) + ".jww"));
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
                static_cast<qint64>(bytes.size()))
            Fail("cannot write drawing " + std::to_string(n));
    }
    for (int project : {10, 50}) {
        bench_support::AddProject(g->db, project, "Set" + std::to_string(project));
        const std::string tree = "ZPRJ_" + std::to_string(project);
        const std::string drawings = "ZMN_" + std::to_string(project);
        for (int n = 1; n <= project; ++n)
            if (!g->db.InsertRow(tree, {"N", "NAME", "MN", "PARENT_N"},
                                 {std::to_string(n), "'node'", "1", "0"}) ||
                !g->db.InsertRow(
                    drawings, {"N", "FILE_NAME", "PATH_NAME", "ZUMENN", "MTITLE"},
                    {std::to_string(n), "'d" + std::to_string(n) + ".jww'", text::SqlText(folder),
                     "'A-" + std::to_string(n) + "'", "'plan'"}))
                Fail("cannot store node " + std::to_string(n));
    }
    std::printf("a set drawing: %d elements, %zu bytes\n", kElementsPerSetDrawing, bytes.size());
}

void DrawingToPdfPage(benchmark::State& state)
{
    const preview::SheetPages pages = preview::SheetPages::FromDocument(document10k, QString());
    const QString path = QString::fromStdString((g->folder.path() / "page.pdf").string());
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            !preview::WriteSheetPdf(pages, file, {}, QStringLiteral("bench")))
            Fail("the page was not written");
    }
    state.counters["pdf_KB"] = QFileInfo(path).size() / 1024.0;
}

void IssueSet(benchmark::State& state)
{
    const int drawings = static_cast<int>(state.range(0));
    reports::IssueSetRequest request;
    request.projectNo = drawings;
    request.path = QString::fromStdString((g->folder.path() / "set.pdf").string());
    request.printed = QDate(2024, 4, 1);
    for (auto _ : state) {
        const reports::IssueSetSummary summary = reports::WriteIssueSet(g->db, request);
        if (!summary.result.done() || summary.drawings != drawings)
            Fail("the issue set of " + std::to_string(drawings) + " was not written whole");
    }
    peakMegabytes[drawings] = PeakMegabytes();
    state.counters["peak_MB"] = peakMegabytes[drawings];
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QLoggingCategory::setFilterRules("*.debug=false\n*.warning=false");
    QGuiApplication app(argc, argv);
    if (!bench_support::Initialize(argc, argv))
        return EXIT_FAILURE;

    bench_support::ScratchDatabase fixture;
    g = &fixture;
    Prepare();

    bench_support::Register("DrawingToPdfPage", DrawingToPdfPage, kPageIterations);
    bench_support::Register("IssueSet", IssueSet, kSetIterations, {10, 50});

    bench_support::CapturingReporter reporter;
    bench_support::RunAll(reporter);

    std::printf("\n");
    bench_support::PrintRatio("10000 elements to a PDF page at scale / 300 ms",
                              reporter.Seconds("DrawingToPdfPage"), 0.300, {1});
    bench_support::PrintRatio("issue set of 50 drawings / 10 s", reporter.Seconds("IssueSet", 50),
                              10.0, {1});
    std::printf("peak memory after the set of 10: %.0f MB, after the set of 50: %.0f MB\n",
                peakMegabytes[10], peakMegabytes[50]);
    bench_support::PrintRatio("peak memory after 50 drawings / after 10", peakMegabytes[50],
                              peakMegabytes[10], {1.1});
    return EXIT_SUCCESS;
}
