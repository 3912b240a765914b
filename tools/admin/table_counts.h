#pragma once
// The row count of every table of a database, all as of one moment: the
// snapshot begins when the object is made, however late the counts are read.
// A backup is checked against counts taken this way around its own start.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "storage/database.h"

namespace admin {

using TableCounts = std::map<std::string, long long>;

class CountSnapshot {
public:
    explicit CountSnapshot(const std::string& databasePath);
    bool started() const { return started_; }
    // Reads the counts and ends the snapshot; nothing after a failure.
    std::optional<TableCounts> Read();

private:
    storage::Database db_;
    bool started_ = false;
};

// The counts of a database as it is now.
std::optional<TableCounts> CountRows(const std::string& databasePath);

long long TotalRows(const TableCounts& counts);

// Where a restored copy does not hold what the source held while its backup
// began. Each table the source had at both moments must be in the copy; a
// table unchanged between them must have exactly that count, one written in
// between a count from the one to the other. Tables made in between may be
// missing. Each difference is one line naming the table.
std::vector<std::string> CountDifferences(const TableCounts& before, const TableCounts& after,
                                          const TableCounts& copy);

}  // namespace admin
