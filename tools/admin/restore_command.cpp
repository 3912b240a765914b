#include "tools/admin/restore_command.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUuid>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <ostream>

#include "storage/database.h"
#include "storage/service_manager.h"
#include "tools/admin/backup_io.h"
#include "tools/admin/command_line.h"
#include "tools/admin/consistency_check.h"
#include "tools/admin/local_text.h"
#include "tools/admin/restore_texts.h"
#include "tools/admin/seeder.h"
#include "tools/admin/table_counts.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace admin {

namespace {

bool Failed(RestoreReport& report, std::vector<std::string> problems)
{
    report.problems = std::move(problems);
    return false;
}

// The replacement keeps the owner and mode of the file it replaces, so that a
// server that opened the old one can open the new one; a new database is
// its owner's alone.
void TakeOwnership(const std::string& from, const std::string& to)
{
    if (from.empty() || !QFileInfo::exists(Local(from))) {
        QFile::setPermissions(Local(to), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return;
    }
#ifndef _WIN32
    struct stat old {};
    if (stat(from.c_str(), &old) == 0) {
        if (chown(to.c_str(), old.st_uid, old.st_gid) != 0) {
            // Only root may give a file away; the mode still follows.
        }
        chmod(to.c_str(), old.st_mode & 07777);
    }
#endif
}

// Moves the restored file to its name; without `replace` only where no file is.
bool Place(const std::string& restored, const std::string& target, bool replace)
{
    if (!replace) {
#ifndef _WIN32
        if (link(restored.c_str(), target.c_str()) != 0)
            return false;
        std::remove(restored.c_str());
        return true;
#else
        // The C library's rename never replaces a file on Windows.
        return std::rename(restored.c_str(), target.c_str()) == 0;
#endif
    }
    std::error_code error;
    std::filesystem::rename(restored, target, error);
    return !error;
}

// The restored database as it must be before it takes the old one's place:
// every table's count as in the backup file, and Firebird's page validation
// clean. Empty when it is.
std::vector<std::string> Checked(const std::string& database,
                                 const std::optional<TableCounts>& expected, TableCounts& counts)
{
    const std::optional<TableCounts> read = CountRows(database);
    if (!read || (expected && *read != *expected))
        return {restore_texts::kCountsDiffer + database};
    std::vector<std::string> faults;
    const storage::ServiceOutcome validated =
        storage::ValidateOnline(database, [&](std::string_view line) {
            if (IsValidationFault(line))
                faults.emplace_back(line);
        });
    if (!validated.ok)
        faults.push_back(validated.error);
    if (!faults.empty())
        faults.insert(faults.begin(), restore_texts::kValidationFailed + database);
    counts = *read;
    return faults;
}

// Whether a PC or program other than this one has the database open.
bool OthersAttached(storage::Database& db)
{
    if (!db.OpenQuery({"SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> "
                       "CURRENT_CONNECTION AND MON$SYSTEM_FLAG = 0"}))
        return true;
    const bool others =
        !db.QueryFirst() || db.QueryEof() || db.QueryRow().empty() || db.QueryRow()[0] != "0";
    db.CloseCursor();
    return others;
}

std::vector<std::string> With(std::vector<std::string> lines, const char* last)
{
    lines.emplace_back(last);
    return lines;
}

// A local database: restored into a private folder beside its place, checked
// there, then moved to its name in one step, so the old file stays whole
// until the new one is.
bool RestoreLocal(const RestoreRequest& request, const std::string& target, RestoreReport& report)
{
    const QFileInfo info(Local(target));
    const bool exists = info.exists();
    if (exists && !request.replace)
        return Failed(report, {restore_texts::kExists + target});
    if (!info.absoluteDir().exists())
        return Failed(report, {restore_texts::kFolderMissing + FromLocal(info.absolutePath())});
    // Made for this user alone, and gone with everything in it on any return.
    QTemporaryDir folder(info.absoluteDir().filePath("." + info.fileName() + "-XXXXXX"));
    if (!folder.isValid())
        return Failed(report, {restore_texts::kPlaceFailed + target, restore_texts::kUntouched});
    const std::string scratch = FromLocal(folder.filePath(info.fileName()));
    const StreamResult restored =
        RestoreFromFile(request.file, scratch, storage::RestoreMode::CreateOnly);
    if (!restored.ok)
        return Failed(report, {restore_texts::kDamaged + request.file, FailureText(restored),
                               exists ? restore_texts::kKeptOld : restore_texts::kUntouched});
    TableCounts counts;
    if (std::vector<std::string> faults = Checked(scratch, std::nullopt, counts); !faults.empty())
        return Failed(report, With(std::move(faults),
                                   exists ? restore_texts::kKeptOld : restore_texts::kUntouched));
    // Held while the new file takes its place: no one else opens it meanwhile.
    storage::Database holder;
    if (exists) {
        holder.ConnectDatabase(target);
        if (!holder.Connected())
            return Failed(report, {restore_texts::kInUse + target, restore_texts::kKeptOld});
    }
    TakeOwnership(exists ? target : std::string(), scratch);
    if (!Place(scratch, target, exists))
        return Failed(report, {restore_texts::kPlaceFailed + target,
                               exists ? restore_texts::kKeptOld : restore_texts::kUntouched});
    report.tables = counts.size();
    report.rows = TotalRows(counts);
    return true;
}

// A server database that is there already: the server restores the file
// beside it under a name of its own and it is checked there; only then does
// it take the old one's name, by a rename in the server's folder, which is
// why this runs on the server machine by a user who may write that folder.
bool ReplaceOnServer(const RestoreRequest& request, const std::string& target,
                     const TableCounts& expected, RestoreReport& report)
{
    const storage::ServiceAddress address = storage::ServiceAddressOf(target);
    const QFileInfo info(Local(address.database));
    if (!info.isFile() || !QFileInfo(info.absolutePath()).isWritable())
        return Failed(report, {restore_texts::kReplaceOnServer + target, restore_texts::kKeptOld});
    const std::string host = target.substr(0, target.size() - address.database.size());
    const std::string sibling = FromLocal(info.absoluteDir().filePath(
        "." + info.completeBaseName() + "-restoring-" +
        QUuid::createUuid().toString(QUuid::Id128).left(12) + "." + info.suffix()));
    const std::string remoteSibling = host + sibling;
    struct Leftover {
        std::string path;
        ~Leftover()
        {
            if (!path.empty())
                std::remove(path.c_str());
        }
    } leftover{sibling};

    const StreamResult restored =
        RestoreFromFile(request.file, remoteSibling, storage::RestoreMode::CreateOnly);
    if (!QFileInfo::exists(Local(sibling))) {
        leftover.path.clear();
        // The server wrote elsewhere than this machine's folder of that name.
        return Failed(
            report, restored.ok
                        ? std::vector<std::string>{restore_texts::kReplaceOnServer + target,
                                                   restore_texts::kLeftBehind + remoteSibling,
                                                   restore_texts::kKeptOld}
                        : std::vector<std::string>{restore_texts::kRestoreFailed + target,
                                                   FailureText(restored), restore_texts::kKeptOld});
    }
    if (!restored.ok)
        return Failed(report, {restore_texts::kRestoreFailed + target, FailureText(restored),
                               restore_texts::kKeptOld});
    TableCounts counts;
    if (std::vector<std::string> faults = Checked(remoteSibling, expected, counts); !faults.empty())
        return Failed(report, With(std::move(faults), restore_texts::kKeptOld));

    storage::Database holder;
    holder.ConnectDatabase(target);
    if (!holder.Connected() || OthersAttached(holder))
        return Failed(report, {restore_texts::kInUse + target, restore_texts::kKeptOld});
    TakeOwnership(address.database, sibling);
    if (!Place(sibling, address.database, true))
        return Failed(report, {restore_texts::kPlaceFailed + target, restore_texts::kKeptOld});
    leftover.path.clear();
    report.tables = counts.size();
    report.rows = TotalRows(counts);
    return true;
}

// A server database: the file is proven here first, then the server restores
// it; the server refuses to create over an existing one.
bool RestoreOnServer(const RestoreRequest& request, const std::string& target,
                     RestoreReport& report)
{
    bool exists = false;
    {
        storage::Database probe;
        probe.ConnectDatabase(target);
        exists = probe.Connected();
        if (exists && !request.replace)
            return Failed(report, {restore_texts::kExists + target});
    }
    std::optional<TableCounts> expected;
    {
        QTemporaryDir folder(QDir::temp().filePath("k5x7-restore-XXXXXX"));
        if (!folder.isValid())
            return Failed(report, {restore_texts::kScratchFailed + FromLocal(QDir::tempPath())});
        const std::string scratch = FromLocal(folder.filePath("VERIFY.FDB"));
        const StreamResult proven =
            RestoreFromFile(request.file, scratch, storage::RestoreMode::CreateOnly);
        if (proven.ok)
            expected = CountRows(scratch);
        if (!expected)
            return Failed(report, {restore_texts::kDamaged + request.file, FailureText(proven),
                                   restore_texts::kUntouched});
    }
    if (exists)
        return ReplaceOnServer(request, target, *expected, report);

    const StreamResult restored =
        RestoreFromFile(request.file, target, storage::RestoreMode::CreateOnly);
    if (!restored.ok)
        return Failed(report, {restore_texts::kRestoreFailed + target, FailureText(restored),
                               restore_texts::kPartialMayRemain});
    TableCounts counts;
    if (std::vector<std::string> faults = Checked(target, expected, counts); !faults.empty())
        return Failed(report, std::move(faults));
    report.tables = counts.size();
    report.rows = TotalRows(counts);
    return true;
}

}  // namespace

RestoreReport RunRestore(const RestoreRequest& request)
{
    RestoreReport report;
    if (!QFileInfo(Local(request.file)).isFile()) {
        report.problems.push_back(restore_texts::kFileMissing + request.file);
        return report;
    }
    const std::string target = seed::AbsoluteDatabasePath(request.database);
    report.ok = storage::IsServerPath(target) ? RestoreOnServer(request, target, report)
                                              : RestoreLocal(request, target, report);
    return report;
}

int RunRestoreCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    int exitCode = 0;
    const std::optional<Arguments> parsed =
        ArgumentsOrAnswer(args, 2, {}, {"--replace"}, restore_texts::kUsage, restore_texts::kPrefix,
                          out, err, exitCode);
    if (!parsed)
        return exitCode;
    const RestoreRequest request{parsed->positional[0], parsed->positional[1],
                                 parsed->switches.count("--replace") > 0};
    const RestoreReport report = RunRestore(request);
    if (report.ok)
        out << restore_texts::kPrefix << restore_texts::kDone
            << seed::AbsoluteDatabasePath(request.database) << restore_texts::kDoneTables
            << report.tables << restore_texts::kDoneRows << report.rows << restore_texts::kDoneClose
            << "\n";
    for (const std::string& problem : report.problems)
        err << restore_texts::kPrefix << problem << "\n";
    return report.ok ? 0 : 1;
}

}  // namespace admin
