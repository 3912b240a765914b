#include "preview/thumbnail_loader.h"

#include <QDateTime>
#include <QFileInfo>
#include <QMutex>
#include <QProcess>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <list>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "preview/preview_document.h"
#include "preview/thumbnail_helper.h"

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
        // Never destroyed: a thread left behind may still finish at exit.
        static auto* cache = new ThumbnailCache;
        return *cache;
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

std::atomic<int> underWay{0};

// The key of a regular file, or nothing for anything else (looked at, not opened).
std::optional<CacheKey> KeyOf(const QString& path, QSize size)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return CacheKey{path, info.size(), info.lastModified().toMSecsSinceEpoch(), size};
}

}  // namespace

struct ThumbnailLoader::Job {
    Job() { ++underWay; }
    ~Job() { --underWay; }

    QString path;
    QSize size;
    std::atomic<bool> cancelled{false};
};

// What the loader and its look threads share; a thread may outlive the loader.
struct ThumbnailLoader::Mailbox {
    std::mutex mutex;
    ThumbnailLoader* receiver = nullptr;

    template <class F>
    void Post(F deliver)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (ThumbnailLoader* to = receiver)
            QMetaObject::invokeMethod(
                to, [to, deliver = std::move(deliver)] { deliver(*to); }, Qt::QueuedConnection);
    }
};

struct ThumbnailLoader::Look {
    CacheKey key;
};

int ThumbnailsUnderWay()
{
    return underWay.load();
}

QThreadPool& PreviewThreads()
{
    // Left to the end of the process rather than owned by the application,
    // whose end would wait for a thread stuck on a share that hangs.
    static QThreadPool* pool = [] {
        auto* threads = new QThreadPool;
        threads->setMaxThreadCount(kThreads);
        return threads;
    }();
    return *pool;
}

QImage MakeThumbnail(const QString& path, QSize size, const std::atomic<bool>* cancel)
{
    const std::optional<CacheKey> key = KeyOf(path, size);
    if (key)
        if (auto cached = ThumbnailCache::Instance().Find(*key))
            return *cached;
    LoadOptions options;
    options.pictureSize = size;
    options.cancel = cancel;
    const QImage image = RenderThumbnail(LoadPreview(path, options), size, cancel);
    if (key && !(cancel && cancel->load()))
        ThumbnailCache::Instance().Store(*key, image);
    return image;
}

ThumbnailLoader::ThumbnailLoader(QSize size, QObject* parent)
    : QObject(parent),
      size_(size),
      helper_(FindPreviewHelper()),
      timeLimit_(kHelperTimeLimit),
      mailbox_(std::make_shared<Mailbox>()),
      start_(new QTimer(this))
{
    mailbox_->receiver = this;
    start_->setSingleShot(true);
    start_->setInterval(0);
    connect(start_, &QTimer::timeout, this, &ThumbnailLoader::Start);
}

ThumbnailLoader::~ThumbnailLoader()
{
    {
        std::lock_guard<std::mutex> lock(mailbox_->mutex);
        mailbox_->receiver = nullptr;
    }
    Cancel();
}

void ThumbnailLoader::Cancel()
{
    start_->stop();
    if (current_)
        current_->cancelled = true;
    current_.reset();
    Abandon();
}

// A helper under way is killed and left to delete itself once it has ended;
// nothing waits for it.
void ThumbnailLoader::Abandon()
{
    QProcess* process = std::exchange(process_, nullptr);
    if (!process)
        return;
    disconnect(process, nullptr, this, nullptr);
    process->setParent(nullptr);
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->kill();
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
    // Looking at a file on a share may block for good: the thread is left
    // behind then, holding only its own copies.
    const bool inProcess = helper_.isEmpty();
    auto work = [job, mailbox = mailbox_, inProcess] {
        const std::optional<CacheKey> key = KeyOf(job->path, job->size);
        std::optional<QImage> image;
        if (key)
            image = ThumbnailCache::Instance().Find(*key);
        // Without a helper (one was not installed beside the program) the file
        // is drawn here, on this thread, as before there were helpers; what is
        // not a regular file is never opened, so its thumbnail is safe to draw.
        if (!image && (inProcess || !key))
            image = MakeThumbnail(job->path, job->size, &job->cancelled);
        if (image)
            mailbox->Post(
                [job, image = *image](ThumbnailLoader& loader) { loader.Finish(job, image); });
        else
            mailbox->Post(
                [job, look = Look{*key}](ThumbnailLoader& loader) { loader.Launch(job, look); });
    };
    try {
        std::thread(std::move(work)).detach();
    } catch (const std::system_error&) {
        Finish(job, CannotShowThumbnail(job->path, -1, job->size));  // no thread to spare
    }
}

void ThumbnailLoader::Launch(const std::shared_ptr<Job>& job, const Look& look)
{
    if (job != current_ || job->cancelled)
        return;
    Abandon();
    std::unique_ptr<QProcess> started = StartPreviewHelper(helper_, job->path, job->size);
    QProcess* process = started.release();
    process->setParent(this);
    process_ = process;
    auto done = [this, process, job, look] {
        if (process_ != process)
            return;
        process_ = nullptr;
        QImage image = HelperPicture(*process);
        process->deleteLater();
        if (image.isNull())
            image = CannotShowThumbnail(job->path, look.key.size, job->size);
        else
            ThumbnailCache::Instance().Store(look.key, image);
        Finish(job, image);
    };
    connect(process, &QProcess::finished, this, done);
    connect(process, &QProcess::errorOccurred, this, [done](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            done();
    });
    // A hang is killed; its end comes back through `finished` as a crash.
    QTimer::singleShot(timeLimit_, process, [process] { process->kill(); });
}

void ThumbnailLoader::Finish(const std::shared_ptr<Job>& job, QImage image)
{
    if (job != current_ || job->cancelled)
        return;
    current_.reset();
    emit Ready(job->path, image);
}

}  // namespace preview
