#pragma once
// The backup files of one database in a folder: NAME-yyyymmdd-hhmmss.fbk,
// where NAME is the database file's name without its extension. Only files
// named exactly so are ever counted or removed.

#include <QDateTime>
#include <string>
#include <vector>

namespace admin {

// "ZUMENDB" for "/data/ZUMENDB.FDB", "server:/data/ZUMENDB.FDB" or "C:\data\ZUMENDB.FDB".
std::string DatabaseStem(const std::string& databasePath);

std::string BackupFileName(const std::string& stem, const QDateTime& when);

// Whether `fileName` is one of stem's backups.
bool IsBackupOf(const std::string& fileName, const std::string& stem);

// The file names of stem's backups in the folder, newest first.
std::vector<std::string> BackupsIn(const std::string& folder, const std::string& stem);

// Those beyond the newest `keep`.
std::vector<std::string> BackupsBeyond(const std::vector<std::string>& newestFirst, int keep);

}  // namespace admin
