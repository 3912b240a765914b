#include "reports/issue_register.h"

#include <map>
#include <unordered_map>
#include <unordered_set>

#include "drawings/detail_texts.h"
#include "drawings/drawing_list_report.h"
#include "drawings/drawing_rows.h"
#include "drawings/project_detail_logic.h"
#include "drawings/revision_history_texts.h"
#include "reports/report_texts.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace reports {

namespace {

using drawings::Cp932;

// ZMN_n columns in table order.
enum DrawingColumn {
    kFileName = 1,
    kZumenn = 3,
    kMtitle = 4,
    kStitle = 5,
    kMemo1 = 6,
    kPn = 16,
    kPdate = 17,
    kRn = 18,
    kRdate = 19,
};

struct Revision {
    bool dated = false;
    std::string date;
    int number = 0;
    std::string content;
    std::string reviser;  // RN as stored

    // Later in time: a real date beats none, then the date, then the number.
    bool LaterThan(const Revision& other) const
    {
        if (dated != other.dated)
            return dated;
        if (date != other.date)
            return date > other.date;
        return number > other.number;
    }
};

std::unordered_map<int, std::string> MemberNames(storage::Database& db)
{
    std::unordered_map<int, std::string> names;
    if (!db.TableExists("MEMBER"))
        return names;
    const int count = db.SelectOrdered("*", "MEMBER", "", "N");
    db.FetchEach(count, storage::kMemberColumns, [&](const storage::Row& row) {
        names.emplace(text::StrToIntOrZero(row[0]), row[2]);
    });
    return names;
}

std::unordered_map<int, Revision> LatestRevisions(storage::Database& db, const std::string& table)
{
    std::unordered_map<int, Revision> latest;
    const int count = db.SelectOrdered("*", table, "", "N");
    db.FetchEach(count, storage::kRevisionColumns,
                 [&](const storage::Row& row) {  // N ZN CONT RN RDATE
                     Revision revision{text::IsValidDateString(row[4]), row[4],
                                       text::StrToIntOrZero(row[0]), row[2], row[3]};
                     auto [at, added] = latest.emplace(text::StrToIntOrZero(row[1]), revision);
                     if (!added && revision.LaterThan(at->second))
                         at->second = std::move(revision);
                 });
    return latest;
}

bool Listed(const storage::Row& drawing, const IssueRange& range)
{
    const std::string& issued = drawing[kPdate];
    if (text::IsBlank(issued))
        return range.includeUnissued &&
               (!text::IsBlank(drawing[kFileName]) || !text::IsBlank(drawing[kZumenn]));
    if (range.from.empty() && range.to.empty())
        return true;
    return text::IsValidDateString(issued) && (range.from.empty() || issued >= range.from) &&
           (range.to.empty() || issued <= range.to);
}

std::string NameOf(const std::unordered_map<int, std::string>& names, const std::string& stored)
{
    const auto found = names.find(text::StrToIntOrZero(stored));
    return found == names.end() || found->first == 0 ? std::string() : found->second;
}

}  // namespace

RangeCheck CheckIssueRange(const IssueRange& range)
{
    if (!range.from.empty() && !text::IsValidDateString(range.from))
        return {text::Utf8(texts::kBadDate), "from"};
    if (!range.to.empty() && !text::IsValidDateString(range.to))
        return {text::Utf8(texts::kBadDate), "to"};
    if (!range.from.empty() && !range.to.empty() && range.from > range.to)
        return {text::Utf8(texts::kRangeReversed), "from"};
    return {};
}

