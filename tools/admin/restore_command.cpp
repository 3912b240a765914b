#include "tools/admin/restore_command.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <cstdio>
#include <optional>
#include <ostream>

#include "storage/database.h"
#include "storage/service_manager.h"
#include "tools/admin/backup_io.h"
#include "tools/admin/command_line.h"
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

namespace t = restore_texts;

bool Failed(RestoreReport& report, std::vector<std::string> problems)
{
    report.problems = std::move(problems);
    return false;
}

// The replacement keeps the owner and mode of the file it replaces, so that a
// server that opened the old one can open the new one.
void TakeOwnership(const std::string& from, const std::string& to)
{
#ifndef _WIN32
    struct stat old {};
    if (stat(from.c_str(), &old) == 0) {
        if (chown(to.c_str(), old.st_uid, old.st_gid) != 0) {
            // Only root may give a file away; the mode still follows.
        }
        chmod(to.c_str(), old.st_mode & 07777);
    }
#else
    (void)from;
    (void)to;
#endif
}

// Moves the restored file to its name; without `replace` only where no file is.
bool Place(const std::string& restored, const std::string& target, bool replace)
{
#ifndef _WIN32
    if (!replace) {
        if (link(restored.c_str(), target.c_str()) != 0)
            return false;
        std::remove(restored.c_str());
        return true;
    }
#endif
    return std::rename(restored.c_str(), target.c_str()) == 0;
}

// A local database: restored beside its place under a hidden name, then moved
// there in one step, so the old file stays whole until the new one is.
bool RestoreLocal(const RestoreRequest& request, const std::string& target, RestoreReport& report)
{
    const QFileInfo info(Local(target));
    const bool exists = info.exists();
    if (exists && !request.replace)
        return Failed(report, {t::kExists + target});
    if (!info.absoluteDir().exists())
        return Failed(report, {t::kFolderMissing + FromLocal(info.absolutePath())});
    QString temporary;
    {
        QTemporaryFile reserve(info.absoluteDir().filePath("." + info.fileName() + "-XXXXXX"));
        if (!reserve.open())
            return Failed(report, {t::kPlaceFailed + target, t::kUntouched});
        temporary = reserve.fileName() + ".restoring";
    }
    const std::string scratch = FromLocal(temporary);
    const StreamResult restored =
        RestoreFromFile(request.file, scratch, storage::RestoreMode::CreateOnly);
    std::optional<TableCounts> counts;
    if (restored.ok)
        counts = CountRows(scratch);
    if (!counts) {
        std::remove(scratch.c_str());
        return Failed(report, {t::kDamaged + request.file, FailureText(restored), t::kUntouched});
    }
    // Held while the new file takes its place: no one else opens it meanwhile.
    storage::Database holder;
    if (exists) {
        holder.ConnectDatabase(target);
        if (!holder.Connected()) {
            std::remove(scratch.c_str());
            return Failed(report, {t::kInUse + target, t::kUntouched});
        }
        TakeOwnership(target, scratch);
    }
    if (!Place(scratch, target, exists)) {
        std::remove(scratch.c_str());
        return Failed(report, {t::kPlaceFailed + target, t::kUntouched});
    }
    report.tables = counts->size();
    report.rows = TotalRows(*counts);
    return true;
}

// A server database: the file is proven here first, then the server restores
// it; the server refuses to create over an existing one and to replace one
// in use.
bool RestoreOnServer(const RestoreRequest& request, const std::string& target,
                     RestoreReport& report)
{
    {
        storage::Database probe;
        probe.ConnectDatabase(target);
        if (probe.Connected() && !request.replace)
            return Failed(report, {t::kExists + target});
    }
    QTemporaryDir folder(QDir::temp().filePath("k5x7-restore-XXXXXX"));
    if (!folder.isValid())
        return Failed(report, {t::kScratchFailed + FromLocal(QDir::tempPath())});
    const std::string scratch = FromLocal(folder.filePath("VERIFY.FDB"));
    const StreamResult proven =
        RestoreFromFile(request.file, scratch, storage::RestoreMode::CreateOnly);
    std::optional<TableCounts> expected;
    if (proven.ok)
        expected = CountRows(scratch);
    if (!expected)
        return Failed(report, {t::kDamaged + request.file, FailureText(proven), t::kUntouched});

    const StreamResult restored = RestoreFromFile(
        request.file, target,
        request.replace ? storage::RestoreMode::Replace : storage::RestoreMode::CreateOnly);
    if (!restored.ok)
        return Failed(report,
                      {t::kRestoreFailed + target, FailureText(restored), t::kPartialMayRemain});
    const std::optional<TableCounts> counts = CountRows(target);
    if (!counts || *counts != *expected)
        return Failed(report, {t::kCountsDiffer + target});
    report.tables = counts->size();
    report.rows = TotalRows(*counts);
    return true;
}

}  // namespace

RestoreReport RunRestore(const RestoreRequest& request)
{
    RestoreReport report;
    if (!QFileInfo(Local(request.file)).isFile()) {
        report.problems.push_back(t::kFileMissing + request.file);
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
        ArgumentsOrAnswer(args, 2, {}, {"--replace"}, t::kUsage, t::kPrefix, out, err, exitCode);
    if (!parsed)
        return exitCode;
    const RestoreRequest request{parsed->positional[0], parsed->positional[1],
                                 parsed->switches.count("--replace") > 0};
    const RestoreReport report = RunRestore(request);
    if (report.ok)
        out << t::kPrefix << t::kDone << seed::AbsoluteDatabasePath(request.database)
            << t::kDoneTables << report.tables << t::kDoneRows << report.rows << t::kDoneClose
            << "\n";
    for (const std::string& problem : report.problems)
        err << t::kPrefix << problem << "\n";
    return report.ok ? 0 : 1;
}

}  // namespace admin
