#pragma once
// k5x7-admin backup: Firebird's own backup of a database, streamed into a
// file of this PC's folder, restored into a scratch database to prove it
// whole, then kept beside the newest earlier ones.

#include <QDateTime>
#include <iosfwd>
#include <string>
#include <vector>

namespace admin {

inline constexpr int kDefaultKeep = 14;

struct BackupRequest {
    std::string database;  // as the application names it: "host:path" or a local path
    std::string folder;
    int keep = kDefaultKeep;
};

struct BackupReport {
    bool ok = false;
    std::string file;  // the new backup's full path
    std::size_t tables = 0;
    long long rows = 0;
    std::vector<std::string> removed;   // older backups removed, full paths
    std::vector<std::string> problems;  // what went wrong, one line each
};

// `now` names the file. Nothing is left behind but a verified backup.
BackupReport RunBackup(const BackupRequest& request, const QDateTime& now);

int RunBackupCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace admin
