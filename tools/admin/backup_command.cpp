#include "tools/admin/backup_command.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <optional>
#include <ostream>

#include "tools/admin/backup_files.h"
#include "tools/admin/backup_io.h"
#include "tools/admin/backup_texts.h"
#include "tools/admin/command_line.h"
#include "tools/admin/local_text.h"
#include "tools/admin/seeder.h"
#include "tools/admin/table_counts.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace admin {

namespace {

// A rename is durable once its folder is.
void SyncFolder(const std::string& folder)
{
#ifndef _WIN32
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
#else
    (void)folder;
#endif
}

// Restores the file into a throwaway database and compares its counts with
// the source's around the backup's start.
std::vector<std::string> Verify(const std::string& file, const TableCounts& before,
                                const TableCounts& after, TableCounts& restored)
{
    QTemporaryDir scratch(QDir::temp().filePath("k5x7-verify-XXXXXX"));
    if (!scratch.isValid())
        return {backup_texts::kScratchFailed + FromLocal(QDir::tempPath())};
    const std::string copy = FromLocal(scratch.filePath("VERIFY.FDB"));
    const StreamResult restore = RestoreFromFile(file, copy, storage::RestoreMode::CreateOnly);
    if (!restore.ok)
        return {backup_texts::kVerifyRestoreFailed + file, FailureText(restore)};
    std::optional<TableCounts> counts = CountRows(copy);
    if (!counts)
        return {backup_texts::kVerifyRestoreFailed + file, backup_texts::kCountsUnreadable + copy};
    restored = std::move(*counts);
    std::vector<std::string> differences = CountDifferences(before, after, restored);
    if (!differences.empty())
        differences.insert(differences.begin(),
                           backup_texts::kVerifyCountFailed + std::string(" ") + file);
    return differences;
}

}  // namespace

BackupReport RunBackup(const BackupRequest& request, const QDateTime& now)
{
    BackupReport report;
    const QFileInfo folderInfo(Local(request.folder));
    if (!folderInfo.isDir()) {
        report.problems.push_back(backup_texts::kFolderMissing + request.folder);
        return report;
    }
    const std::string folder = FromLocal(folderInfo.absoluteFilePath()) + "/";
    const std::string database = seed::AbsoluteDatabasePath(request.database);
    const std::string name = BackupFileName(DatabaseStem(database), now);
    report.file = folder + name;
    // Hidden while unproven, so that neither a person nor the pruning takes it.
    const std::string partial = folder + "." + name + ".part";
    if (QFileInfo::exists(Local(report.file)) || QFileInfo::exists(Local(partial))) {
        report.problems.push_back(backup_texts::kNameTaken + report.file);
        return report;
    }

    CountSnapshot before(database);
    if (!before.started()) {
        report.problems.push_back(backup_texts::kDatabaseUnreachable + database);
        return report;
    }
    std::optional<CountSnapshot> after;
    const StreamResult written = BackupToFile(database, partial, [&] { after.emplace(database); });
    if (!written.ok) {
        report.problems = {backup_texts::kBackupFailed + database, FailureText(written),
                           backup_texts::kNothingKept};
        return report;
    }
    std::optional<TableCounts> first = before.Read();
    std::optional<TableCounts> second = after ? after->Read() : std::nullopt;
    if (!first || !second) {
        std::remove(partial.c_str());
        report.problems = {backup_texts::kCountsUnreadable + database, backup_texts::kNothingKept};
        return report;
    }

    TableCounts restored;
    report.problems = Verify(partial, *first, *second, restored);
    if (!report.problems.empty()) {
        std::remove(partial.c_str());
        return report;
    }
    if (std::rename(partial.c_str(), report.file.c_str()) != 0) {
        std::remove(partial.c_str());
        report.problems = {backup_texts::kBackupFailed + report.file, backup_texts::kNothingKept};
        return report;
    }
    SyncFolder(folder);
    report.tables = restored.size();
    report.rows = TotalRows(restored);
    report.ok = true;

    for (const std::string& old :
         BackupsBeyond(BackupsIn(folder, DatabaseStem(database)), request.keep)) {
        const std::string path = folder + old;
        if (std::remove(path.c_str()) == 0)
            report.removed.push_back(path);
        else
            report.problems.push_back(backup_texts::kRemoveFailed + path);
    }
    return report;
}

int RunBackupCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    int exitCode = 0;
    const std::optional<Arguments> parsed = ArgumentsOrAnswer(
        args, 2, {"--keep"}, {}, backup_texts::kUsage, backup_texts::kPrefix, out, err, exitCode);
    if (!parsed)
        return exitCode;
    BackupRequest request{parsed->positional[0], parsed->positional[1]};
    if (const auto keep = parsed->values.find("--keep"); keep != parsed->values.end()) {
        request.keep = PositiveNumber(keep->second, 9999);
        if (request.keep == 0) {
            err << backup_texts::kPrefix << backup_texts::kKeepInvalid << "\n"
                << backup_texts::kUsage;
            return 2;
        }
    }

    const BackupReport report = RunBackup(request, QDateTime::currentDateTime());
    if (report.ok)
        out << backup_texts::kPrefix << backup_texts::kDone << report.file
            << backup_texts::kDoneTables << report.tables << backup_texts::kDoneRows << report.rows
            << backup_texts::kDoneVerified << "\n";
    for (const std::string& removed : report.removed)
        out << backup_texts::kPrefix << backup_texts::kRemovedOld << removed << "\n";
    for (const std::string& problem : report.problems)
        err << backup_texts::kPrefix << problem << "\n";
    return report.ok && report.problems.empty() ? 0 : 1;
}

}  // namespace admin
