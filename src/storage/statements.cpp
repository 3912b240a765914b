#include "storage/statements.h"

namespace storage {

namespace {

std::string Cat(std::initializer_list<std::string_view> parts)
{
    std::string s;
    for (auto p : parts)
        s.append(p);
    return s;
}

// "   item," for every item but the last, which has no comma.
void AppendList(Lines& lines, const std::vector<std::string>& items)
{
    for (size_t i = 0; i < items.size(); ++i)
        lines.push_back(Cat({"   ", items[i], i + 1 < items.size() ? "," : ""}));
}

void AppendWhere(Lines& lines, std::string_view condition, std::string_view tail)
{
    if (!condition.empty())
        lines.push_back(Cat({"   WHERE ", condition, tail}));
}

Lines SelectFrom(std::string_view what, std::string_view table, std::string_view condition)
{
    Lines lines{Cat({"SELECT ", what, " "}), Cat({"   FROM ", table, " "})};
    AppendWhere(lines, condition, " ");
    return lines;
}

}  // namespace

const char* const kTableNamesQuery =
    "Select RDB$RELATION_NAME from RDB$RELATIONS  where RDB$VIEW_BLR is NULL and "
    "RDB$SYSTEM_FLAG = 0 ORDER BY RDB$RELATION_NAME";

std::string JoinStatement(const Lines& lines)
{
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

Lines InsertRowLines(std::string_view table, const std::vector<std::string>& columns,
                     const std::vector<std::string>& values)
{
    Lines lines{Cat({"INSERT INTO ", table, " ("})};
    AppendList(lines, columns);
    lines.push_back("   ) ");
    lines.push_back("   VALUES (");
    AppendList(lines, values);
    lines.push_back("   );");
    return lines;
}

Lines UpdateRowLines(std::string_view table, const std::vector<std::string>& columns,
                     const std::vector<std::string>& values, std::string_view condition)
{
    std::vector<std::string> assignments;
    for (size_t i = 0; i < columns.size() && i < values.size(); ++i)
        assignments.push_back(columns[i] + "=" + values[i]);
    Lines lines{Cat({"UPDATE ", table, " SET "})};
    AppendList(lines, assignments);
    AppendWhere(lines, condition, "");
    lines.push_back("   ;");
    return lines;
}

Lines UpdateSetLines(std::string_view table, std::string_view setText, std::string_view condition)
{
    Lines lines{Cat({"UPDATE ", table, " SET "}), Cat({"   ", setText})};
    AppendWhere(lines, condition, "");
    lines.push_back("   ;");
    return lines;
}

Lines DeleteRowsLines(std::string_view table, std::string_view condition)
{
    std::string where = condition.empty() ? std::string() : Cat({"WHERE ", condition, " "});
    return {Cat({"DELETE FROM ", table, " ", where, ";"})};
}

Lines SelectAllWhereLines(std::string_view table, std::string_view condition)
{
    Lines lines = SelectFrom("*", table, condition);
    lines.push_back("   ;");
    return lines;
}

Lines SelectExistsLines(std::string_view table, std::string_view column, std::string_view condition,
                        int value)
{
    std::string c = condition.empty() ? std::string() : Cat({"(", condition, ") AND "});
    return {Cat({"SELECT ", column, " "}), Cat({"   FROM ", table, " "}),
            Cat({"   WHERE ", c, "(", column, "=", std::to_string(value), ") "}), "   ;"};
}

Lines SelectMaxLines(std::string_view table, std::string_view column, std::string_view condition)
{
    Lines lines = SelectFrom(Cat({"MAX(", column, ")"}), table, condition);
    lines.push_back("   ;");
    return lines;
}

Lines SelectColumnsLines(std::string_view columnList, std::string_view table,
                         std::string_view condition)
{
    return SelectOrderedLines(columnList, table, condition, {});
}

Lines SelectOrderedLines(std::string_view columnList, std::string_view table,
                         std::string_view condition, std::string_view order)
{
    Lines lines = SelectFrom(columnList, table, condition);
    if (!order.empty())
        lines.push_back(Cat({"   ORDER BY ", order, " "}));
    lines.push_back("   ;");
    return lines;
}

}  // namespace storage
