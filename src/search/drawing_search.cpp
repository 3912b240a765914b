#include "search/drawing_search.h"

#include <algorithm>

#include "storage/schema.h"
#include "storage/statements.h"
#include "text/mbcs.h"

namespace search {

namespace {

// Projects per statement at most: two table contexts each, well inside the
// server's limit for one request, and a statement text far below its size limit.
constexpr std::size_t kMaxBatch = 50;
constexpr std::size_t kBatchGrowth = 4;

// The columns of one project's branch, in the order RowRecord reads them.
constexpr char kBranchColumns[] =
    ", T.N, T.NAME, D.FILE_NAME, D.PATH_NAME, D.ZUMENN, D.MTITLE, D.STITLE, D.MEMO1,"
    " D.MEMO2, D.MEMO3, D.MN, D.DDATE, D.UDATE, D.KN, D.KDATE, D.AN, D.ADATE, D.PN, D.PDATE,"
    " D.RN, D.RDATE";
constexpr std::size_t kColumns = 22;

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

// Nodes without a drawing row read as empty texts, like the detail window shows them.
storage::Lines BranchLines(int project, bool last)
{
    const std::string n = std::to_string(project);
    return {
        "SELECT " + n + kBranchColumns,
        "  FROM ZPRJ_" + n + " T LEFT JOIN ZMN_" + n + " D ON D.N = T.N",
        std::string("  WHERE T.N > 0") + (last ? ";" : ""),
    };
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

bool DrawingSearch::ReadProjects(std::size_t first, std::size_t count, std::vector<SearchHit>& hits)
{
    storage::Lines lines;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            lines.push_back("UNION ALL");
        const storage::Lines branch = BranchLines(projects_[first + i].number, i + 1 == count);
        lines.insert(lines.end(), branch.begin(), branch.end());
    }
    db_.CloseCursor();
    if (!db_.OpenQuery(lines))
        return false;
    std::vector<SearchHit> found;
    const Project* owner = &projects_[first];
    bool ok = db_.QueryFirst();
    for (; ok && !db_.QueryEof(); ok = db_.QueryNext()) {
        const storage::Row& row = db_.QueryRow();
        if (row.size() < kColumns || !filter_.Passes(RowRecord(row)))
            continue;
        const int project = text::StrToIntOrZero(row[0]);
        if (owner->number != project) {
            for (std::size_t i = first; i < first + count; ++i)
                if (projects_[i].number == project)
                    owner = &projects_[i];
        }
        found.push_back(HitOf(row, owner->name));
    }
    // A read that stopped early (the connection went) must not pass for the whole.
    ok = ok && db_.QueryOpen();
    db_.CloseCursor();
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
