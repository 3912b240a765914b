// Previews: reading a Jw_cad drawing of 10,000 elements, drawing its
// thumbnail, a 1 MB file from disk to thumbnail in this process and in the
// helper process, the largest real drawing of the shared test data from disk
// to thumbnail, and a node click while a thumbnail is being made, next to a
// click on a node without a file.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThreadPool>
#include <QTreeWidget>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "drawings/name_dialog.h"
#include "drawings/project_detail_window.h"
#include "floor_plan_drawing.h"
#include "preview/jww_reader.h"
#include "preview/preview_document.h"
#include "preview/thumbnail_helper.h"
#include "preview/thumbnail_loader.h"
#include "screen_support.h"
#include "storage/database.h"
#include "text/mbcs.h"

namespace {

using bench_support::Fail;

constexpr int kIterations = 20;
constexpr int kClicks = 50;
constexpr int kProject = 1;
const QSize kThumbnail(256, 181);

bench_support::ScreenFixture* g = nullptr;
std::string drawing10k;  // the bytes of a drawing of 10,000 elements
QString file1MB;         // a drawing file of about 1 MB
preview::PreviewDocument document10k;
QString largestReal;  // the largest Jw_cad file of the shared test data; empty without it

void Prepare()
{
    drawing10k = bench_support::FloorPlanDrawing(10000);
    const std::string bytes = bench_support::FloorPlanDrawing(20000);
    file1MB = QString::fromStdString((g->folder.path() / "plan-1mb.jww").string());
    QFile out(file1MB);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()))
        Fail("cannot write the 1 MB drawing");
    out.close();
    std::printf("drawing of 10000 elements: %zu bytes; the large file: %zu bytes\n",
                drawing10k.size(), bytes.size());
    auto read = preview::ReadJwCad(drawing10k);
    if (!read || read->entities.size() != 10000)
        Fail("the drawing does not read back whole");
    document10k.kind = preview::PreviewDocument::Kind::Drawing;
    document10k.drawing = std::make_shared<preview::Drawing>(std::move(*read));

    const QDir real(QStringLiteral(K5X7_TESTDATA_DIR));
    const QFileInfoList found = real.entryInfoList(
        {QStringLiteral("*.jws"), QStringLiteral("*.JWS"), QStringLiteral("*.jww")}, QDir::Files,
        QDir::Size);
    if (found.isEmpty())
        std::printf("no real drawings in %s: that benchmark is left out\n",
                    real.path().toLocal8Bit().constData());
    else
        largestReal = found.front().filePath();

    // A copy under another name, so that one thumbnail is never the other's.
    QFile::copy(file1MB, file1MB + ".jww");

    // Nodes 1 and 4 have no file; nodes 2 and 3 name the large ones.
    storage::Database& db = g->db;
    bench_support::AddProject(db, kProject, "Preview");
    const std::string folder = (g->folder.path() / "").string();
    const char* const files[] = {"NULL", "'plan-1mb.jww'", "'plan-1mb.jww.jww'", "NULL"};
    for (int n : {1, 2, 3, 4}) {
        if (!db.InsertRow("ZPRJ_1", {"N", "NAME", "MN", "PARENT_N"},
                          {std::to_string(n), "'node'", "1", "0"}) ||
            !db.InsertRow("ZMN_1", {"N", "FILE_NAME", "PATH_NAME", "MTITLE"},
                          {std::to_string(n), files[n - 1], text::SqlText(folder), "'title'"}))
            Fail("cannot store node " + std::to_string(n));
    }
}

void ParseJww(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(preview::ReadJwCad(drawing10k));
}

void Thumbnail(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(preview::RenderThumbnail(document10k, kThumbnail));
}

// From the file on disk, past the cache, as the worker does for a new file.
void EndToEnd(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(
            preview::RenderThumbnail(preview::LoadPreview(file1MB, {kThumbnail}), kThumbnail));
}

// Another office's drawing as Jw_cad wrote it, read and drawn.
void RealFile(benchmark::State& state)
{
    for (auto _ : state) {
        const preview::PreviewDocument document = preview::LoadPreview(largestReal, {kThumbnail});
        if (document.kind != preview::PreviewDocument::Kind::Drawing)
            Fail("the real drawing does not read");
        benchmark::DoNotOptimize(preview::RenderThumbnail(document, kThumbnail));
    }
}

