#pragma once
// Firebird's own maintenance tasks through its services manager: a backup
// streamed to this program, a restore streamed from it, the online page
// validation. For a server path the server runs them while PCs work, and the
// backup file is still written here, by this program's user; for a local path
// the engine in this process runs them, and it needs the file to itself.
// Nothing throws: a failure comes back with the server's own words.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace storage {

// "host:" in front of the path; one letter and a colon is a drive, not a host.
bool IsServerPath(std::string_view path);

struct ServiceAddress {
    std::string service;   // "host:service_mgr", or "service_mgr" for this process's engine
    std::string database;  // the path as the server or the engine opens it
};
ServiceAddress ServiceAddressOf(const std::string& databasePath);

struct ServiceOutcome {
    bool ok = false;
    std::string error;  // the client library's text; empty on success
};

// Takes each piece of the backup as it arrives; false stops the backup.
using BackupSink = std::function<bool(const char* data, std::size_t size)>;
// Fills up to `capacity` bytes and returns how many; 0 at the end, -1 when
// the source cannot be read.
using RestoreSource = std::function<long(char* buffer, std::size_t capacity)>;
using ServiceLines = std::function<void(std::string_view line)>;

ServiceOutcome StreamBackup(const std::string& databasePath, const BackupSink& sink);

enum class RestoreMode {
    CreateOnly,  // the server refuses when the database exists
    Replace,
};
ServiceOutcome StreamRestore(const RestoreSource& source, const std::string& databasePath,
                             RestoreMode mode);

// The page validation that runs while others work (user tables and their
// indexes); every line of its report goes to `lines`.
ServiceOutcome ValidateOnline(const std::string& databasePath, const ServiceLines& lines);

// The root folder ($FIREBIRD) of the server answering at `host` ("host/port"
// allowed); empty when none answers with the application's credentials.
std::string ServerRoot(const std::string& host);

}  // namespace storage
