#include "drawings/name_tree_editing.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "drawings/detail_texts.h"
#include "drawings/name_dialog_texts.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace drawings {

namespace {

QString NodeMessage(std::string_view name, int number, const char* end)
{
    return QString::fromUtf8(detail_texts::kNodeOpen) + text::FromCp932(name) +
           QString::fromUtf8(detail_texts::kNodeNumber) + QString::number(number) +
           QString::fromUtf8(end);
}

}  // namespace

NameCheck CheckNodeName(std::string_view typed)
{
    if (text::IsBlank(typed))
        return {QString::fromUtf8(name_dialog_texts::kEnterName), {}};
    if (typed.find_first_of("'\":") != std::string_view::npos)
        return {QString::fromUtf8(name_dialog_texts::kNoQuotesOrColon), {}};
    return {{}, text::StripQuotes(typed)};
}

const std::vector<std::string>& DrawingColumnNames()
{
    static const std::vector<std::string> names{
        "N",     "FILE_NAME", "PATH_NAME", "ZUMENN", "MTITLE", "STITLE", "MEMO1",
        "MEMO2", "MEMO3",     "MN",        "DDATE",  "UDATE",  "KN",     "KDATE",
        "AN",    "ADATE",     "PN",        "PDATE",  "RN",     "RDATE"};
    return names;
}

std::vector<std::string> EmptyDrawingValues()
{
    std::vector<std::string> values(8, "NULL");          // FILE_NAME to MEMO3
    values.insert(values.end(), {"0", "NULL", "NULL"});  // MN, DDATE, UDATE
    for (int stamp = 0; stamp < 4; ++stamp)              // KN/KDATE to RN/RDATE
        values.insert(values.end(), {"0", "NULL"});
    return values;
}

NameTreeEditor::NameTreeEditor(storage::Database& db, const ProjectTables& tables)
    : db_(db), tables_(tables)
{}

int NameTreeEditor::NextNodeNumber()
{
    std::int64_t largest = 0;
    const std::pair<const std::string&, const char*> columns[] = {
        {tables_.tree, "N"}, {tables_.drawing, "N"}, {tables_.revision, "ZN"}};
    for (const auto& [table, column] : columns)
        largest =
            std::max<std::int64_t>(largest, text::StrToIntOrZero(db_.SelectMax(table, column, "")));
    if (largest >= std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<int>(largest + 1);
}

NodeCreation NameTreeEditor::CreateNode(int parentNumber, std::string_view name, int member,
                                        const std::vector<std::string>& drawingValues,
                                        int firstNumber)
{
    for (int attempt = 0; attempt < kCreateAttempts && db_.Connected(); ++attempt) {
        const int number = attempt == 0 && firstNumber > 0 ? firstNumber : NextNodeNumber();
        if (number == 0)
            break;
        const std::string n = std::to_string(number);
        std::vector<std::string> drawing{n};
        drawing.insert(drawing.end(), drawingValues.begin(), drawingValues.end());
        if (db_.ExecuteInOneTransaction(
                {storage::InsertRowLines(tables_.tree, {"N", "NAME", "MN", "PARENT_N"},
                                         {n, text::SqlText(name), std::to_string(member),
                                          std::to_string(parentNumber)}),
                 storage::InsertRowLines(tables_.drawing, DrawingColumnNames(), drawing)}))
            return {number, {}};
    }
    return {0, QString::fromUtf8(detail_texts::kCreateFailed)};
}

bool NameTreeEditor::RenameNode(int number, std::string_view name)
{
    return db_.UpdateSet(tables_.tree, "NAME=" + text::SqlText(name),
                         "N=" + std::to_string(number));
}

bool NameTreeEditor::DeleteNode(int number)
{
    const std::string n = std::to_string(number);
    return db_.ExecuteInOneTransaction({storage::DeleteRowsLines(tables_.tree, "N=" + n),
                                        storage::DeleteRowsLines(tables_.drawing, "N=" + n),
                                        storage::DeleteRowsLines(tables_.revision, "ZN=" + n)});
}

QString HasChildrenMessage(std::string_view name, int number)
{
    return NodeMessage(name, number, detail_texts::kHasChildrenEnd);
}

QString DeleteQuestion(std::string_view name, int number)
{
    return NodeMessage(name, number, detail_texts::kDeleteQuestionEnd);
}

}  // namespace drawings
