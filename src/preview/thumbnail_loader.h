#pragma once
// Thumbnails made away from the window, handed back by a queued signal. The
// file is looked at (without opening it) on a thread of its own that is left
// behind if the share hangs; a regular file is then read, parsed and drawn by
// the helper process (thumbnail_helper.h), so a hostile file costs at most a
// "cannot show" thumbnail. A click on a drawing costs no more than asking;
// results are kept by path, size and modification time, and a file that
// changes is drawn again. Nothing here holds the program's exit: a helper
// under way is killed, a look that hangs is abandoned.

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <atomic>
#include <chrono>
#include <memory>

class QProcess;
class QThreadPool;
class QTimer;

namespace preview {

// The threads that load and draw previews, apart from the program's others;
// not the application's, so that its end never waits for them.
QThreadPool& PreviewThreads();

// The thumbnail of a file drawn in this process, from the cache when its size
// and time still match.
QImage MakeThumbnail(const QString& path, QSize size, const std::atomic<bool>* cancel = nullptr);

// Thumbnails asked for and not yet answered or dropped (for measuring).
int ThumbnailsUnderWay();

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
    // The helper's time limit.
    void SetTimeLimit(std::chrono::milliseconds limit) { timeLimit_ = limit; }

signals:
    void Ready(const QString& path, const QImage& image);

private:
    struct Job;
    struct Mailbox;
    struct Look;
    void Start();
    void Launch(const std::shared_ptr<Job>& job, const Look& look);
    void Finish(const std::shared_ptr<Job>& job, QImage image);
    void Abandon();

    QSize size_;
    QString helper_;  // empty: drawn in this process
    std::chrono::milliseconds timeLimit_;
    std::shared_ptr<Job> current_;
    std::shared_ptr<Mailbox> mailbox_;
    QProcess* process_ = nullptr;
    QTimer* start_;
};

}  // namespace preview
