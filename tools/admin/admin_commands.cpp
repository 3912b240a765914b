#include "tools/admin/admin_commands.h"

#include <iomanip>
#include <ostream>

#include "search/search_texts.h"
#include "tools/admin/admin_texts.h"
#include "tools/admin/backup_command.h"
#include "tools/admin/check_command.h"
#include "tools/admin/preview_command.h"
#include "tools/admin/report_command.h"
#include "tools/admin/report_texts.h"
#include "tools/admin/restore_command.h"
#include "tools/admin/search_command.h"
#include "tools/admin/seeder.h"
#include "tools/admin/xlsx_command.h"

namespace admin {

namespace {

void PrintUsage(std::ostream& stream)
{
    stream << texts::kUsage << "\n\n" << texts::kCommandsHeading << "\n";
    for (const Command& command : Commands())
        stream << "  " << std::left << std::setw(12) << command.name << command.summary << "\n";
    stream << "\n" << texts::kHelpHint << "\n";
}

}  // namespace

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {"seed", texts::kSeedSummary, &seed::RunSeedCommand},
        {"backup", texts::kBackupSummary, &RunBackupCommand},
        {"restore", texts::kRestoreSummary, &RunRestoreCommand},
        {"check", texts::kCheckSummary, &RunCheckCommand},
        {"report", report_texts::kSummary, &RunReportCommand, true},
        {"search", search::texts::kCommandSummary, &RunSearchCommand},
        {"preview", texts::kPreviewSummary, &RunPreviewCommand, true},
        {"xlsx", texts::kXlsxSummary, &RunXlsxCommand},
    };
    return commands;
}

const Command* FindCommand(const std::string& name)
{
    for (const Command& command : Commands())
        if (name == command.name)
            return &command;
    return nullptr;
}

int RunAdmin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        PrintUsage(err);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(out);
        return 0;
    }
    const Command* command = FindCommand(args[0]);
    if (!command) {
        err << texts::kProgram << ": " << texts::kUnknownCommand << args[0] << "\n";
        PrintUsage(err);
        return 2;
    }
    return command->run(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
}

}  // namespace admin
