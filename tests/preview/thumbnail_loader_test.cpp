// Thumbnails on worker threads: only the latest request answers, from the
// cache while the file stays as it was.

#include "preview/thumbnail_loader.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include "common/temp_folder.h"
#include "tools/admin/jww_writer.h"

using namespace testing_support;
using namespace jww_writer;

namespace {

void WriteDrawing(const QString& path, std::vector<JwwElement> elements)
{
    JwwFile file;
    file.elements = std::move(elements);
    const std::string bytes = file.Bytes();
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Events until `done` or five seconds.
template <class Done>
bool WaitFor(Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    return done();
}

}  // namespace

TEST(ThumbnailLoader, OnlyTheLatestRequestIsAnsweredAndChangesAreDrawnAgain)
{
    TempFolder folder;
    const QString a = QString::fromStdString(folder.file("a.jww"));
    const QString b = QString::fromStdString(folder.file("b.jww"));
    WriteDrawing(a, {Line(-200, 0, 200, 0)});
    WriteDrawing(b, {Line(0, -140, 0, 140)});

    preview::ThumbnailLoader loader(QSize(256, 181));
    std::vector<std::pair<QString, QImage>> answers;
    QObject::connect(
        &loader, &preview::ThumbnailLoader::Ready,
        [&](const QString& path, const QImage& image) { answers.emplace_back(path, image); });
    loader.Request(a);
    loader.Request(b);
    EXPECT_TRUE(loader.Pending());
    ASSERT_TRUE(WaitFor([&] { return !loader.Pending(); }));
    QCoreApplication::processEvents();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].first, b);
    const QImage first = answers[0].second;
    EXPECT_EQ(first.size(), QSize(256, 181));
    EXPECT_LT(qGray(first.pixel(128, 40)), 160);  // the vertical line

    // The same file again comes from the cache; a changed one is drawn anew.
    EXPECT_EQ(preview::MakeThumbnail(b, QSize(256, 181)), first);
    WriteDrawing(b, {Line(-200, 0, 200, 0), Line(-200, 50, 200, 50)});
    const QImage changed = preview::MakeThumbnail(b, QSize(256, 181));
    EXPECT_NE(changed, first);
    EXPECT_GT(qGray(changed.pixel(128, 40)), 200);

    // A loader that goes away before its answer never delivers it.
    {
        preview::ThumbnailLoader gone(QSize(64, 45));
        QObject::connect(
            &gone, &preview::ThumbnailLoader::Ready,
            [&](const QString& path, const QImage& image) { answers.emplace_back(path, image); });
        gone.Request(a);
    }
    QThread::msleep(200);
    QCoreApplication::processEvents();
    EXPECT_EQ(answers.size(), 1u);
}
