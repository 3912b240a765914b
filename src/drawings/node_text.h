#pragma once
// The text of a tree item: the node name, " :" and the node number. The
// number lives only in this text and is always read back from it.

#include <string>
#include <string_view>

namespace drawings {

inline constexpr std::string_view kNodeSeparator = " :";

std::string NodeText(std::string_view name, std::string_view number);
std::string NodeText(std::string_view name, int number);

struct ParsedNode {
    int number = 0;    // 0 when the text holds no separator
    std::string name;  // the text before the first separator, else the whole text
};

// Split at the first separator: a name never holds one, and neither byte of it
// can be the second byte of a two-byte character.
ParsedNode ParseNodeText(std::string_view text);
int NodeNumberOf(std::string_view text);
bool HasNodeSeparator(std::string_view text);

}  // namespace drawings
