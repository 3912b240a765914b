#pragma once
// Puts a demo office into a database: the fixed tables, the projects with
// their own three tables, the sample files they name, and optionally a settings
// file that points the application at it. The command-line tool is a thin shell
// around RunSeedCommand.

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/admin/demo_office.h"

namespace storage {
class Database;
struct Settings;
}  // namespace storage

namespace seed {

// A "host:" prefix sends the path to a server; one letter and a colon is a drive.
bool IsServerPath(std::string_view path);

// Server part with its colon, folder with its trailing separator, file name.
struct DatabaseLocation {
    std::string server;
    std::string folder;
    std::string name;
};
DatabaseLocation SplitDatabasePath(std::string_view path);

// An embedded path made absolute (the settings file must name it from anywhere);
// a server path unchanged.
std::string AbsoluteDatabasePath(const std::string& path);

// "files" beside the database file with a trailing '/', for embedded and
// localhost paths; empty for other hosts, whose folders are not ours to write.
std::string DefaultFilesFolder(const std::string& databasePath);

// Many statements in one EXECUTE BLOCK, one commit each: every commit waits
// for the disk, and a busy disk makes that a tenth of a second. Each statement
// runs as EXECUTE STATEMENT, so a block is not held to the server's limit of
// 256 table contexts per request; blocks of 1.8 MB of text were seen to run.
class StatementBatch {
public:
    explicit StatementBatch(storage::Database& db, int maxStatements = 4000,
                            std::size_t maxBytes = 1000000);
    ~StatementBatch() = default;
    StatementBatch(const StatementBatch&) = delete;
    StatementBatch& operator=(const StatementBatch&) = delete;

    // The statement text as the application would send it alone. False once any
    // block has failed.
    bool Add(std::string_view statement);
    // Values are ready SQL text.
    bool AddInsert(std::string_view table, std::string_view columns,
                   const std::vector<std::string>& values);
    bool Flush();
    int blocksSent() const { return blocks_; }
    bool failed() const { return failed_; }

private:
    storage::Database& db_;
    int maxStatements_;
    std::size_t maxBytes_;
    std::vector<std::string> lines_;
    std::size_t bytes_ = 0;
    int blocks_ = 0;
    bool failed_ = false;
};

struct SeedCounts {
    int sections = 0;
    int members = 0;
    int companies = 0;
    int projects = 0;
    int nodes = 0;     // tree rows with N > 0
    int drawings = 0;  // ZMN rows
    int revisions = 0;
    int files = 0;
};

struct SeedOutcome {
    bool ok = false;
    std::string message;  // why it failed; empty on success
    SeedCounts counts;
    int blocks = 0;  // commits of batched statements
};

// Why this database must not be seeded (it already holds office data, or a
// project table of the same number holds rows); empty when it may be.
std::string RefusalReason(storage::Database& db, const DemoOffice& office);

// Writes every sample file into the folder (local path), creating it when missing.
SeedOutcome WriteSampleFiles(const DemoOffice& office, const std::string& folder);

// Creates the missing tables with the application's statements and fills them:
// the fixed tables through their creators, the per-project tables with the same
// statement texts, many to a commit. Refuses (RefusalReason) before it writes.
SeedOutcome SeedDatabase(storage::Database& db, const DemoOffice& office);

// Window sizes and column widths that show the demo data; the application's
// own defaults are minimal windows with 32-pixel columns.
void UseDemoLayout(storage::Settings& settings);

// A new settings file gets the demo layout; an existing one keeps everything
// but the database and the PC user.
bool WritePcUserSettings(const std::string& settingsFile, const std::string& databasePath,
                         const Member& user);

struct CommandLine {
    std::string database;
    int projects = 12;
    int nodesPerProject = 8;
    std::string filesFolder;
    std::string settingsFile;
    bool settingsOnly = false;  // only point the settings file at an existing database
};
// Error text when the arguments do not make a command.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error);
extern const char* const kUsage;

// The whole tool: 0 when seeded, 1 on any failure (message on err), 2 on bad usage.
int RunSeedCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace seed
