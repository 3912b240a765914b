#include "tools/admin/table_counts.h"

#include <algorithm>

#include "text/mbcs.h"
#include "tools/admin/backup_texts.h"

namespace admin {

namespace {

// One statement counts every table on the server, all in its transaction.
const storage::Lines kCountEveryTable = {
    "EXECUTE BLOCK RETURNS (TNAME VARCHAR(63), CNT BIGINT) AS",
    "BEGIN",
    "  FOR SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS",
    "      WHERE RDB$VIEW_BLR IS NULL AND COALESCE(RDB$SYSTEM_FLAG, 0) = 0",
    "      ORDER BY RDB$RELATION_NAME INTO :TNAME DO",
    "  BEGIN",
    "    EXECUTE STATEMENT 'SELECT COUNT(*) FROM \"' || REPLACE(TNAME, '\"', '\"\"') || '\"'",
    "      INTO :CNT;",
    "    SUSPEND;",
    "  END",
    "END",
};

}  // namespace

CountSnapshot::CountSnapshot(const std::string& databasePath)
{
    db_.ConnectDatabase(databasePath);
    started_ = db_.Connected() && db_.OpenQuery(kCountEveryTable);
}

std::optional<TableCounts> CountSnapshot::Read()
{
    if (!started_)
        return std::nullopt;
    started_ = false;
    TableCounts counts;
    bool ok = db_.QueryFirst();
    while (ok && !db_.QueryEof()) {
        const storage::Row& row = db_.QueryRow();
        if (row.size() < 2)
            return std::nullopt;
        counts[row[0]] = std::stoll(row[1]);
        ok = db_.QueryNext();
    }
    // A failed fetch closes the connection; an open one got every row.
    const bool complete = ok && db_.Connected();
    db_.DisconnectDatabase();
    if (!complete)
        return std::nullopt;
    return counts;
}

std::optional<TableCounts> CountRows(const std::string& databasePath)
{
    return CountSnapshot(databasePath).Read();
}

long long TotalRows(const TableCounts& counts)
{
    long long total = 0;
    for (const auto& [table, rows] : counts)
        total += rows;
    return total;
}

std::vector<std::string> CountDifferences(const TableCounts& before, const TableCounts& after,
                                          const TableCounts& copy)
{
    std::vector<std::string> differences;
    for (const auto& [table, first] : before) {
        const auto later = after.find(table);
        if (later == after.end())
            continue;
        const auto held = copy.find(table);
        if (held == copy.end()) {
            differences.push_back(table + backup_texts::kTableMissing);
            continue;
        }
        const long long low = std::min(first, later->second);
        const long long high = std::max(first, later->second);
        if (held->second < low || held->second > high)
            differences.push_back(
                table + backup_texts::kCountDiffers + std::to_string(held->second) +
                backup_texts::kCountExpected + std::to_string(low) +
                (low == high ? std::string()
                             : backup_texts::kRangeSeparator + std::to_string(high)) +
                backup_texts::kCountClose);
    }
    return differences;
}

}  // namespace admin
