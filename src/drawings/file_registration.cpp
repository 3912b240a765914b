#include "drawings/file_registration.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "drawings/detail_texts.h"
#include "drawings/drawing_info_logic.h"
#include "drawings/jwcad_header.h"
#include "drawings/node_text.h"
#include "text/cp932.h"
#include "text/mbcs.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace drawings {

namespace {

constexpr int kNodeNameBytes = 32;
constexpr std::size_t kPathColumnBytes = 255;  // FILE_NAME and PATH_NAME
constexpr int kRefusalsListed = 10;

std::string DayString(const QDateTime& time)
{
    if (!time.isValid())
        return {};
    const QDate day = time.toLocalTime().date();
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4d%.2d%.2d", day.year(), day.month(), day.day());
    const std::string text(buffer);
    return text::IsValidDateString(text) ? text : std::string();
}

QString RefusalReason(Refusal refusal)
{
    return QString::fromUtf8(refusal == Refusal::TooLong ? detail_texts::kTooLongName
                                                         : detail_texts::kUnstorableName);
}

QString RefusedMessage(const std::vector<FileEntry>& refused)
{
    QStringList lines{QString::fromUtf8(detail_texts::kRefusedFiles)};
    for (std::size_t i = 0; i < refused.size() && i < kRefusalsListed; ++i)
        lines << refused[i].path + RefusalReason(refused[i].refusal);
    if (refused.size() > kRefusalsListed)
        lines << QStringLiteral("…");
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

#ifdef _WIN32

FileDays ReadFileDays(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return {};
    return {DayString(info.birthTime()), DayString(info.lastModified())};
}

#else

FileDays ReadFileDays(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct statx found {};
    if (name.isEmpty() ||
        statx(AT_FDCWD, name.constData(), 0, STATX_MTIME | STATX_CTIME | STATX_BTIME, &found) != 0)
        return {};
    auto time = [](const struct statx_timestamp& stamp) {
        return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(stamp.tv_sec));
    };
    FileDays days;
    if (found.stx_mask & STATX_BTIME)
        days.created = DayString(time(found.stx_btime));
    else if (found.stx_mask & STATX_CTIME)
        days.created = DayString(time(found.stx_ctime));
    if (found.stx_mask & STATX_MTIME)
        days.modified = DayString(time(found.stx_mtime));
    return days;
}

#endif

FileEntry DescribeFile(const QString& path)
{
    FileEntry entry;
    entry.path = path;
    const PathParts parts = SplitPath(StoredPath(path));
    const std::optional<std::string> fileName = text::ToCp932(parts.fileName);
    const std::optional<std::string> folder = text::ToCp932(parts.folder);
    if (!fileName || !folder) {
        entry.refusal = Refusal::UnstorableName;
        return entry;
    }
    entry.fileName = *fileName;
    entry.folder = *folder;
    if (entry.fileName.size() > kPathColumnBytes || entry.folder.size() > kPathColumnBytes) {
        entry.refusal = Refusal::TooLong;
        return entry;
    }
    // A colon would end the name in the item text (Linux names may hold one);
    // it is never a byte of a two-byte character.
    std::string name = entry.fileName;
    std::replace(name.begin(), name.end(), ':', '_');
    entry.nodeName = text::CopyMbcs(name, 1, kNodeNameBytes).text;
    entry.days = ReadFileDays(path);
    entry.headerText = ReadJwcadHeader(QFile::encodeName(path).toStdString());
    return entry;
}

std::vector<std::string> DrawingValuesOf(const FileEntry& file, int member)
{
    std::vector<std::string> values{text::SqlText(file.fileName), text::SqlText(file.folder)};
    values.insert(values.end(), 3, "NULL");  // ZUMENN, MTITLE, STITLE
    values.push_back(text::SqlTextOrNull(file.headerText));
    values.insert(values.end(), 2, "NULL");  // MEMO2, MEMO3
    values.push_back(std::to_string(member));
    values.push_back(text::SqlTextOrNull(file.days.created));
    values.push_back(text::SqlTextOrNull(file.days.modified));
    for (int stamp = 0; stamp < 4; ++stamp)  // KN/KDATE to RN/RDATE
        values.insert(values.end(), {"0", "NULL"});
    return values;
}

std::optional<std::string> ChosenFolder(const QString& firstPath)
{
    return text::ToCp932(SplitPath(QDir::toNativeSeparators(firstPath)).folder);
}

FileRegistration::FileRegistration(storage::Database& db, const ProjectTables& tables, int member)
    : editor_(db, tables), member_(member)
{}

NodeCreation FileRegistration::Store(int parentNumber, const FileEntry& file, int firstNumber)
{
    return editor_.CreateNode(parentNumber, file.nodeName, member_, DrawingValuesOf(file, member_),
                              firstNumber);
}

RegistrationOutcome FileRegistration::RegisterFiles(
    int parentNumber, const QStringList& paths, const std::function<bool(int done)>& keepGoing,
    const std::function<void(const RegisteredFile&)>& onStored)
{
    RegistrationOutcome outcome;
    QString failure;
    int next = 0;
    for (int i = 0; i < paths.size(); ++i) {
        if (keepGoing && !keepGoing(i)) {
            outcome.stopped = true;
            break;
        }
        FileEntry file = DescribeFile(paths[i]);
        if (file.refusal != Refusal::None) {
            outcome.refused.push_back(std::move(file));
            continue;
        }
        const NodeCreation made = Store(parentNumber, file, next);
        if (!made.created()) {
            // A database that refuses one node refuses the next as well.
            outcome.failed = true;
            failure = made.message;
            break;
        }
        ++outcome.registered;
        next = made.number < std::numeric_limits<int>::max() ? made.number + 1 : 0;
        if (onStored)
            onStored({made.number, NodeText(file.nodeName, made.number)});
    }
    QStringList parts;
    if (!outcome.refused.empty())
        parts << RefusedMessage(outcome.refused);
    if (outcome.failed)
        parts << failure;
    outcome.message = parts.join(QStringLiteral("\n\n"));
    return outcome;
}

}  // namespace drawings
