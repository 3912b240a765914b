#include "drawings/project_detail_logic.h"

#include <QString>

#include "drawings/detail_texts.h"
#include "drawings/node_text.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace drawings {

namespace texts = detail_texts;

namespace {

// ZPROJECT columns.
constexpr int kProjectMember = 1;
constexpr int kProjectName = 3;
constexpr int kProjectTitle = 4;
constexpr int kProjectSubtitle = 5;
constexpr int kProjectMemo1 = 6;
constexpr int kProjectDue = 9;
constexpr int kProjectPlannedStart = 10;
constexpr int kProjectPlannedEnd = 11;
constexpr int kProjectStart = 12;
constexpr int kProjectEnd = 13;
constexpr int kProjectDelivered = 14;
constexpr int kProjectDone = 15;

// ZMN_n columns shown in Edit3 to Edit16, and the member columns.
constexpr int kDrawingTextColumns[14] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 13, 15, 17, 19};
constexpr int kDrawingMemberColumns[5] = {9, 12, 14, 16, 18};

// REV_n columns.
constexpr int kRevisionText = 2;
constexpr int kRevisionMember = 3;
constexpr int kRevisionDate = 4;

std::string Condition(const char* column, int number)
{
    return std::string(column) + "=" + std::to_string(number);
}

// A member number as SQL value text; an empty one (NULL in ZPROJECT) stays NULL.
std::string MemberValue(const std::string& member)
{
    return member.empty() ? std::string("NULL") : member;
}

// Reads one row by "*" into a buffer of `columns` texts, empty when none.
storage::Row ReadOne(storage::Database& db, std::string_view table, const std::string& condition,
                     int columns)
{
    storage::Row row(columns);
    db.SelectOrdered("*", table, condition, "");
    db.FetchFirst(row);
    db.CloseQuery();
    return row;
}

}  // namespace

ProjectTables::ProjectTables(int projectNo)
    : tree("ZPRJ_" + std::to_string(projectNo)),
      drawing("ZMN_" + std::to_string(projectNo)),
      revision("REV_" + std::to_string(projectNo))
{}

std::string Cp932(const char* utf8)
{
    return text::ToCp932Lossy(QString::fromUtf8(utf8));
}

ProjectDetailLogic::ProjectDetailLogic(storage::Database& db, int projectNo)
    : db_(db), projectNo_(projectNo), tables_(projectNo)
{}

ProjectHeader ProjectDetailLogic::ReadProject()
{
    storage::Row row(storage::kProjectColumns);
    const int count = db_.SelectOrdered("*", "ZPROJECT", Condition("N", projectNo_), "");
    db_.FetchFirst(row);
    db_.CloseQuery();
    return {count > 0, row[kProjectName], row[kProjectMember]};
}

ProjectHeader ProjectDetailLogic::Open()
{
    const ProjectHeader project = ReadProject();
    if (!project.found)
        return project;

    if (!db_.TableExists(tables_.tree))
        storage::CreateNameTreeTable(db_, tables_.tree);
    const int rows = db_.SelectAllWhere(tables_.tree, "");
    if (rows == 0) {
        db_.InsertRow(tables_.tree, {"N", "NAME", "MN", "PARENT_N"},
                      {"0", text::SqlText(project.name), MemberValue(project.member), "0"});
    } else if (rows > 0) {
        const storage::Row root = ReadOne(db_, tables_.tree, "N=0", storage::kNameTreeColumns);
        // Only a changed name rewrites the row, and then its member as well.
        if (root[1] != project.name)
            db_.UpdateSet(
                tables_.tree,
                "NAME=" + text::SqlText(project.name) + ",MN=" + MemberValue(project.member),
                "N=0");
    }

    if (!db_.TableExists(tables_.drawing))
        storage::CreateDrawingTable(db_, tables_.drawing);
    if (!db_.TableExists(tables_.revision))
        storage::CreateRevisionTable(db_, tables_.revision);
    return project;
}

