#pragma once
// k5x7-admin check: Firebird's page validation, then the rules the
// application relies on; reads only.

#include <iosfwd>
#include <string>
#include <vector>

#include "tools/admin/consistency_check.h"

namespace admin {

struct CheckReport {
    bool reached = false;  // the database could be read at all
    std::vector<Problem> problems;
};

CheckReport RunCheck(const std::string& database);

int RunCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace admin