// The same through the helper process, as the detail window has it drawn.
void EndToEndHelper(benchmark::State& state)
{
    const QString helper = preview::FindPreviewHelper();
    if (helper.isEmpty())
        Fail("no preview helper");
    for (auto _ : state)
        if (preview::DrawInHelper(helper, file1MB, kThumbnail).isNull())
            Fail("the helper drew nothing");
}

void WaitForThumbnails()
{
    while (preview::ThumbnailsUnderWay() > 0)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The detail window of the project, shown.
class DetailWindow {
public:
    DetailWindow() : context_(g->Context()), nameDialog_(context_), window_(context_, &nameDialog_)
    {
        g->globals.CurrentProjectNo = kProject;
        window_.show();
        QApplication::processEvents();
        tree_ = window_.findChild<QTreeWidget*>("TreeView1");
    }
    ~DetailWindow()
    {
        window_.close();
        WaitForThumbnails();
    }

    void Select(const QString& text)
    {
        const auto found = tree_->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        if (found.size() != 1)
            Fail("no tree item " + text.toStdString());
        tree_->setCurrentItem(found[0]);
        emit tree_->itemClicked(found[0], 0);
    }

private:
    widgets::ScreenContext context_;
    drawings::TForm11 nameDialog_;
    drawings::TForm10 window_;
    QTreeWidget* tree_ = nullptr;
};

// A click from one drawing without a file to another.
void ClickWithoutFile(benchmark::State& state)
{
    DetailWindow window;
    for (auto _ : state) {
        state.PauseTiming();
        window.Select("node :4");
        QApplication::processEvents();
        state.ResumeTiming();
        window.Select("node :1");
    }
}

// A click on a drawing while the thumbnail of the one clicked before is being
// made: the click asks for its own, which starts once the click is done.
void ClickPending(benchmark::State& state)
{
    DetailWindow window;
    for (auto _ : state) {
        state.PauseTiming();
        window.Select("Preview :0");
        WaitForThumbnails();
        window.Select("node :2");
        QApplication::processEvents();  // its thumbnail is under way now
        state.ResumeTiming();
        window.Select("node :3");
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
    Prepare();

    bench_support::Register("ParseJww", ParseJww, kIterations);
    bench_support::Register("Thumbnail", Thumbnail, kIterations);
    bench_support::Register("EndToEnd", EndToEnd, kIterations);
    bench_support::Register("EndToEndHelper", EndToEndHelper, kIterations);
    if (!largestReal.isEmpty())
        bench_support::Register("RealFile", RealFile, kIterations);
    bench_support::Register("ClickWithoutFile", ClickWithoutFile, kClicks);
    bench_support::Register("ClickPending", ClickPending, kClicks);

    bench_support::CapturingReporter reporter;
    bench_support::RunAll(reporter);

    std::printf("\n");
    bench_support::PrintRatio("parse 10000 elements / 50 ms", reporter.Seconds("ParseJww"), 0.050,
                              {1});
    bench_support::PrintRatio("thumbnail 256x181 of 10000 elements / 50 ms",
                              reporter.Seconds("Thumbnail"), 0.050, {1});
    bench_support::PrintRatio("1 MB file to thumbnail / 300 ms", reporter.Seconds("EndToEnd"),
                              0.300, {1});
    std::printf("1 MB file to thumbnail: %.1f ms in the helper process, %.1f ms in this one\n",
                reporter.Seconds("EndToEndHelper") * 1000, reporter.Seconds("EndToEnd") * 1000);
    if (!largestReal.isEmpty())
        bench_support::PrintRatio("largest real drawing (" +
                                      QFileInfo(largestReal).fileName().toStdString() +
                                      ") to thumbnail / 50 ms",
                                  reporter.Seconds("RealFile"), 0.050, {1});
    bench_support::PrintRatio("click while a thumbnail is made / click on a node without a file",
                              reporter.Seconds("ClickPending"),
                              reporter.Seconds("ClickWithoutFile"), {1.2});
    return EXIT_SUCCESS;
}
