#include "preview/file_access.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace preview {

namespace {

constexpr qint64 kChunk = 1 << 20;

}  // namespace

#ifdef _WIN32

FileBytes StatFile(const QString& path)
{
    FileBytes file;
    const QFileInfo info(path);
    if (!info.exists())
        return file;
    if (!info.isFile()) {
        file.status = FileBytes::Status::NotRegular;
        return file;
    }
    file.status = FileBytes::Status::Read;
    file.size = info.size();
    return file;
}

FileBytes ReadFileBytes(const QString& path, qint64 limit)
{
    FileBytes file = StatFile(path);
    if (file.status != FileBytes::Status::Read)
        return file;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        file.status = FileBytes::Status::Unreadable;
        return file;
    }
    file.bytes = in.read(limit);
    file.truncated = file.size > limit;
    return file;
}

#else

namespace {

// Opened without blocking, so that a FIFO cannot hang the open itself; it is
// refused right after.
int OpenRegular(const QString& path, FileBytes& file)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || name.contains('\0'))
        return -1;
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        file.status = errno == ENOENT || errno == ENOTDIR ? FileBytes::Status::Missing
                                                          : FileBytes::Status::Unreadable;
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        file.status = FileBytes::Status::NotRegular;
        return -1;
    }
    file.status = FileBytes::Status::Read;
    file.size = info.st_size;
    return fd;
}

}  // namespace

FileBytes StatFile(const QString& path)
{
    FileBytes file;
    const int fd = OpenRegular(path, file);
    if (fd >= 0)
        ::close(fd);
    return file;
}

FileBytes ReadFileBytes(const QString& path, qint64 limit)
{
    FileBytes file;
    const int fd = OpenRegular(path, file);
    if (fd < 0)
        return file;
    const qint64 wanted = std::min(file.size, limit);
    file.bytes.reserve(wanted);
    // Reads until the end even when the file grows or shrinks meanwhile.
    while (file.bytes.size() < limit) {
        const qint64 room = std::min(kChunk, limit - file.bytes.size());
        const qsizetype before = file.bytes.size();
        file.bytes.resize(before + room);
        const ssize_t got = ::read(fd, file.bytes.data() + before, static_cast<size_t>(room));
        if (got < 0 && errno == EINTR) {
            file.bytes.resize(before);
            continue;
        }
        if (got <= 0) {
            file.bytes.resize(before);
            if (got < 0)
                file.status = FileBytes::Status::Unreadable;
            break;
        }
        file.bytes.resize(before + got);
    }
    file.truncated = file.size > limit;
    ::close(fd);
    return file;
}

#endif

}  // namespace preview
