#pragma once
// Drawing a thumbnail in a helper process (`k5x7-admin preview FILE - --size
// WxH`), so that a hostile or damaged file is parsed apart from the process
// that holds the database connection: the helper runs with a time limit,
// after which it is killed, and a memory limit; whatever it does, the worst
// is a thumbnail that says the file cannot be shown.

#include <QImage>
#include <QSize>
#include <QString>
#include <chrono>
#include <memory>

class QProcess;

namespace preview {

inline constexpr std::chrono::milliseconds kHelperTimeLimit{15000};
inline constexpr std::uint64_t kHelperMemoryBytes = 1ull << 30;

// k5x7-admin beside the running executable (as installed, and in the build
// tree through a compile definition); the environment variable names another
// (tests stand in a helper that hangs or dies). Empty when there is none.
QString FindAdminHelper(const char* overrideVariable);
// Overridden by K5X7_PREVIEW_HELPER.
QString FindPreviewHelper();

// Started, limited in memory; the caller keeps the time limit.
std::unique_ptr<QProcess> StartPreviewHelper(const QString& helper, const QString& path,
                                             QSize size);

// The picture the helper wrote, or a null image when it failed, crashed or
// was killed.
QImage HelperPicture(QProcess& process);

// What a thumbnail says when its file could not be drawn.
QImage CannotShowThumbnail(const QString& path, qint64 bytes, QSize size);

// Synchronous, for measuring: start, wait at most the limit, read.
QImage DrawInHelper(const QString& helper, const QString& path, QSize size,
                    std::chrono::milliseconds limit = kHelperTimeLimit);

}  // namespace preview
