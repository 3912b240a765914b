#include "tools/admin/search_command.h"

#include <QString>
#include <map>
#include <ostream>

#include "search/drawing_search.h"
#include "search/file_state.h"
#include "search/search_results.h"
#include "search/search_texts.h"
#include "storage/database.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "tools/admin/admin_texts.h"
#include "tools/admin/seeder.h"

namespace admin {

namespace {

using search::SearchCriteria;

// Each value by its word and by the label the window shows.
template <class Value>
using Words = std::map<std::string, Value>;

const Words<search::StampState> kStates = {
    {"unchecked", search::StampState::Unchecked},
    {"checked", search::StampState::CheckedNotApproved},
    {"approved", search::StampState::ApprovedNotIssued},
    {"issued", search::StampState::Issued},
    {"revised", search::StampState::Revised},
    {search::texts::kStateUnchecked, search::StampState::Unchecked},
    {search::texts::kStateCheckedNotApproved, search::StampState::CheckedNotApproved},
    {search::texts::kStateApprovedNotIssued, search::StampState::ApprovedNotIssued},
    {search::texts::kStateIssued, search::StampState::Issued},
    {search::texts::kStateRevised, search::StampState::Revised},
};

const Words<search::FileCondition> kFileStates = {
    {"missing", search::FileCondition::Missing},
    {"changed", search::FileCondition::ChangedAfterIssue},
    {search::texts::kFileMissing, search::FileCondition::Missing},
    {search::texts::kFileChangedAfterIssue, search::FileCondition::ChangedAfterIssue},
};

const Words<search::Role> kRoles = {
    {"any", search::Role::Any},
    {"drawn", search::Role::Drafter},
    {"checked", search::Role::Checker},
    {"approved", search::Role::Approver},
    {"issued", search::Role::Issuer},
    {"revised", search::Role::Reviser},
    {search::texts::kRoleAny, search::Role::Any},
    {search::texts::kRoleDrafter, search::Role::Drafter},
    {search::texts::kRoleChecker, search::Role::Checker},
    {search::texts::kRoleApprover, search::Role::Approver},
    {search::texts::kRoleIssuer, search::Role::Issuer},
    {search::texts::kRoleReviser, search::Role::Reviser},
};

const Words<search::ProjectScope> kScopes = {
    {"all", search::ProjectScope::All},
    {"open", search::ProjectScope::Open},
    {"done", search::ProjectScope::Done},
    {search::texts::kScopeAll, search::ProjectScope::All},
    {search::texts::kScopeOpen, search::ProjectScope::Open},
    {search::texts::kScopeDone, search::ProjectScope::Done},
};

const Words<search::DateKind> kDates = {
    {"made", search::DateKind::Made},
    {"updated", search::DateKind::Updated},
    {"checked", search::DateKind::Checked},
    {"approved", search::DateKind::Approved},
    {"issued", search::DateKind::Issued},
    {"revised", search::DateKind::Revised},
    {search::texts::kDateMade, search::DateKind::Made},
    {search::texts::kDateUpdated, search::DateKind::Updated},
    {search::texts::kDateChecked, search::DateKind::Checked},
    {search::texts::kDateApproved, search::DateKind::Approved},
    {search::texts::kDateIssued, search::DateKind::Issued},
    {search::texts::kDateRevised, search::DateKind::Revised},
};

template <class Value>
bool Choose(const Words<Value>& words, const std::string& word, Value& out)
{
    const auto it = words.find(word);
    if (it == words.end())
        return false;
    out = it->second;
    return true;
}

bool ReadPositiveNumber(const std::string& value, int& out)
{
    if (value.empty() || value.size() > 9 || !text::IsAllDigits(value))
        return false;
    out = std::stoi(value);
    return out > 0;
}

}  // namespace

std::optional<SearchCommandLine> ParseSearchCommandLine(const std::vector<std::string>& args,
                                                        std::string& error)
{
    SearchCommandLine command;
    SearchCriteria& c = command.criteria;
    bool haveText = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            if (command.database.empty()) {
                command.database = arg;
            } else if (!haveText) {
                // Arguments arrive in the locale's encoding; the database holds CP932.
                const std::optional<std::string> cp932 = text::ToCp932(QString::fromLocal8Bit(arg));
                if (!cp932) {
                    error = search::texts::kTextNotCp932;
                    return std::nullopt;
                }
                c.text = *cp932;
                haveText = true;
            } else {
                error = search::texts::kBadArgument + arg;
                return std::nullopt;
            }
            continue;
        }
        if (i + 1 >= args.size()) {
            error = search::texts::kBadArgument + arg;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        bool ok = false;
        if (arg == "--state")
            ok = Choose(kStates, value, c.state);
        else if (arg == "--file-state")
            ok = Choose(kFileStates, value, c.file);
        else if (arg == "--member")
            ok = ReadPositiveNumber(value, c.memberNo);
        else if (arg == "--role")
            ok = Choose(kRoles, value, c.role);
        else if (arg == "--projects")
            ok = Choose(kScopes, value, c.scope);
        else if (arg == "--project")
            ok = ReadPositiveNumber(value, c.projectNo);
        else if (arg == "--date")
            ok = Choose(kDates, value, c.dateKind);
        else if (arg == "--from" || arg == "--to")
            ok = text::IsValidDateString(value);
        if (ok && arg == "--from")
            c.dateFrom = value;
        if (ok && arg == "--to")
            c.dateTo = value;
        if (!ok) {
            error = search::texts::kBadArgument + arg + " " + value;
            return std::nullopt;
        }
    }
    if (command.database.empty()) {
        error = search::texts::kBadArgument;
        return std::nullopt;
    }
    if (c.dateKind == search::DateKind::None && (!c.dateFrom.empty() || !c.dateTo.empty())) {
        error = search::texts::kBadArgument + std::string("--from/--to (--date)");
        return std::nullopt;
    }
    return command;
}

int RunSearchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        out << search::texts::kCommandUsage << "\n";
        return 0;
    }
    std::string error;
    const std::optional<SearchCommandLine> command = ParseSearchCommandLine(args, error);
    if (!command) {
        err << texts::kProgram << " search: " << error << "\n"
            << search::texts::kCommandUsage << "\n";
        return 2;
    }
    storage::Database db;
    const std::string path = seed::AbsoluteDatabasePath(command->database);
    db.ConnectDatabase(path);
    if (!db.Connected()) {
        err << texts::kProgram << " search: " << search::texts::kCannotOpen << path << "\n";
        return 1;
    }
    search::DrawingSearch drawings(db, command->criteria);
    std::vector<search::SearchHit> hits = drawings.All();
    db.DisconnectDatabase();
    search::SettleFileStates(hits, command->criteria.file);
    out << search::CsvOf(search::TableOf(hits), search::CsvEncoding::Utf8);
    out.flush();
    return out ? 0 : 1;
}

}  // namespace admin