std::vector<std::string> ProjectDetailLogic::LoadMemberItems()
{
    std::vector<std::string> items{Cp932(texts::kNoMember)};
    if (!db_.TableExists("MEMBER"))
        return items;
    const int count = db_.SelectOrdered("*", "MEMBER", "", "N");
    db_.FetchEach(count, storage::kMemberColumns, [&](const storage::Row& row) {  // N, SN, PNAME
        items.push_back(row[0] + ":" + row[2]);
    });
    return items;
}

TreeContent ProjectDetailLogic::ReadTree(std::string_view projectName)
{
    TreeContent content;
    content.projectText = NodeText(projectName, 0);
    const int counted = db_.SelectAllWhere(tables_.tree, "N>0");
    db_.SelectOrdered("*", tables_.tree, "N>0", "N");
    storage::Row row(storage::kNameTreeColumns);  // N, NAME, MN, PARENT_N
    if (counted > 0)
        content.rows.reserve(static_cast<size_t>(counted));
    for (int i = 0; i < counted; ++i) {
        row[0].clear();  // stays empty when the result ends or breaks off
        if (i == 0)
            db_.FetchFirst(row);
        else
            db_.FetchNext(row);
        // Rows deleted since they were counted: N is never NULL, so an empty
        // N means the result ended, and no item is made up for it.
        if (row[0].empty())
            break;
        content.rows.push_back({NodeText(row[1], row[0]), text::StrToIntOrZero(row[3])});
    }
    db_.CloseQuery();
    content.parents = PlaceNodes(content.rows);
    return content;
}

ProjectNodeFields ProjectDetailLogic::ReadProjectNode()
{
    const storage::Row p =
        ReadOne(db_, "ZPROJECT", Condition("N", projectNo_), storage::kProjectColumns);
    const std::string join = Cp932(texts::kPeriodJoin);
    const std::string state = Cp932(p[kProjectDone] == "0" ? texts::kNotDone : texts::kDone);
    return {
        p[kProjectPlannedStart] + join + p[kProjectPlannedEnd],
        p[kProjectStart] + join + p[kProjectEnd],
        p[kProjectDue] + Cp932(texts::kDeliveryDate) + p[kProjectDelivered] +
            Cp932(texts::kStateSeparator) + state,
        p[kProjectTitle],
        p[kProjectSubtitle],
        p[kProjectMemo1],
        p[kProjectMemo1 + 1],
        p[kProjectMemo1 + 2],
    };
}

DrawingNodeInfo ProjectDetailLogic::ReadDrawingNode(int number)
{
    DrawingNodeInfo info;
    const storage::Row d =
        ReadOne(db_, tables_.drawing, Condition("N", number), storage::kDrawingColumns);
    for (size_t i = 0; i < info.fields.size(); ++i)
        info.fields[i] = d[kDrawingTextColumns[i]];
    for (size_t i = 0; i < info.members.size(); ++i)
        info.members[i] = d[kDrawingMemberColumns[i]];

    info.revisions = ReadRevisionLines(db_, tables_.revision, number);
    return info;
}

std::vector<std::string> ReadRevisionLines(storage::Database& db, const std::string& revisionTable,
                                           int node)
{
    std::vector<std::string> lines;
    const int count = db.SelectOrdered("*", revisionTable, Condition("ZN", node), "N");
    db.FetchEach(count, storage::kRevisionColumns, [&lines](const storage::Row& r) {
        lines.push_back(r[kRevisionDate] + "(" + r[kRevisionMember] + "):" + r[kRevisionText]);
    });
    return lines;
}

int FindMemberItem(const std::vector<std::string>& items, std::string_view stored)
{
    const int wanted = text::StrToIntOrZero(stored);
    for (size_t i = 1; i < items.size(); ++i)
        if (text::StrToIntOrZero(text::TextBeforeColon(items[i])) == wanted)
            return static_cast<int>(i);
    return 0;
}

}  // namespace drawings