std::vector<IssueEntry> ReadIssueEntries(storage::Database& db, int projectNo,
                                         const IssueRange& range)
{
    drawings::ProjectDetailLogic logic(db, projectNo);
    const drawings::ProjectHeader project = logic.ReadProject();
    const std::vector<drawings::ListedNode> nodes =
        drawings::TreeOrder(logic.ReadTree(project.name));
    const std::unordered_set<int> only(range.nodes.begin(), range.nodes.end());
    std::vector<int> numbers;
    for (const drawings::ListedNode& node : nodes)
        if (only.empty() || only.count(node.number))
            numbers.push_back(node.number);
    const drawings::DrawingRows rows =
        drawings::ReadDrawingRows(db, logic.tables().drawing, numbers);
    const std::unordered_map<int, Revision> revisions =
        LatestRevisions(db, logic.tables().revision);
    const std::unordered_map<int, std::string> members = MemberNames(db);

    std::vector<IssueEntry> entries;
    for (const drawings::ListedNode& node : nodes) {
        const auto found = rows.find(node.number);
        if (found == rows.end() || !Listed(found->second, range) ||
            (!only.empty() && !only.count(node.number)))
            continue;
        const storage::Row& d = found->second;
        IssueEntry entry;
        entry.node = node.number;
        entry.drawingNumber = d[kZumenn];
        entry.title = d[kMtitle];
        entry.subtitle = d[kStitle];
        entry.issueDate = d[kPdate];
        entry.issuer = NameOf(members, d[kPn]);
        entry.memo = d[kMemo1];
        const Revision stamp{text::IsValidDateString(d[kRdate]), d[kRdate], 0, {}, d[kRn]};
        const auto history = revisions.find(node.number);
        const bool stampIsLatest = history == revisions.end() ||
                                   (stamp.dated && stamp.date > history->second.date) ||
                                   (stamp.dated && !history->second.dated);
        const Revision& latest = stampIsLatest ? stamp : history->second;
        entry.revisionDate = latest.date;
        entry.revisionContent = latest.content;
        entry.reviser = NameOf(members, latest.reviser);
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<int> IssueRegisterWidths()
{
    return {36, 110, 200, 160, 72, 80, 72, 200, 80, 180};
}

text::TextTable IssueRegisterTable(storage::Database& db, int projectNo, const IssueRange& range)
{
    namespace dt = drawings::detail_texts;
    storage::Row project(storage::kProjectColumns);
    db.SelectColumns("*", "ZPROJECT", "N=" + std::to_string(projectNo), project);
    std::string client;
    if (const int company = text::StrToIntOrZero(project[2]); company > 0) {
        storage::Row names(storage::kCompanyColumns);
        if (db.SelectColumns("*", "COMPANY", "N=" + std::to_string(company), names) >= 0)
            client = names[1] + Cp932(texts::kNameJoin) + names[2];
    }
    const std::string period = range.from.empty() && range.to.empty()
                                   ? Cp932(texts::kNoRange)
                                   : range.from + Cp932(texts::kRangeJoin) + range.to;

    text::TextTable table;
    table.title = Cp932(texts::kIssueRegisterTitle);
    table.headingLines = {
        Cp932(texts::kProjectLabel) + project[3],
        Cp932(texts::kClientLabel) + client,
        Cp932(texts::kTitleLabel) + project[4],
        Cp932(texts::kRangeLabel) + period,
    };
    for (const char* header :
         {texts::kNumberHeader, dt::kDrawingLabel5, dt::kLabel6, dt::kLabel7, dt::kLabel17,
          dt::kLabel16, dt::kLabel19, drawings::revision_texts::kContentHeader, dt::kLabel18,
          dt::kListHeaders[6]})
        table.headers.push_back(Cp932(header));
    table.columnWidths = IssueRegisterWidths();
    table.numberColumns.assign(table.headers.size(), false);
    table.numberColumns[0] = true;
    table.footer = Cp932(texts::kReceiptStamp);
    table.headingInSheet = true;

    std::vector<text::TextRow> rows;
    int line = 0;
    for (IssueEntry& entry : ReadIssueEntries(db, projectNo, range))
        rows.push_back({std::to_string(++line), std::move(entry.drawingNumber),
                        std::move(entry.title), std::move(entry.subtitle),
                        std::move(entry.issueDate), std::move(entry.issuer),
                        std::move(entry.revisionDate), std::move(entry.revisionContent),
                        std::move(entry.reviser), std::move(entry.memo)});
    table.rowCount = static_cast<int>(rows.size());
    table.rows = text::RowsOf(std::move(rows));
    return table;
}

}  // namespace reports
