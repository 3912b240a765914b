#include "projects/project_chart_logic.h"

#include <algorithm>
#include <cmath>

#include "projects/project_chart_texts.h"
#include "projects/project_columns.h"
#include "text/mbcs.h"

namespace projects {

std::string ChartCondition(std::string_view start, std::string_view end, int filterItem)
{
    const std::string from = text::SqlText(text::IsBlank(start) ? "00000000" : start);
    const std::string to = text::SqlText(text::IsBlank(end) ? "99999999" : end);
    std::string condition = "( ";
    bool first = true;
    for (const char* column : {"PDATE1", "PDATE2", "DATE1", "DATE2", "NDATE"}) {
        const std::string c = column;
        if (!first)
            condition += "OR ";
        first = false;
        condition += "(" + c + " IS NOT NULL) AND (" + c + " >= " + from + ") AND (" + c +
                     " <= " + to + ") ";
    }
    condition += ")";
    if (filterItem == kChartUnfinished)
        condition += "AND (ENDF = 0)";
    else if (filterItem == kChartFinished)
        condition += "AND (ENDF = 1)";
    return condition;
}

ChartBuildOutcome ProjectChartLogic::Build(std::string_view start, std::string_view end,
                                           int filterItem)
{
    ChartBuildOutcome outcome;
    const int count = std::min(
        db_.SelectOrdered("*", "ZPROJECT", ChartCondition(start, end, filterItem), "N"), kMaxRows);
    storage::Row row(kProjectColumnCount);
    for (int i = 1; i <= count; ++i) {
        if (i == 1)
            db_.FetchFirst(row);
        else
            db_.FetchNext(row);
        numbers_[static_cast<size_t>(i - 1)] = text::StrToIntOrZero(row[kColN]);
        storage::ProjectSpans spans = storage::ProjectSpansOf(row);
        outcome.rows.push_back(
            {i, numbers_[static_cast<size_t>(i - 1)], row[kColPRNAME], std::move(spans.spans)});
        if (!spans.valid) {
            outcome.message = QString::fromUtf8(chart_texts::kInvalidDateMessage);
            break;
        }
    }
    // Closed on every path: an ended build leaves no cursor open.
    db_.CloseQuery();
    return outcome;
}

int ProjectChartLogic::ProjectAtRow(double row) const
{
    // Checked before rounding, so no row (however far off) overflows the rounding.
    if (!(row >= 0.5 && row < kMaxRows + 0.5))
        return 0;
    return numbers_[static_cast<size_t>(std::lround(row) - 1)];
}

}  // namespace projects
