#include "reports/replacing_file.h"

#include <QDir>
#include <QFileInfo>

#include "reports/report_texts.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#include <cstdio>
#endif

namespace reports {

namespace {

// The longest file name most file systems take, in bytes.
constexpr int kLongestName = 255;

bool RenameOver(const QString& from, const QString& to)
{
#ifdef _WIN32
    return MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

bool SyncToDisk(QFileDevice& file)
{
    const int handle = file.handle();
    if (handle < 0)
        return true;
#ifdef _WIN32
    return _commit(handle) == 0;
#else
    return fsync(handle) == 0;
#endif
}

}  // namespace

ReplacingFile::ReplacingFile(QString target) : target_(std::move(target)) {}

ReplacingFile::~ReplacingFile()
{
    if (file_ && !committed_)
        file_->remove();
}

ReportResult ReplacingFile::Open()
{
    const QFileInfo info(target_);
    if (QFile::encodeName(info.fileName()).size() > kLongestName)
        return ReportResult::Failure(texts::kNameTooLong);
    file_ = std::make_unique<QTemporaryFile>(info.absolutePath() + QStringLiteral("/.k5x7-XXXXXX"));
    file_->setAutoRemove(false);  // removed here unless committed, also once closed
    if (!info.absoluteDir().exists() || !file_->open())
        return ReportResult::Failure(texts::kCannotCreate);
    return {};
}

QString ReplacingFile::HandOverPath()
{
    file_->close();
    return file_->fileName();
}

ReportResult ReplacingFile::Commit()
{
    if (file_->isOpen()) {
        // A write the disk refused shows only in the flush or the device's error.
        const bool written =
            file_->flush() && file_->error() == QFileDevice::NoError && SyncToDisk(*file_);
        file_->close();
        if (!written)
            return ReportResult::Failure(texts::kWriteFailed);
    } else {
        QFile written(file_->fileName());
        if (!written.open(QIODevice::ReadOnly) || !SyncToDisk(written))
            return ReportResult::Failure(texts::kWriteFailed);
    }
    const QFileInfo target(target_);
    QFile::Permissions permissions = target.exists() ? target.permissions()
                                                     : QFile::ReadOwner | QFile::WriteOwner |
                                                           QFile::ReadGroup | QFile::ReadOther;
    QFile::setPermissions(file_->fileName(), permissions);
    // A temporary file holds its handle until it is destroyed, and Windows
    // moves no file that is open.
    const QString written = file_->fileName();
    file_.reset();
    if (!RenameOver(written, target.absoluteFilePath())) {
        QFile::remove(written);
        return ReportResult::Failure(texts::kCannotReplace);
    }
    committed_ = true;
    return {};
}

}  // namespace reports
