#pragma once
// The project chart without its window: the condition that picks the projects
// of a date range, the build that reads at most 100 of them into chart rows,
// and the row-to-project lookup behind a bar click.

#include <QString>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "storage/database.h"
#include "storage/project_periods.h"

namespace projects {

// RadioGroup1's items.
enum ChartFilterItem { kChartUnfinished = 0, kChartFinished = 1, kChartBoth = 2 };

// Both dates are compared as text; each goes in as one SQL literal, so a quote
// typed into a date field is only a character to compare. A blank start means
// "00000000", a blank end "99999999"; any other text is used as typed. An item
// index outside the three items adds no done-flag test.
std::string ChartCondition(std::string_view start, std::string_view end, int filterItem);

// One project's row: its bars in the order planned, actual, delivery.
struct ChartRow {
    int row = 0;  // 1-based position in the build
    int number = 0;
    std::string label;  // PRNAME, CP932
    std::vector<storage::ChartSpan> spans;
};

struct ChartBuildOutcome {
    std::vector<ChartRow> rows;
    // Set when a stored date is no calendar day: the build ended at that
    // project, whose bars before the bad date are in its row.
    QString message;
};

class ProjectChartLogic {
public:
    static constexpr int kMaxRows = 100;

    explicit ProjectChartLogic(storage::Database& db) : db_(db) {}

    // Reads the matching projects in number order, at most kMaxRows. A statement
    // the server rejects charts nothing and says nothing.
    ChartBuildOutcome Build(std::string_view start, std::string_view end, int filterItem);

    // The project drawn on a clicked bar's row (rounded); 0 for a row outside
    // 1..kMaxRows. A row beyond the last build keeps the number of an earlier one.
    int ProjectAtRow(double row) const;

private:
    storage::Database& db_;
    std::array<int, kMaxRows> numbers_{};
};

}  // namespace projects
