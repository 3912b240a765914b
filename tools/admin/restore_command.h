#pragma once
// k5x7-admin restore: a database made again from a backup file. The file is
// proven whole before anything is touched, and an existing database is only
// replaced when asked, and never while it is in use.

#include <iosfwd>
#include <string>
#include <vector>

namespace admin {

struct RestoreRequest {
    std::string file;
    std::string database;  // as the application names it
    bool replace = false;
};

struct RestoreReport {
    bool ok = false;
    std::size_t tables = 0;
    long long rows = 0;
    std::vector<std::string> problems;
};

RestoreReport RunRestore(const RestoreRequest& request);

int RunRestoreCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace admin
