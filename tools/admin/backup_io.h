#pragma once
// Backup files written and read by this program: the server streams the
// backup here, so the file belongs to the user running the command and lands
// on this PC's disk, wherever the database is.

#include <functional>
#include <string>

#include "storage/service_manager.h"

namespace admin {

struct StreamResult {
    bool ok = false;
    std::string serverError;  // Firebird's words; empty when the file failed
    int fileError = 0;        // errno of the failing file operation
};

// A new file readable by its owner alone (an existing one is never
// replaced), synced to disk before it
// counts as written; `firstBytes` runs once, when the backup has begun.
// A failed file is removed.
StreamResult BackupToFile(const std::string& databasePath, const std::string& file,
                          const std::function<void()>& firstBytes);

StreamResult RestoreFromFile(const std::string& file, const std::string& databasePath,
                             storage::RestoreMode mode);

// What went wrong, in the tool's words with the server's after them.
std::string FailureText(const StreamResult& result);

}  // namespace admin
