#include "tools/admin/consistency_check.h"

#include <QString>
#include <map>
#include <optional>
#include <set>

#include "text/cp932.h"
#include "text/mbcs.h"
#include "tools/admin/check_texts.h"

namespace admin {

namespace {

namespace t = check_texts;
using storage::Row;
using Numbers = std::set<std::string>;
// Unknown when the table cannot be read: that is one problem, and what would
// refer to it is not reported again.
using KnownNumbers = std::optional<Numbers>;

// Rows of the columns named, in order of N; false when the table cannot be read.
bool ReadRows(storage::Database& db, const std::string& columns, const std::string& table,
              std::vector<Row>& rows)
{
    rows.clear();
    if (!db.OpenQuery(storage::SelectOrderedLines(columns, table, "", "N")))
        return false;
    bool ok = db.QueryFirst();
    while (ok && !db.QueryEof()) {
        rows.push_back(db.QueryRow());
        ok = db.QueryNext();
    }
    const bool complete = ok && db.Connected();
    db.CloseCursor();
    return complete;
}

std::set<std::string> TableNames(storage::Database& db)
{
    std::set<std::string> names;
    if (!db.OpenQuery({storage::kTableNamesQuery}))
        return names;
    for (bool ok = db.QueryFirst(); ok && !db.QueryEof(); ok = db.QueryNext()) {
        std::string name = db.QueryRow().empty() ? std::string() : db.QueryRow()[0];
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        names.insert(name);
    }
    db.CloseCursor();
    return names;
}

// The per-project tables by project number, as "ZPRJ_", "ZMN_", "REV_".
std::map<std::string, std::set<std::string>> ProjectTables(const std::set<std::string>& names)
{
    std::map<std::string, std::set<std::string>> byProject;
    for (const std::string& name : names)
        for (const char* prefix : {"ZPRJ_", "ZMN_", "REV_"}) {
            const std::string p(prefix);
            if (name.size() > p.size() && name.compare(0, p.size(), p) == 0 &&
                text::IsAllDigits(name.substr(p.size())))
                byProject[name.substr(p.size())].insert(p);
        }
    return byProject;
}

// Stored bytes as they can be shown on a UTF-8 terminal.
std::string Shown(const std::string& bytes)
{
    return text::FromCp932(bytes).toStdString();
}

class Checker {
public:
    explicit Checker(storage::Database& db) : db_(db) {}

    std::vector<Problem> Run()
    {
        const std::set<std::string> names = TableNames(db_);
        const auto has = [&](const char* table) { return names.count(table) > 0; };
        sections_ = NumbersOf("SECTION", has("SECTION"));
        members_ = NumbersOf("MEMBER", has("MEMBER"));
        companies_ = NumbersOf("COMPANY", has("COMPANY"));
        if (has("MEMBER"))
            ForRows("N, SN", "MEMBER", [&](const Row& r) {
                Refers("MEMBER", r, "SN", r[1], sections_, t::kNoSection);
            });
        const KnownNumbers projects = NumbersOf("ZPROJECT", has("ZPROJECT"));
        if (has("ZPROJECT") && projects) {
            ForRows("N, MN, CN, PDATE1, PDATE2, DATE1, DATE2, NDATE", "ZPROJECT",
                    [&](const Row& r) {
                        Refers("ZPROJECT", r, "MN", r[1], members_, t::kNoMember);
                        Refers("ZPROJECT", r, "CN", r[2], companies_, t::kNoCompany);
                        Dates("ZPROJECT", r, {"PDATE1", "PDATE2", "DATE1", "DATE2", "NDATE"}, 3);
                    });
        }
        for (const auto& [number, prefixes] : ProjectTables(names))
            CheckProject(number, prefixes, projects);
        return std::move(problems_);
    }

private:
    void Add(const std::string& table, const std::string& n, const std::string& what)
    {
        problems_.push_back({table, n, what});
    }

    template <class Each>
    bool ForRows(const std::string& columns, const std::string& table, Each&& each)
    {
        std::vector<Row> rows;
        if (!ReadRows(db_, columns, table, rows)) {
            Add(table, {}, t::kUnreadable);
            return false;
        }
        for (const Row& row : rows)
            each(row);
        return true;
    }

    // A table not there yet holds no numbers.
    KnownNumbers NumbersOf(const std::string& table, bool exists)
    {
        Numbers numbers;
        if (exists && !ForRows("N", table, [&](const Row& r) { numbers.insert(r[0]); }))
            return std::nullopt;
        return numbers;
    }

