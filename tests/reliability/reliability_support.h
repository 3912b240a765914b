#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "storage/database.h"
#include "text/mbcs.h"

namespace testing_support {

// A positive integer from the environment, so CI and a long local run can
// differ without a rebuild.
inline int EnvInt(const char* name, int fallback)
{
    const char* v = std::getenv(name);
    const int n = v ? static_cast<int>(text::StrToIntOrZero(v)) : 0;
    return n > 0 ? n : fallback;
}

// Every row of a table in order of N, all columns as text, read as another
// program would.
inline std::vector<storage::Row> ReadTable(storage::Database& db, const std::string& table,
                                           int columns, const std::string& condition = "")
{
    const int count = db.SelectOrdered("*", table, condition, "N");
    return db.FetchAll(count, static_cast<std::size_t>(columns));
}

}  // namespace testing_support
