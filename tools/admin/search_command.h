#pragma once
// k5x7-admin search: the drawing search of the application on the command
// line, its results as CSV (UTF-8) on standard output, for offices to script.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "search/search_criteria.h"

namespace admin {

struct SearchCommandLine {
    std::string database;
    search::SearchCriteria criteria;
};

// The error text when the arguments do not make a command.
std::optional<SearchCommandLine> ParseSearchCommandLine(const std::vector<std::string>& args,
                                                        std::string& error);

// 0 done (results on out), 1 the database cannot be read, 2 bad usage.
int RunSearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace admin
