#include "registers/register_logic.h"

#include <algorithm>
#include <cstdint>

#include "registers/register_texts.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace registers {

using text::Utf8;

namespace {

RegisterOutcome Refuse(const char* message, const char* focus)
{
    return {Utf8(message), QString::fromLatin1(focus), false};
}

RegisterOutcome Report(bool succeeded, const char* ok, const char* failed)
{
    return {Utf8(succeeded ? ok : failed), QString(), true};
}

std::vector<storage::Row> LoadWholeTable(storage::Database& db, const RegisterConfig& config)
{
    const int count = db.SelectOrdered("*", config.table, "", "N");
    return db.FetchAll(count, static_cast<std::size_t>(config.gridColumns));
}

// Every member once, in number order, whether or not its section exists: this
// is the only screen that maintains members, so a member whose section is 0 or
// gone must still be listed. Without a SECTION table the members are read alone.
std::vector<storage::Row> LoadMembers(storage::Database& db, const RegisterConfig&)
{
    std::vector<storage::Row> rows;
    if (db.TableExists("SECTION")) {
        const int count = db.SelectOrdered("MEMBER.N,MEMBER.SN,SECTION.SNAME,MEMBER.PNAME",
                                           "MEMBER LEFT OUTER JOIN SECTION ON MEMBER.SN=SECTION.N",
                                           "", "MEMBER.N");
        rows = db.FetchAll(count, 4);
    } else {
        const int count = db.SelectOrdered("N,SN,PNAME", "MEMBER", "", "N");
        rows = db.FetchAll(count, 3);
        for (storage::Row& row : rows)
            row.insert(row.begin() + 2, std::string());
    }
    for (storage::Row& row : rows)
        if (text::StrToIntOrZero(row[1]) == 0)
            row[2].clear();
    return rows;
}

}  // namespace

const RegisterConfig& SectionRegister()
{
    static const RegisterConfig config{
        .table = "SECTION",
        .caption = texts::kSectionCaption,
        .headers = {texts::kNumberHeader, texts::kNameHeader},
        .columnWidths = {57, 294},
        .numberColumns = {true, false},
        .columns = {{"SNAME", ColumnKind::Text, "Edit2", "Edit2"}},
        .gridColumns = 2,
        .loadRows = LoadWholeTable,
        .requiredOnChange = 0,
        .requiredMessage = texts::kSectionNameRequired,
        .questionCells = {1},
        .referenceTable = "MEMBER",
        .referenceColumn = "SN",
        .referenceMessage = texts::kSectionInUse,
    };
    return config;
}

const RegisterConfig& MemberRegister()
{
    static const RegisterConfig config{
        .table = "MEMBER",
        .caption = texts::kMemberCaption,
        .headers = {texts::kNumberHeader, texts::kSectionNoHeader, texts::kSectionHeader,
                    texts::kMemberNameHeader},
        .columnWidths = {57, 10, 130, 153},
        .numberColumns = {true, true, false, false},
        .columns = {{"SN", ColumnKind::NumberedItem, "ComboBox1", nullptr},
                    {"PNAME", ColumnKind::Text, "Edit2", "Edit2"}},
        .gridColumns = 4,
        .loadRows = LoadMembers,
        .requiredOnChange = 1,
        .requiredMessage = texts::kMemberNameRequired,
        .questionCells = {3},
    };
    return config;
}

const RegisterConfig& CompanyRegister()
{
    // A quote in either name puts the focus on the company name.
    static const RegisterConfig config{
        .table = "COMPANY",
        .caption = texts::kCompanyCaption,
        .headers = {texts::kNumberHeader, texts::kNameHeader, texts::kDepartmentHeader},
        .columnWidths = {57, 181, 179},
        .numberColumns = {true, false, false},
        .columns = {{"CNAME", ColumnKind::Text, "Edit2", "Edit2"},
                    {"BNAME", ColumnKind::Text, "Edit3", "Edit2"}},
        .gridColumns = 3,
        .loadRows = LoadWholeTable,
        .questionCells = {1, 2},
    };
    return config;
}

RegisterOutcome CheckRegisterCanOpen(const storage::Settings& settings, const storage::Database& db)
{
    if (text::IsBlank(settings.DbFolder) || text::IsBlank(settings.DbName))
        return {Utf8(texts::kSetUpDatabaseFirst), QString(), false};
    if (!db.Connected())
        return {Utf8(texts::kCannotConnect), QString(), false};
    return {};
}

std::vector<std::string> LoadSectionItems(storage::Database& db)
{
    std::vector<std::string> items{text::ToCp932Lossy(Utf8(texts::kNoSectionItem))};
    if (!db.TableExists("SECTION"))
        return items;
    const int count = db.SelectOrdered("*", "SECTION", "", "N");
    for (const storage::Row& row : db.FetchAll(count, 2))
        items.push_back(row[0] + ":" + row[1]);
    return items;
}

