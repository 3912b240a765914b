#include "projects/project_page_loader.h"

#include <algorithm>

#include "projects/project_columns.h"
#include "text/mbcs.h"

namespace projects {

namespace {

constexpr const char* kSortOrders[kSortItemCount] = {
    "N",           "N DESC", "PRNAME",     "PRNAME DESC", "MTITLE",
    "MTITLE DESC", "NOUKI",  "NOUKI DESC", "NDATE",       "NDATE DESC",
};

// Position 0 is "no filter".
constexpr const char* kFilterColumns[kFilterItemCount] = {"", "PRNAME", "MTITLE", "NOUKI", "NDATE"};

}  // namespace

ProjectListRow ListRow(const storage::Row& row)
{
    auto at = [&row](int column) { return column < int(row.size()) ? row[column] : std::string(); };
    return {at(kColN),     at(kColPRNAME), at(kColMTITLE),
            at(kColNOUKI), at(kColNDATE),  text::StrToIntOrZero(at(kColENDF)) != 0};
}

std::string SortOrderText(int position)
{
    if (position < 0 || position >= kSortItemCount)
        return std::string();
    return kSortOrders[position];
}

std::string FilterCondition(int position, std::string_view typed)
{
    if (typed.empty() || position <= 0 || position >= kFilterItemCount)
        return std::string();
    std::string pattern = "%";
    pattern += typed;
    pattern += "%";
    return std::string(kFilterColumns[position]) + " LIKE " + text::SqlText(pattern);
}

void ProjectPageLoader::Reset()
{
    firstRow_ = 1;
    nextFirstRow_ = 0;
    filter_.clear();
    order_ = SortOrderText(0);
    rows_.clear();
}

void ProjectPageLoader::First()
{
    firstRow_ = 1;
    Load();
}

void ProjectPageLoader::Previous()
{
    if (firstRow_ > 1)
        firstRow_ = std::max(firstRow_ - kPageSize, 1);
    Load();
}

void ProjectPageLoader::Next()
{
    firstRow_ = nextFirstRow_;
    Load();
}

void ProjectPageLoader::Refresh()
{
    Load();
}

void ProjectPageLoader::SelectSort(int position)
{
    if (position < 0 || position >= kSortItemCount)
        return;
    order_ = SortOrderText(position);
    First();
}

void ProjectPageLoader::SelectFilter(int position, std::string_view typed)
{
    if (position < 0 || position >= kFilterItemCount)
        return;
    filter_ = FilterCondition(position, typed);
    First();
}

storage::Lines ProjectListLines(const std::string& filter, const std::string& order)
{
    storage::Lines lines{"SELECT * FROM ZPROJECT"};
    if (!filter.empty())
        lines.push_back("  WHERE " + filter);
    lines.push_back("  ORDER BY " + order + ";");
    return lines;
}

storage::Lines ProjectPageLoader::StatementLines() const
{
    return ProjectListLines(filter_, order_);
}

void ProjectPageLoader::Load()
{
    rows_.clear();
    db_.CloseCursor();
    int counter = 1;
    if (db_.OpenQuery(StatementLines()) && db_.QueryFirst() &&
        (firstRow_ <= 1 || db_.QueryMoveBy(firstRow_ - 1))) {
        while (!db_.QueryEof()) {
            rows_.push_back(ListRow(db_.QueryRow()));
            ++counter;
            if (counter > kPageSize || !db_.QueryNext())
                break;
        }
    }
    db_.CloseQuery();
    nextFirstRow_ = firstRow_ + counter - 1;
}

}  // namespace projects
