#include "drawings/drawing_rows.h"

#include <unordered_set>

#include "storage/schema.h"
#include "text/mbcs.h"

namespace drawings {

DrawingRows ReadDrawingRows(storage::Database& db, const std::string& table,
                            const std::vector<int>& numbers, std::size_t lookupLimit,
                            const std::function<bool()>& stopRequested)
{
    auto stop = [&] { return stopRequested && stopRequested(); };
    DrawingRows rows;
    if (numbers.size() <= lookupLimit) {
        for (int number : numbers) {
            if (stop())
                break;
            storage::Row row(storage::kDrawingColumns);
            if (db.SelectColumns("*", table, "N=" + std::to_string(number), row) >= 0)
                rows.emplace(number, std::move(row));
        }
        return rows;
    }
    const std::unordered_set<int> wanted(numbers.begin(), numbers.end());
    const int count = db.SelectOrdered("*", table, "", "");
    db.FetchEach(count, storage::kDrawingColumns, [&](const storage::Row& row) {
        const int number = text::StrToIntOrZero(row[0]);
        // The first row of a number wins, as a look-up by number would find it.
        if (wanted.count(number) > 0)
            rows.emplace(number, row);
        return !stop();
    });
    return rows;
}

WalkRows ReadWalkRows(storage::Database& db, const std::string& table,
                      const std::vector<int>& nodeNumbers,
                      const std::function<bool()>& stopRequested)
{
    std::vector<int> numbers;
    for (int number : nodeNumbers)
        if (number > 0)
            numbers.push_back(number);
    bool stopped = false;
    WalkRows read;
    read.rows = ReadDrawingRows(db, table, numbers, kDrawingLookupLimit, [&] {
        stopped = stopped || (stopRequested && stopRequested());
        return stopped;
    });
    read.filled = nodeNumbers.size();
    if (stopped)
        for (std::size_t i = 0; i < nodeNumbers.size(); ++i)
            if (nodeNumbers[i] > 0 && read.rows.count(nodeNumbers[i]) == 0) {
                read.filled = i;
                break;
            }
    return read;
}

}  // namespace drawings
