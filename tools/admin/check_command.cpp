#include "tools/admin/check_command.h"

#include <ostream>

#include "storage/database.h"
#include "storage/service_manager.h"
#include "tools/admin/check_texts.h"
#include "tools/admin/command_line.h"
#include "tools/admin/seeder.h"

namespace admin {

namespace {

namespace t = check_texts;

// Firebird puts the time in front of each line ("16:40:32.61 Error: ..."); the
// report is about the database, so it goes.
std::string WithoutTime(std::string_view line)
{
    const std::size_t space = line.find(' ');
    if (space == 11 && line[2] == ':' && line[5] == ':' && line[8] == '.')
        line.remove_prefix(space + 1);
    return std::string(line);
}

}  // namespace

CheckReport RunCheck(const std::string& database)
{
    CheckReport report;
    {
        storage::Database probe;
        probe.ConnectDatabase(database);
        if (!probe.Connected())
            return report;
    }
    report.reached = true;
    const storage::ServiceOutcome validated =
        storage::ValidateOnline(database, [&](std::string_view line) {
            if (IsValidationFault(line))
                report.problems.push_back({t::kValidationTable, {}, WithoutTime(line)});
        });
    if (!validated.ok)
        report.problems.push_back(
            {t::kValidationTable, {}, t::kValidationFailed + validated.error});

    storage::Database db;
    db.ConnectDatabase(database);
    std::vector<Problem> found = CheckConsistency(db);
    report.problems.insert(report.problems.end(), found.begin(), found.end());
    return report;
}

int RunCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    int exitCode = 0;
    const std::optional<Arguments> parsed =
        ArgumentsOrAnswer(args, 1, {}, {}, t::kUsage, t::kPrefix, out, err, exitCode);
    if (!parsed)
        return exitCode;
    const std::string database = seed::AbsoluteDatabasePath(parsed->positional[0]);
    const CheckReport report = RunCheck(database);
    if (!report.reached) {
        err << t::kPrefix << t::kUnreachable << database << "\n";
        return 1;
    }
    for (const Problem& problem : report.problems)
        out << ProblemLine(problem) << "\n";
    if (report.problems.empty()) {
        out << t::kPrefix << t::kNone << database << "\n";
        return 0;
    }
    out << t::kPrefix << report.problems.size() << t::kFound << database << "\n";
    return 1;
}

}  // namespace admin
