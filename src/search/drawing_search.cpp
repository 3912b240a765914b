#include "search/drawing_search.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "storage/row_store.h"
#include "storage/schema.h"
#include "storage/statements.h"
#include "text/mbcs.h"

namespace search {

namespace {

// Projects per statement at most. Longer statements cost the engine more to
// prepare than their fewer round trips save.
constexpr std::size_t kMaxBatch = 10;
constexpr std::size_t kBatchGrowth = 4;

// A drawing row as read: the project, N, then the values RowRecord reads from
// index 3 of a merged row on.
constexpr char kDrawingColumns[] =
    "N, FILE_NAME, PATH_NAME, ZUMENN, MTITLE, STITLE, MEMO1, MEMO2, MEMO3, MN, DDATE, UDATE,"
    " KN, KDATE, AN, ADATE, PN, PDATE, RN, RDATE";
constexpr std::size_t kDrawingValues = 19;
constexpr std::size_t kColumns = 3 + kDrawingValues;  // project, N, NAME, drawing values

std::uint64_t NodeKey(std::string_view project, std::string_view node)
{
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(text::StrToIntOrZero(project)))
               << 32 |
           static_cast<std::uint32_t>(text::StrToIntOrZero(node));
}

std::string Upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string TrimRight(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// One select over a table of each project, its rows led by the project's number.
storage::Lines UnionLines(const std::vector<int>& projects, const char* columns, const char* table,
                          const char* where)
{
    storage::Lines lines;
    for (std::size_t i = 0; i < projects.size(); ++i) {
        const std::string n = std::to_string(projects[i]);
        lines.push_back(std::string(i == 0 ? "" : "UNION ALL ") + "SELECT " + n + ", " + columns +
                        " FROM " + table + n + where);
    }
    lines.back() += ";";
    return lines;
}

DrawingRecord RowRecord(const storage::Row& r)
{
    DrawingRecord d;
    d.nodeName = r[2];
    d.fileName = r[3];
    d.folder = r[4];
    d.number = r[5];
    d.title = r[6];
    d.subtitle = r[7];
    d.memo1 = r[8];
    d.memo2 = r[9];
    d.memo3 = r[10];
    d.drafter = r[11];
    d.made = r[12];
    d.updated = r[13];
    d.checker = r[14];
    d.checked = r[15];
    d.approver = r[16];
    d.approved = r[17];
    d.issuer = r[18];
    d.issued = r[19];
    d.reviser = r[20];
    d.revised = r[21];
    return d;
}

SearchHit HitOf(const storage::Row& r, const std::string& projectName)
{
    SearchHit h;
    h.projectNo = text::StrToIntOrZero(r[0]);
    h.projectName = projectName;
    h.nodeNo = text::StrToIntOrZero(r[1]);
    h.nodeName = r[2];
    h.fileName = r[3];
    h.folder = r[4];
    h.number = r[5];
    h.title = r[6];
    h.checked = r[15];
    h.approved = r[17];
    h.issued = r[19];
    h.revised = r[21];
    h.fileState = text::IsBlank(h.fileName) ? FileState::None : FileState::Pending;
    return h;
}

}  // namespace

DrawingSearch::DrawingSearch(storage::Database& db, const SearchCriteria& criteria)
    : db_(db), criteria_(criteria), filter_(criteria)
{}

std::unordered_set<std::string> DrawingSearch::ListTables()
{
    std::unordered_set<std::string> names;
    db_.CloseCursor();
    if (!db_.OpenQuery({storage::kTableNamesQuery}))
        return names;
    for (bool ok = db_.QueryFirst(); ok && !db_.QueryEof(); ok = db_.QueryNext())
        if (!db_.QueryRow().empty())
            names.insert(Upper(TrimRight(db_.QueryRow()[0])));
    db_.CloseCursor();
    return names;
}

void DrawingSearch::ListProjects(const std::unordered_set<std::string>& tables)
{
    if (!tables.count("ZPROJECT"))
        return;
    storage::Lines lines{"SELECT N, PRNAME, ENDF FROM ZPROJECT", "  ORDER BY N;"};
    if (criteria_.projectNo != 0)
        lines = {"SELECT N, PRNAME, ENDF FROM ZPROJECT",
                 "  WHERE N = " + std::to_string(criteria_.projectNo) + ";"};
    if (!db_.OpenQuery(lines))
        return;
    for (bool ok = db_.QueryFirst(); ok && !db_.QueryEof(); ok = db_.QueryNext()) {
        const storage::Row& row = db_.QueryRow();
        if (row.size() < 3)
            continue;
        const bool open = row[2] == "0";
        if ((criteria_.scope == ProjectScope::Open && !open) ||
            (criteria_.scope == ProjectScope::Done && open))
            continue;
        const int n = text::StrToIntOrZero(row[0]);
        // Only tables the listing names reach a statement; a number that makes
        // no table name of ours (0, negative) is never one of them.
        const std::string number = std::to_string(n);
        if (n <= 0 || !tables.count("ZPRJ_" + number) || !tables.count("ZMN_" + number)) {
            ++skipped_;
            continue;
        }
        projects_.push_back({n, row[1]});
    }
    db_.CloseCursor();
}

void DrawingSearch::Start()
{
    projects_.clear();
    next_ = 0;
    batch_ = 1;
    skipped_ = 0;
    if (!db_.Connected())
        return;
    ListProjects(ListTables());
}

// The drawing rows and the tree rows are read apart and joined here: a join
// in the statement costs the engine an index look-up per node and more to
// prepare. Nodes without a drawing row read as empty texts, as the detail
// window shows them; drawing rows without a node are not drawings of the tree.
bool DrawingSearch::ReadProjects(std::size_t first, std::size_t count, std::vector<SearchHit>& hits)
{
    std::vector<int> numbers;
    for (std::size_t i = first; i < first + count; ++i)
        numbers.push_back(projects_[i].number);

    storage::RowStore drawings;
    std::unordered_map<std::uint64_t, std::size_t> drawingOf;
    db_.CloseQuery();  // one transaction for the whole search; Start and All end it
    if (!db_.OpenQuery(UnionLines(numbers, kDrawingColumns, "ZMN_", "")))
        return false;
    bool ok = db_.QueryFirst();
    for (; ok && !db_.QueryEof(); ok = db_.QueryNext()) {
        const storage::Row& row = db_.QueryRow();
        if (row.size() != 2 + kDrawingValues ||
            !drawingOf.emplace(NodeKey(row[0], row[1]), drawings.size()).second)
            continue;
        drawings.beginRow();
        for (std::size_t i = 2; i < row.size(); ++i)
            drawings.addValue(row[i]);
        drawings.endRow();
    }
    // A read that stopped early (the connection went) must not pass for the whole.
    ok = ok && db_.QueryOpen();
    db_.CloseQuery();
    if (!ok || !db_.OpenQuery(UnionLines(numbers, "N, NAME", "ZPRJ_", " WHERE N > 0")))
        return false;

    std::vector<SearchHit> found;
    storage::Row merged(kColumns);
    storage::Row values(kDrawingValues);
    const Project* owner = &projects_[first];
    for (ok = db_.QueryFirst(); ok && !db_.QueryEof(); ok = db_.QueryNext()) {
        const storage::Row& node = db_.QueryRow();
        if (node.size() != 3)
            continue;
        std::copy(node.begin(), node.end(), merged.begin());
        const auto drawing = drawingOf.find(NodeKey(node[0], node[1]));
        if (drawing == drawingOf.end() || drawings.copyRow(drawing->second, values) < 0)
            std::fill(values.begin(), values.end(), std::string());
        std::copy(values.begin(), values.end(), merged.begin() + 3);
        if (!filter_.Passes(RowRecord(merged)))
            continue;
        const int project = text::StrToIntOrZero(merged[0]);
        if (owner->number != project) {
            for (std::size_t i = first; i < first + count; ++i)
                if (projects_[i].number == project)
                    owner = &projects_[i];
        }
        found.push_back(HitOf(merged, owner->name));
    }
    ok = ok && db_.QueryOpen();
    db_.CloseQuery();
    if (!ok)
        return false;
    // Projects are listed in ascending number; a table keeps its rows in no order.
    std::sort(found.begin(), found.end(), [](const SearchHit& a, const SearchHit& b) {
        return a.projectNo != b.projectNo ? a.projectNo < b.projectNo : a.nodeNo < b.nodeNo;
    });
    hits.insert(hits.end(), std::make_move_iterator(found.begin()),
                std::make_move_iterator(found.end()));
    return true;
}

std::vector<SearchHit> DrawingSearch::Next()
{
    std::vector<SearchHit> hits;
    if (Finished())
        return hits;
    const std::size_t count = std::min(batch_, projects_.size() - next_);
    if (!ReadProjects(next_, count, hits)) {
        // One project that cannot be read must not hide the others of its batch.
        hits.clear();
        for (std::size_t i = 0; i < count; ++i)
            if (!ReadProjects(next_ + i, 1, hits))
                ++skipped_;
    }
    next_ += count;
    batch_ = std::min(batch_ * kBatchGrowth, kMaxBatch);
    if (Finished())
        db_.CloseCursor();  // the search's transaction ends with it
    return hits;
}

std::vector<SearchHit> DrawingSearch::All()
{
    Start();
    std::vector<SearchHit> hits;
    while (!Finished()) {
        std::vector<SearchHit> more = Next();
        hits.insert(hits.end(), std::make_move_iterator(more.begin()),
                    std::make_move_iterator(more.end()));
    }
    return hits;
}

}  // namespace search