int FindSectionItem(const std::vector<std::string>& items, int sn)
{
    for (std::size_t i = 1; i < items.size(); ++i)
        if (text::StrToIntOrZero(text::TextBeforeColon(items[i])) == sn)
            return static_cast<int>(i);
    return 0;
}

std::vector<storage::Row> RegisterLogic::LoadRows()
{
    return config_.loadRows(db_, config_);
}

std::string RegisterLogic::ProposeNumber()
{
    // 64 bits: one past the largest 32-bit number is proposed as such, and then
    // refused as not positive, instead of wrapping round.
    const std::int64_t largest = text::StrToIntOrZero(db_.SelectMax(config_.table, "N", ""));
    return std::to_string(largest + 1);
}

RegisterOutcome RegisterLogic::CheckQuotes(const RegisterInput& input) const
{
    for (std::size_t i = 0; i < config_.columns.size(); ++i) {
        const ValueColumn& column = config_.columns[i];
        if (column.kind == ColumnKind::Text && text::HoldsQuote(input.values.at(i)))
            return Refuse(texts::kNoQuotes, column.quoteFocus);
    }
    return {};
}

std::vector<std::string> RegisterLogic::Columns() const
{
    std::vector<std::string> columns{"N"};
    for (const ValueColumn& column : config_.columns)
        columns.emplace_back(column.name);
    return columns;
}

std::vector<std::string> RegisterLogic::Values(int number, const RegisterInput& input) const
{
    std::vector<std::string> values{std::to_string(number)};
    for (std::size_t i = 0; i < config_.columns.size(); ++i) {
        const std::string& value = input.values.at(i);
        if (config_.columns[i].kind == ColumnKind::NumberedItem)
            values.push_back(std::to_string(text::StrToIntOrZero(text::TextBeforeColon(value))));
        else
            values.push_back(text::SqlTextOrNull(value));
    }
    return values;
}

RegisterOutcome RegisterLogic::Add(const RegisterInput& input)
{
    if (text::IsBlank(input.number))
        return Refuse(texts::kEnterNumber, "Edit1");
    const int number = text::StrToIntOrZero(input.number);
    if (number <= 0)
        return Refuse(texts::kNumberNotPositive, "Edit1");
    if (RegisterOutcome refused = CheckQuotes(input); !refused.message.isEmpty())
        return refused;
    // No look for the number first: the unique N refuses a duplicate.
    const bool added = db_.InsertRow(config_.table, Columns(), Values(number, input));
    return Report(added, texts::kAddOk, texts::kAddFailed);
}

RegisterOutcome RegisterLogic::Change(const RegisterInput& input)
{
    if (text::IsBlank(input.number))
        return Refuse(texts::kEnterNumber, "Edit1");
    if (config_.requiredOnChange >= 0) {
        const auto required = static_cast<std::size_t>(config_.requiredOnChange);
        if (text::IsBlank(input.values.at(required)))
            return Refuse(config_.requiredMessage, config_.columns[required].field);
    }
    const int number = text::StrToIntOrZero(input.number);
    if (number <= 0)
        return Refuse(texts::kNumberNotPositive, "Edit1");
    if (!db_.SelectExists(config_.table, "N", "", number))
        return Refuse(texts::kNumberUnused, "Edit1");
    if (RegisterOutcome refused = CheckQuotes(input); !refused.message.isEmpty())
        return refused;
    const bool changed = db_.UpdateRow(config_.table, Columns(), Values(number, input),
                                       "N=" + std::to_string(number));
    return Report(changed, texts::kChangeOk, texts::kChangeFailed);
}

QString RegisterLogic::DeleteQuestion(const storage::Row& cells) const
{
    if (cells.empty() || cells[0].empty())
        return QString();
    QString names;
    for (std::size_t i = 0; i < config_.questionCells.size(); ++i) {
        if (i > 0)
            names += Utf8(texts::kNameSeparator);
        const auto cell = static_cast<std::size_t>(config_.questionCells[i]);
        names += text::FromCp932(cell < cells.size() ? cells[cell] : std::string());
    }
    return Utf8(texts::kQuestionOpen) + QStringLiteral("No.") + text::FromCp932(cells[0]) +
           Utf8(texts::kQuestionColon) + names + Utf8(texts::kQuestionClose) +
           QStringLiteral("\r\n") + Utf8(texts::kQuestionConfirm);
}

RegisterOutcome RegisterLogic::Delete(const storage::Row& cells)
{
    if (cells.empty() || cells[0].empty())
        return {};
    const int number = text::StrToIntOrZero(cells[0]);
    if (config_.referenceTable && db_.TableExists(config_.referenceTable) &&
        db_.SelectExists(config_.referenceTable, config_.referenceColumn, "", number))
        return {Utf8(config_.referenceMessage), QString(), false};
    const bool deleted = db_.DeleteRows(config_.table, "N=" + std::to_string(number));
    return Report(deleted, texts::kDeleteOk, texts::kDeleteFailed);
}

}  // namespace registers
