#include "drawings/node_text.h"

#include "text/mbcs.h"

namespace drawings {

std::string NodeText(std::string_view name, std::string_view number)
{
    std::string text;
    text.reserve(name.size() + kNodeSeparator.size() + number.size());
    text.append(name).append(kNodeSeparator).append(number);
    return text;
}

std::string NodeText(std::string_view name, int number)
{
    return NodeText(name, std::to_string(number));
}

ParsedNode ParseNodeText(std::string_view text)
{
    const size_t at = text.find(kNodeSeparator);
    if (at == std::string_view::npos)
        return {0, std::string(text)};
    return {text::StrToIntOrZero(text.substr(at + kNodeSeparator.size())),
            std::string(text.substr(0, at))};
}

int NodeNumberOf(std::string_view text)
{
    const size_t at = text.find(kNodeSeparator);
    return at == std::string_view::npos
               ? 0
               : text::StrToIntOrZero(text.substr(at + kNodeSeparator.size()));
}

bool HasNodeSeparator(std::string_view text)
{
    return text.find(kNodeSeparator) != std::string_view::npos;
}

}  // namespace drawings
