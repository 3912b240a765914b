#pragma once
// k5x7-admin: one executable, one subcommand per office task. Each subcommand
// is a function over its arguments and two streams, so tests run it without
// the executable.

#include <iosfwd>
#include <string>
#include <vector>

namespace admin {

// 0 done, 1 failed (the reason on err), 2 bad usage.
using CommandRunner = int (*)(const std::vector<std::string>& args, std::ostream& out,
                              std::ostream& err);

struct Command {
    const char* name;
    const char* summary;  // one line for the list of subcommands
    CommandRunner run;
    // Draws text or pictures (PDF, PNG): needs a GUI application, offscreen
    // when there is no display.
    bool draws = false;
};

// Every subcommand, in the order the help lists them.
const std::vector<Command>& Commands();
const Command* FindCommand(const std::string& name);

// The whole tool: args are what follows the program name.
int RunAdmin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace admin