    // 0 and NULL name nothing.
    void Refers(const std::string& table, const Row& row, const char* column,
                const std::string& value, const KnownNumbers& targets, const char* missing)
    {
        if (targets && !value.empty() && value != "0" && !targets->count(value))
            Add(table, row[0], std::string(column) + " " + value + missing);
    }

    void Dates(const std::string& table, const Row& row, std::initializer_list<const char*> columns,
               std::size_t first)
    {
        std::size_t i = first;
        for (const char* column : columns) {
            const std::string& value = row[i++];
            if (!value.empty() && !text::IsValidDateString(value))
                Add(table, row[0],
                    std::string(column) + t::kValueOpen + Shown(value) + t::kValueClose +
                        t::kNotDate);
        }
    }

    void CheckProject(const std::string& number, const std::set<std::string>& prefixes,
                      const KnownNumbers& projects)
    {
        const std::string tree = "ZPRJ_" + number;
        const std::string drawings = "ZMN_" + number;
        const std::string revisions = "REV_" + number;
        if (projects && !projects->count(number))
            Add(prefixes.count("ZPRJ_")  ? tree
                : prefixes.count("ZMN_") ? drawings
                                         : revisions,
                {}, t::kNoProject);

        std::vector<Row> nodes;
        Numbers nodeNumbers;
        if (prefixes.count("ZPRJ_")) {
            if (!ReadRows(db_, "N, MN, PARENT_N", tree, nodes))
                Add(tree, {}, t::kUnreadable);
            for (const Row& r : nodes)
                nodeNumbers.insert(r[0]);
        }
        Numbers drawingNumbers;
        Numbers repeated;
        if (prefixes.count("ZMN_")) {
            ForRows(
                "N, MN, KN, AN, PN, RN, DDATE, UDATE, KDATE, ADATE, PDATE, RDATE", drawings,
                [&](const Row& r) {
                    // No key stops a second row; the application would show either.
                    if (!drawingNumbers.insert(r[0]).second) {
                        if (repeated.insert(r[0]).second)
                            Add(drawings, r[0], t::kDuplicateDrawingRow);
                        return;
                    }
                    if (r[0] == "0")
                        Add(drawings, r[0], t::kRootDrawing);
                    else if (prefixes.count("ZPRJ_") && !nodeNumbers.count(r[0]))
                        Add(drawings, r[0], t::kNoNode + tree);
                    const char* stamps[] = {"MN", "KN", "AN", "PN", "RN"};
                    for (std::size_t i = 0; i < 5; ++i)
                        Refers(drawings, r, stamps[i], r[1 + i], members_, t::kNoMember);
                    Dates(drawings, r, {"DDATE", "UDATE", "KDATE", "ADATE", "PDATE", "RDATE"}, 6);
                });
        } else if (nodeNumbers.size() > 1 || prefixes.count("REV_")) {
            Add(drawings, {}, t::kTableMissing + (prefixes.count("ZPRJ_") ? tree : revisions));
        }

        for (const Row& r : nodes) {
            if (r[0] != "0" && prefixes.count("ZMN_") && !drawingNumbers.count(r[0]))
                Add(tree, r[0], t::kNoDrawingRow + drawings);
            if (r[2].empty())
                Add(tree, r[0], t::kParentNull);
            else if (!nodeNumbers.count(r[2]))
                Add(tree, r[0], "PARENT_N " + r[2] + t::kNoParent);
            Refers(tree, r, "MN", r[1], members_, t::kNoMember);
        }

        if (prefixes.count("REV_"))
            ForRows("N, ZN, RN, RDATE", revisions, [&](const Row& r) {
                if (prefixes.count("ZMN_") && !drawingNumbers.count(r[1]))
                    Add(revisions, r[0],
                        "ZN " + (r[1].empty() ? std::string("NULL") : r[1]) + t::kNoDrawing +
                            drawings);
                Refers(revisions, r, "RN", r[2], members_, t::kNoMember);
                Dates(revisions, r, {"RDATE"}, 3);
            });
    }

    storage::Database& db_;
    KnownNumbers sections_;
    KnownNumbers members_;
    KnownNumbers companies_;
    std::vector<Problem> problems_;
};

}  // namespace

std::string ProblemLine(const Problem& problem)
{
    return problem.table + (problem.n.empty() ? std::string() : " N=" + problem.n) + ": " +
           problem.what;
}

std::vector<Problem> CheckConsistency(storage::Database& db)
{
    return Checker(db).Run();
}

bool IsValidationFault(std::string_view line)
{
    // Table names are upper case, so they never read as these.
    for (const char* mark : {"Error:", "ERRORS found", "Warning:", "WARNINGS found", "failed"})
        if (line.find(mark) != std::string_view::npos)
            return true;
    return false;
}

}  // namespace admin
