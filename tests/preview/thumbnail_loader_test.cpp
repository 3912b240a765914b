// Thumbnails away from the window: only the latest request answers, from the
// cache while the file stays as it was; a helper that hangs or crashes costs
// a "cannot show" thumbnail; what is not a regular file is never opened.

#include "preview/thumbnail_loader.h"

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <fstream>

#include "common/temp_folder.h"
#include "preview/file_access.h"
#include "preview/preview_document.h"
#include "preview/preview_texts.h"
#include "preview/thumbnail_helper.h"
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

// A stand-in helper: a shell script, named through the environment while the
// loaders of the test are made.
class StandInHelper {
public:
    StandInHelper(TempFolder& folder, const char* name, const std::string& body)
        : path_(QString::fromStdString(folder.file(name)))
    {
        std::ofstream(path_.toStdString()) << "#!/bin/sh\n" << body << "\n";
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("K5X7_PREVIEW_HELPER", path_.toLocal8Bit());
    }
    ~StandInHelper() { qunsetenv("K5X7_PREVIEW_HELPER"); }

    // Whether a process runs with the script's path among its arguments.
    bool Running() const
    {
        for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
            if (cmdline.open(QIODevice::ReadOnly) &&
                cmdline.readAll().contains(path_.toLocal8Bit()))
                return true;
        }
        return false;
    }

private:
    QString path_;
};

// The answer to one request, or a null image after five seconds.
QImage Answer(preview::ThumbnailLoader& loader, const QString& path)
{
    QImage answer;
    QObject::connect(&loader, &preview::ThumbnailLoader::Ready,
                     [&](const QString&, const QImage& image) { answer = image; });
    loader.Request(path);
    WaitFor([&] { return !answer.isNull(); });
    return answer;
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

TEST(ThumbnailLoader, AHelperThatHangsOrCrashesCostsACannotShowThumbnail)
{
    TempFolder folder;
    const QString drawing = QString::fromStdString(folder.file("plan.jww"));
    WriteDrawing(drawing, {Line(-200, 0, 200, 0)});
    const QSize size(128, 90);
    const QImage cannotShow = preview::CannotShowThumbnail(drawing, QFile(drawing).size(), size)
                                  .convertToFormat(QImage::Format_RGB32);

    {
        // Follows its own script for good: killed at the time limit.
        StandInHelper hang(folder, "hang", "exec tail -f \"$0\"");
        preview::ThumbnailLoader loader(size);
        loader.SetTimeLimit(std::chrono::milliseconds(300));
        QElapsedTimer clock;
        clock.start();
        const QImage answer = Answer(loader, drawing);
        EXPECT_LT(clock.elapsed(), 3000);
        EXPECT_EQ(answer.convertToFormat(QImage::Format_RGB32), cannotShow);
        EXPECT_TRUE(WaitFor([&] { return !hang.Running(); }));

        // A loader that goes away while its helper hangs does not wait for it,
        // and the helper does not outlive it.
        auto gone = std::make_unique<preview::ThumbnailLoader>(QSize(64, 45));
        gone->Request(drawing);
        ASSERT_TRUE(WaitFor([&] { return hang.Running(); }));
        clock.restart();
        gone.reset();
        EXPECT_LT(clock.elapsed(), 100);
        EXPECT_TRUE(WaitFor([&] { return !hang.Running(); }));
    }
    for (const char* body : {"kill -SEGV $$", "echo not a picture"}) {
        StandInHelper broken(folder, "broken", body);
        preview::ThumbnailLoader loader(size);
        EXPECT_EQ(Answer(loader, drawing).convertToFormat(QImage::Format_RGB32), cannotShow)
            << body;
    }
    // The real helper draws what this process would.
    preview::ThumbnailLoader loader(size);
    EXPECT_EQ(Answer(loader, drawing).convertToFormat(QImage::Format_RGB32),
              preview::RenderThumbnail(preview::LoadPreview(drawing), size)
                  .convertToFormat(QImage::Format_RGB32));
}

TEST(ThumbnailLoader, WhatIsNotARegularFileIsNeverOpened)
{
    TempFolder folder;
    const std::string fifo = folder.file("pipe.jww");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const QString path = QString::fromStdString(fifo);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, fifo.c_str(), IN_OPEN), 0);

    EXPECT_EQ(preview::StatFile(path).status, preview::FileBytes::Status::NotRegular);
    EXPECT_EQ(preview::ReadFileBytes(path, 100).status, preview::FileBytes::Status::NotRegular);
    preview::ThumbnailLoader loader(QSize(128, 90));
    EXPECT_FALSE(Answer(loader, path).isNull());
    EXPECT_EQ(preview::LoadPreview(path).problem, QString::fromUtf8(preview::texts::kNotRegular));

    char events[256];
    EXPECT_LT(::read(watch, events, sizeof events), 0) << "the FIFO was opened";
    ::close(watch);
}
