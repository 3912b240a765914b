#pragma once
// The project list without its window: one page of 100 projects at a time in
// the chosen order and filter, read through the shared query only as far as
// the page reaches, and the page arithmetic of the list's buttons.

#include <string>
#include <string_view>
#include <vector>

#include "storage/database.h"
#include "storage/statements.h"

namespace projects {

// One grid row: the six columns the list shows.
struct ProjectListRow {
    std::string number;     // N
    std::string name;       // PRNAME
    std::string title;      // MTITLE
    std::string due;        // NOUKI
    std::string delivered;  // NDATE
    bool done = false;      // ENDF read as an integer is not 0
};

// A stored ZPROJECT row ("*", table order) as the list shows it.
ProjectListRow ListRow(const storage::Row& row);

constexpr int kSortItemCount = 10;
constexpr int kFilterItemCount = 5;

// The text after ORDER BY for a sort selector position; empty for no such position.
std::string SortOrderText(int position);

// The WHERE condition for a filter selector position and the typed text; empty
// for no filter. The typed text becomes one SQL literal inside LIKE, so it is
// matched as typed (quotes included) while % and _ keep their wildcard meaning.
std::string FilterCondition(int position, std::string_view typed);

// The statement of the list for a filter condition and an order: a page load
// reads its first rows, an export all of them.
storage::Lines ProjectListLines(const std::string& filter, const std::string& order);

class ProjectPageLoader {
public:
    static constexpr int kPageSize = 100;

    explicit ProjectPageLoader(storage::Database& db) : db_(db) {}

    // The state of a newly shown list: row 1, order "N", no filter.
    void Reset();

    // The buttons: each moves the first row as the list does, then loads.
    void First();
    void Previous();
    void Next();
    void Refresh();
    // Nothing happens for a position outside the selector's items.
    void SelectSort(int position);
    void SelectFilter(int position, std::string_view typed);

    // Jumps to a 1-based row of the ordered result without loading.
    void SetFirstRow(int row) { firstRow_ = row; }

    int firstRow() const { return firstRow_; }
    int nextFirstRow() const { return nextFirstRow_; }
    const std::string& filter() const { return filter_; }
    const std::string& order() const { return order_; }
    const std::vector<ProjectListRow>& rows() const { return rows_; }

    // The statement a page load sends.
    storage::Lines StatementLines() const;

    // Reads the page that starts at the first row. A failure ends the page
    // silently with the rows read so far.
    void Load();

private:
    storage::Database& db_;
    int firstRow_ = 1;
    int nextFirstRow_ = 0;
    std::string filter_;
    std::string order_ = "N";
    std::vector<ProjectListRow> rows_;
};

}  // namespace projects
