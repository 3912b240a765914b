#pragma once
// The arguments of one subcommand: positional values in order, options that
// take a value ("--keep 7" or "--keep=7") and switches ("--replace").

#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace admin {

struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::set<std::string> switches;
    bool help = false;
    std::string error;  // what is wrong with them, in the tool's words; empty when usable
};

// `valued` and `flags` name the options the subcommand knows; anything else
// starting with "--" is an error, as is a wrong number of positional values.
Arguments ParseArguments(const std::vector<std::string>& args, std::size_t positionalCount,
                         const std::set<std::string>& valued, const std::set<std::string>& flags);

// The arguments to go on with, or none when the answer is given already: the
// usage for --help (exit code 0), or what is wrong and the usage (2).
std::optional<Arguments> ArgumentsOrAnswer(const std::vector<std::string>& args,
                                           std::size_t positionalCount,
                                           const std::set<std::string>& valued,
                                           const std::set<std::string>& flags, const char* usage,
                                           const char* prefix, std::ostream& out, std::ostream& err,
                                           int& exitCode);

// A whole number from 1 to `limit`; 0 when the text is not one.
int PositiveNumber(const std::string& text, int limit);

}  // namespace admin
