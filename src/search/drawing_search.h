#pragma once
// Reads the drawings of every project the criteria choose, a few projects at
// a time, so that a window can show results while it searches and stay
// responsive. Only reads: a project whose own tables are missing, or cannot
// be read as this program writes them, is skipped, never created or mended.
// One listing of the tables serves the whole search.

#include <string>
#include <unordered_set>
#include <vector>

#include "search/search_criteria.h"
#include "search/search_hit.h"
#include "storage/database.h"

namespace search {

class DrawingSearch {
public:
    DrawingSearch(storage::Database& db, const SearchCriteria& criteria);

    // Lists the projects to search. Not connected, or no project table: nothing to do.
    void Start();
    bool Finished() const { return next_ >= projects_.size(); }
    int ProjectCount() const { return static_cast<int>(projects_.size()); }
    int ProjectsSearched() const { return static_cast<int>(next_); }
    // Chosen by the criteria, but without readable tables.
    int ProjectsSkipped() const { return skipped_; }

    // The drawings of the next few projects that pass every criterion but the
    // file's state, in project and node order. The first call reads one
    // project, so that the first results come at once; later calls read more.
    std::vector<SearchHit> Next();

    // Everything at once (for the command line and tests).
    std::vector<SearchHit> All();

private:
    struct Project {
        int number = 0;
        std::string name;
    };

    std::unordered_set<std::string> ListTables();
    void ListProjects(const std::unordered_set<std::string>& tables);
    // False when the statement could not be run or read to its end.
    bool ReadProjects(std::size_t first, std::size_t count, std::vector<SearchHit>& hits);

    storage::Database& db_;
    SearchCriteria criteria_;
    RecordFilter filter_;
    std::vector<Project> projects_;
    std::size_t next_ = 0;
    std::size_t batch_ = 1;
    int skipped_ = 0;
};

}  // namespace search
