#include "preview/thumbnail_loader.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QMutex>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <list>

#include "preview/preview_document.h"

namespace preview {

namespace {

constexpr std::size_t kCachedThumbnails = 64;
constexpr int kThreads = 2;

struct CacheKey {
    QString path;
    qint64 size = 0;
    qint64 modified = 0;  // milliseconds since the epoch
    QSize thumbnail;

    bool operator==(const CacheKey& other) const = default;
};

// The most recently used first.
class ThumbnailCache {
public:
    static ThumbnailCache& Instance()
    {
        static ThumbnailCache cache;
        return cache;
    }

    std::optional<QImage> Find(const CacheKey& key)
    {
        QMutexLocker lock(&mutex_);
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->first == key) {
                entries_.splice(entries_.begin(), entries_, it);
                return entries_.front().second;
            }
        }
        return std::nullopt;
    }

    void Store(const CacheKey& key, const QImage& image)
    {
        QMutexLocker lock(&mutex_);
        // An older thumbnail of the same file is of no use any more.
        entries_.remove_if([&key](const auto& entry) {
            return entry.first.path == key.path && entry.first.thumbnail == key.thumbnail;
        });
        entries_.emplace_front(key, image);
        if (entries_.size() > kCachedThumbnails)
            entries_.pop_back();
    }

private:
    QMutex mutex_;
    std::list<std::pair<CacheKey, QImage>> entries_;
};

}  // namespace

struct ThumbnailLoader::Job {
    QString path;
    QSize size;
    std::atomic<bool> cancelled{false};
};

QThreadPool& PreviewThreads()
{
    // Owned by the application, which waits for its threads when it ends.
    static QThreadPool* pool = [] {
        auto* threads = new QThreadPool(QCoreApplication::instance());
        threads->setMaxThreadCount(kThreads);
        return threads;
    }();
    return *pool;
}

QImage MakeThumbnail(const QString& path, QSize size, const std::atomic<bool>* cancel)
{
    const QFileInfo info(path);
    const bool cacheable = info.isFile();
    const CacheKey key{path, info.size(), info.lastModified().toMSecsSinceEpoch(), size};
    if (cacheable)
        if (auto cached = ThumbnailCache::Instance().Find(key))
            return *cached;
    LoadOptions options;
    options.pictureSize = size;
    options.cancel = cancel;
    const QImage image = RenderThumbnail(LoadPreview(path, options), size, cancel);
    if (cacheable && !(cancel && cancel->load()))
        ThumbnailCache::Instance().Store(key, image);
    return image;
}

ThumbnailLoader::ThumbnailLoader(QSize size, QObject* parent)
    : QObject(parent), size_(size), start_(new QTimer(this))
{
    start_->setSingleShot(true);
    start_->setInterval(0);
    connect(start_, &QTimer::timeout, this, &ThumbnailLoader::Start);
}

ThumbnailLoader::~ThumbnailLoader()
{
    Cancel();
}

void ThumbnailLoader::Cancel()
{
    start_->stop();
    if (current_)
        current_->cancelled = true;
    current_.reset();
}

void ThumbnailLoader::Request(const QString& path)
{
    Cancel();
    auto job = std::make_shared<Job>();
    job->path = path;
    job->size = size_;
    current_ = job;
    start_->start();
}

void ThumbnailLoader::Start()
{
    const std::shared_ptr<Job> job = current_;
    if (!job)
        return;
    auto* watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, job] {
        watcher->deleteLater();
        if (job != current_ || job->cancelled)
            return;
        current_.reset();
        emit Ready(job->path, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(
        &PreviewThreads(), [job] { return MakeThumbnail(job->path, job->size, &job->cancelled); }));
}

}  // namespace preview
