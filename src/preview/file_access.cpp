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

bool EncodedName(const QString& path, QByteArray& name)
{
    name = QFile::encodeName(path);
    return !name.isEmpty() && !name.contains('\0');
}

void TakeKind(const struct stat& info, FileBytes& file)
{
    if (!S_ISREG(info.st_mode)) {
        file.status = FileBytes::Status::NotRegular;
        return;
    }
    file.status = FileBytes::Status::Read;
    file.size = info.st_size;
}

FileBytes::Status StatFailure()
{
    return errno == ENOENT || errno == ENOTDIR ? FileBytes::Status::Missing
                                               : FileBytes::Status::Unreadable;
}

// The kind is looked at before the file is opened; the open does not block
// and the kind is looked at again, in case another file took the name meanwhile.
int OpenRegular(const QString& path, FileBytes& file)
{
    QByteArray name;
    if (!EncodedName(path, name))
        return -1;
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        file.status = StatFailure();
        return -1;
    }
    TakeKind(info, file);
    if (file.status != FileBytes::Status::Read)
        return -1;
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        file.status = StatFailure();
        return -1;
    }
    if (::fstat(fd, &info) != 0)
        file.status = FileBytes::Status::Unreadable;
    else
        TakeKind(info, file);
    if (file.status != FileBytes::Status::Read) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

FileBytes StatFile(const QString& path)
{
    FileBytes file;
    QByteArray name;
    struct stat info {};
    if (!EncodedName(path, name))
        return file;
    if (::stat(name.constData(), &info) != 0)
        file.status = StatFailure();
    else
        TakeKind(info, file);
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
