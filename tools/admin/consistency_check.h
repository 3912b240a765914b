#pragma once
// What the application relies on and no constraint of the schema enforces,
// read back from a database another PC or program may have written: every
// tree node above 0 has exactly one drawing row and every drawing row its node,
// revisions name drawings that exist, nodes name parents that exist, member,
// section and company numbers name rows that exist, and dates are dates.
// Only reads.

#include <string>
#include <string_view>
#include <vector>

#include "storage/database.h"

namespace admin {

struct Problem {
    std::string table;
    std::string n;  // the row's N; empty for the table as a whole
    std::string what;
};

std::string ProblemLine(const Problem& problem);

// Problems of the tables; a table that cannot be read is one problem.
std::vector<Problem> CheckConsistency(storage::Database& db);

// Whether a line of Firebird's validation report tells of a fault.
bool IsValidationFault(std::string_view line);

}  // namespace admin
