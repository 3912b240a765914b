#pragma once
// k5x7-admin report: a list or a project's issue register written to a file
// without a display, the same table the screens write.

#include <iosfwd>
#include <string>
#include <vector>

namespace admin {

int RunReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace admin
