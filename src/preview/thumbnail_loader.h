#pragma once
// Thumbnails made on worker threads, handed back to the window by a queued
// signal. The file is looked at, read, parsed and drawn away from the window,
// so a click on a drawing costs no more than asking; results are kept by
// path, size and modification time, and a file that changes is drawn again.

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <atomic>
#include <memory>

class QThreadPool;
class QTimer;

namespace preview {

// The threads that load and draw previews, apart from the program's others.
QThreadPool& PreviewThreads();

// The thumbnail of a file, from the cache when its size and time still match.
QImage MakeThumbnail(const QString& path, QSize size, const std::atomic<bool>* cancel = nullptr);

class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailLoader(QSize size, QObject* parent = nullptr);
    // Cancels what is under way; its result is never delivered.
    ~ThumbnailLoader() override;

    // Replaces any request before it: only the latest is answered. The work
    // starts once the event loop is back, after the click that asked has been
    // handled and painted, so that the two never compete for the processor.
    void Request(const QString& path);
    void Cancel();
    bool Pending() const { return current_ != nullptr; }
    QSize size() const { return size_; }

signals:
    void Ready(const QString& path, const QImage& image);

private:
    struct Job;
    void Start();

    QSize size_;
    std::shared_ptr<Job> current_;
    QTimer* start_;
};

}  // namespace preview
