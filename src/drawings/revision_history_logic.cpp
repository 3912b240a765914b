#include "drawings/revision_history_logic.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "drawings/revision_history_texts.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace drawings {

using text::Utf8;

namespace {

RevisionOutcome Refuse(const char* message, const char* focus)
{
    return {Utf8(message), QString::fromLatin1(focus), false};
}

RevisionOutcome Report(bool succeeded, const char* ok, const char* failed)
{
    return {Utf8(succeeded ? ok : failed), QString(), true};
}

}  // namespace

std::string DateString(const QDate& date)
{
    if (!date.isValid())
        return {};
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.4d%.2d%.2d", date.year(), date.month(), date.day());
    return buffer;
}

RevisionOutcome CheckRevisionEditorCanOpen(const storage::Settings& settings,
                                           const storage::Database& db)
{
    if (text::IsBlank(settings.DbFolder) || text::IsBlank(settings.DbName))
        return {Utf8(revision_texts::kSetUpDatabaseFirst), QString(), false};
    if (!db.Connected())
        return {Utf8(revision_texts::kCannotConnect), QString(), false};
    return {};
}

std::vector<std::string> LoadReviserItems(storage::Database& db)
{
    std::vector<std::string> items{text::ToCp932Lossy(Utf8(revision_texts::kNoMember))};
    if (!db.TableExists("MEMBER"))
        return items;
    const int count = db.SelectOrdered("*", "MEMBER", "", "N");
    for (const storage::Row& row : db.FetchAll(count, storage::kMemberColumns))
        items.push_back(row[0] + ":" + row[2]);
    return items;
}

RevisionHistoryLogic::RevisionHistoryLogic(storage::Database& db, int projectNo, int drawingNo)
    : db_(db), drawingNo_(drawingNo), table_("REV_" + std::to_string(projectNo))
{}

std::vector<storage::Row> RevisionHistoryLogic::LoadRows()
{
    const int count = db_.SelectOrdered("*", table_, "ZN=" + std::to_string(drawingNo_), "N");
    std::vector<storage::Row> rows;
    for (const storage::Row& row : db_.FetchAll(count, storage::kRevisionColumns))
        rows.push_back({row[0], row[2], row[3], row[4]});
    return rows;
}

std::string RevisionHistoryLogic::ProposeNumber()
{
    // 64 bits: one past the largest 32-bit number is proposed as such, and then
    // refused as not positive, instead of wrapping round.
    const std::int64_t largest = text::StrToIntOrZero(db_.SelectMax(table_, "N", ""));
    return std::to_string(largest + 1);
}

RevisionOutcome RevisionHistoryLogic::Check(const RevisionInput& input)
{
    if (text::IsBlank(input.number))
        return Refuse(revision_texts::kEnterNumber, "Edit1");
    if (text::StrToIntOrZero(input.number) < 1)
        return Refuse(revision_texts::kNumberNotPositive, "Edit1");
    if (!input.date.empty() && !text::IsValidDateString(input.date))
        return Refuse(revision_texts::kBadDate, "Edit3");
    if (text::HoldsQuote(input.content))
        return Refuse(revision_texts::kNoQuotes, "Edit2");
    return {};
}

std::vector<std::string> RevisionHistoryLogic::Values(int number, const RevisionInput& input) const
{
    return {std::to_string(number), std::to_string(drawingNo_), text::SqlTextOrNull(input.content),
            std::to_string(text::StrToIntOrZero(text::TextBeforeColon(input.reviser))),
            text::SqlTextOrNull(input.date)};
}

RevisionOutcome RevisionHistoryLogic::Add(const RevisionInput& input)
{
    if (RevisionOutcome refused = Check(input); !refused.message.isEmpty())
        return refused;
    // The unique N refuses a number any drawing of the project already uses.
    const int number = text::StrToIntOrZero(input.number);
    const bool added =
        db_.InsertRow(table_, {"N", "ZN", "CONT", "RN", "RDATE"}, Values(number, input));
    return Report(added, revision_texts::kAddOk, revision_texts::kAddFailed);
}

RevisionOutcome RevisionHistoryLogic::Change(const RevisionInput& input)
{
    if (RevisionOutcome refused = Check(input); !refused.message.isEmpty())
        return refused;
    const int number = text::StrToIntOrZero(input.number);
    if (!db_.SelectExists(table_, "N", "ZN=" + std::to_string(drawingNo_), number))
        return Refuse(revision_texts::kNumberUnused, "Edit1");
    const bool changed = db_.UpdateRow(table_, {"N", "ZN", "CONT", "RN", "RDATE"},
                                       Values(number, input), "N=" + std::to_string(number));
    return Report(changed, revision_texts::kChangeOk, revision_texts::kChangeFailed);
}

QString RevisionHistoryLogic::DeleteQuestion(const storage::Row& cells)
{
    if (cells.empty() || cells[0].empty())
        return QString();
    const std::string content = cells.size() > 1 ? cells[1] : std::string();
    return Utf8(revision_texts::kQuestionOpen) + Utf8(revision_texts::kQuestionNo) +
           text::FromCp932(cells[0]) + Utf8(revision_texts::kQuestionColon) +
           text::FromCp932(content) + Utf8(revision_texts::kQuestionClose) +
           QStringLiteral("\r\n") + Utf8(revision_texts::kQuestionConfirm);
}

RevisionOutcome RevisionHistoryLogic::Delete(const storage::Row& cells)
{
    if (cells.empty() || cells[0].empty())
        return {};
    const bool deleted =
        db_.DeleteRows(table_, "N=" + std::to_string(text::StrToIntOrZero(cells[0])));
    return Report(deleted, revision_texts::kDeleteOk, revision_texts::kDeleteFailed);
}

}  // namespace drawings
