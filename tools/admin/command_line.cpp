#include "tools/admin/command_line.h"

#include <ostream>

#include "text/mbcs.h"
#include "tools/admin/admin_texts.h"

namespace admin {

Arguments ParseArguments(const std::vector<std::string>& args, std::size_t positionalCount,
                         const std::set<std::string>& valued, const std::set<std::string>& flags)
{
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            return parsed;
        }
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0 || arg == "--") {
            parsed.positional.push_back(arg);
            continue;
        }
        std::string value;
        bool inlineValue = false;
        if (const std::size_t eq = arg.find('='); eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            inlineValue = true;
        }
        if (flags.count(arg) && !inlineValue) {
            parsed.switches.insert(arg);
        } else if (valued.count(arg)) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) {
                    parsed.error = arg + texts::kNeedsValue;
                    return parsed;
                }
                value = args[++i];
            }
            parsed.values[arg] = value;
        } else {
            parsed.error = texts::kUnknownOption + arg;
            return parsed;
        }
    }
    if (parsed.positional.size() != positionalCount)
        parsed.error = texts::kWrongArgumentCount;
    return parsed;
}

std::optional<Arguments> ArgumentsOrAnswer(const std::vector<std::string>& args,
                                           std::size_t positionalCount,
                                           const std::set<std::string>& valued,
                                           const std::set<std::string>& flags, const char* usage,
                                           const char* prefix, std::ostream& out, std::ostream& err,
                                           int& exitCode)
{
    Arguments parsed = ParseArguments(args, positionalCount, valued, flags);
    if (parsed.help) {
        out << usage;
        exitCode = 0;
        return std::nullopt;
    }
    if (!parsed.error.empty()) {
        err << prefix << parsed.error << "\n" << usage;
        exitCode = 2;
        return std::nullopt;
    }
    return parsed;
}

int PositiveNumber(const std::string& text, int limit)
{
    if (text.empty() || text.size() > 9 || !text::IsAllDigits(text))
        return 0;
    const int value = std::stoi(text);
    return value >= 1 && value <= limit ? value : 0;
}

}  // namespace admin
