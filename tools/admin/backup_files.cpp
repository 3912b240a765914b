#include "tools/admin/backup_files.h"

#include <QDir>
#include <algorithm>

#include "text/mbcs.h"

namespace admin {

namespace {

constexpr char kExtension[] = ".fbk";
// "-yyyymmdd-hhmmss.fbk"
constexpr std::size_t kStampedTail = 1 + 8 + 1 + 6 + 4;

}  // namespace

std::string DatabaseStem(const std::string& databasePath)
{
    const std::size_t separator = databasePath.find_last_of("/\\:");
    std::string name =
        separator == std::string::npos ? databasePath : databasePath.substr(separator + 1);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

std::string BackupFileName(const std::string& stem, const QDateTime& when)
{
    return stem + "-" + when.toString("yyyyMMdd-HHmmss").toStdString() + kExtension;
}

bool IsBackupOf(const std::string& fileName, const std::string& stem)
{
    if (fileName.size() != stem.size() + kStampedTail || fileName.compare(0, stem.size(), stem))
        return false;
    const std::string tail = fileName.substr(stem.size());
    return tail[0] == '-' && text::IsAllDigits(tail.substr(1, 8)) && tail[9] == '-' &&
           text::IsAllDigits(tail.substr(10, 6)) && tail.substr(16) == kExtension;
}

std::vector<std::string> BackupsIn(const std::string& folder, const std::string& stem)
{
    std::vector<std::string> found;
    const QDir dir(QString::fromLocal8Bit(folder));
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        const std::string local = name.toLocal8Bit().toStdString();
        if (IsBackupOf(local, stem))
            found.push_back(local);
    }
    // The stamp sorts as it reads.
    std::sort(found.rbegin(), found.rend());
    return found;
}

std::vector<std::string> BackupsBeyond(const std::vector<std::string>& newestFirst, int keep)
{
    if (keep < 0 || newestFirst.size() <= static_cast<std::size_t>(keep))
        return {};
    return {newestFirst.begin() + keep, newestFirst.end()};
}

}  // namespace admin
