#pragma once
// Reading a previewed file whole into memory, safely: only a regular file is
// opened (a FIFO or a device named like a drawing would block, never end, or
// do something merely by being opened), its kind looked at before it is
// opened; and never more than a limit is read.

#include <QByteArray>
#include <QString>

namespace preview {

struct FileBytes {
    enum class Status { Read, Missing, NotRegular, Unreadable };
    Status status = Status::Missing;
    QByteArray bytes;
    qint64 size = -1;        // of the whole file
    bool truncated = false;  // the file is larger than the limit
};

// At most `limit` bytes of the file.
FileBytes ReadFileBytes(const QString& path, qint64 limit);

// Only the size, with the same refusal of anything but a regular file; the
// file is not opened.
FileBytes StatFile(const QString& path);

}  // namespace preview
