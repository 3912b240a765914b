#include "tools/admin/backup_io.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "tools/admin/backup_texts.h"

namespace admin {

namespace {

bool Sync(std::FILE* file)
{
    if (std::fflush(file) != 0)
        return false;
#ifdef _WIN32
    return true;
#else
    return fsync(fileno(file)) == 0;
#endif
}

}  // namespace

StreamResult BackupToFile(const std::string& databasePath, const std::string& file,
                          const std::function<void()>& firstBytes)
{
    StreamResult result;
    // Made for its owner alone, never over a file that is there: the office's
    // whole database goes into it.
    {
        QFile made(QString::fromLocal8Bit(file));
        errno = 0;
        if (!made.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                       QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
            result.fileError = errno ? errno : EEXIST;
            return result;
        }
    }
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) {
        result.fileError = errno;
        std::remove(file.c_str());
        return result;
    }
    bool begun = false;
    const storage::ServiceOutcome outcome =
        storage::StreamBackup(databasePath, [&](const char* data, std::size_t size) {
            if (!begun) {
                begun = true;
                if (firstBytes)
                    firstBytes();
            }
            if (std::fwrite(data, 1, size, out) == size)
                return true;
            result.fileError = errno ? errno : EIO;
            return false;
        });
    if (outcome.ok && !result.fileError && !Sync(out))
        result.fileError = errno ? errno : EIO;
    if (std::fclose(out) != 0 && outcome.ok && !result.fileError)
        result.fileError = errno ? errno : EIO;
    result.serverError = outcome.error;
    result.ok = outcome.ok && !result.fileError;
    if (!result.ok)
        std::remove(file.c_str());
    return result;
}

StreamResult RestoreFromFile(const std::string& file, const std::string& databasePath,
                             storage::RestoreMode mode)
{
    StreamResult result;
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (!in) {
        result.fileError = errno;
        return result;
    }
    const storage::ServiceOutcome outcome = storage::StreamRestore(
        [&](char* buffer, std::size_t capacity) -> long {
            const std::size_t got = std::fread(buffer, 1, capacity, in);
            if (got == 0 && std::ferror(in)) {
                result.fileError = errno ? errno : EIO;
                return -1;
            }
            return static_cast<long>(got);
        },
        databasePath, mode);
    std::fclose(in);
    result.serverError = outcome.error;
    result.ok = outcome.ok && !result.fileError;
    return result;
}

std::string FailureText(const StreamResult& result)
{
    std::string text;
    if (result.fileError == ENOSPC
#ifdef EDQUOT
        || result.fileError == EDQUOT
#endif
    )
        text = backup_texts::kDiskFull;
    else if (result.fileError)
        text = backup_texts::kFileFailed + std::string(std::strerror(result.fileError));
    if (!result.serverError.empty()) {
        if (!text.empty())
            text += "\n";
        std::string said = result.serverError;
        for (std::size_t nl; (nl = said.find('\n')) != std::string::npos;)
            said.replace(nl, 1, " / ");
        text += backup_texts::kServerSaid + said;
    }
    return text.empty() ? std::string(backup_texts::kStopped) : text;
}

}  // namespace admin
