// Any bytes through the text helpers every screen and statement relies on.
// Each property is one a fault would break in the field: a literal that lets
// a quote through, a copy that splits a character, a node text whose number
// reads back wrong, a decode that loses bytes it should keep.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "drawings/node_text.h"
#include "text/cp932.h"
#include "text/mbcs.h"

namespace {

void Require(bool holds)
{
    if (!holds)
        std::abort();
}

// The literal is the input in quotes with every quote doubled, and nothing else.
void CheckSqlText(std::string_view s)
{
    const std::string literal = text::SqlText(s);
    Require(literal.size() >= 2 && literal.front() == '\'' && literal.back() == '\'');
    std::string back;
    for (std::size_t i = 1; i + 1 < literal.size(); ++i) {
        back += literal[i];
        if (literal[i] == '\'') {
            Require(i + 2 < literal.size() && literal[i + 1] == '\'');
            ++i;
        }
    }
    Require(back == s);
}

// A copy is a run of whole characters of the input that fits the window.
void CheckCopyMbcs(std::string_view s, int start, int count)
{
    const text::MbcsCopy copy = text::CopyMbcs(s, start, count);
    Require(copy.bytesCopied == static_cast<int>(copy.text.size()));
    Require(copy.bytesCopied <= std::max(count, 0));
    if (copy.text.empty())
        return;
    const std::size_t at = s.find(copy.text, start > 0 ? static_cast<std::size_t>(start - 1) : 0);
    Require(at != std::string_view::npos && at + copy.text.size() <= s.size());
    // Never half a character at the end: the last lead byte carries its trail.
    for (std::size_t i = 0; i < copy.text.size(); ++i)
        if (text::IsLeadByte(static_cast<unsigned char>(copy.text[i])))
            Require(++i < copy.text.size());
}

void CheckColonSplit(std::string_view s)
{
    const std::string before = text::TextBeforeColon(s);
    const std::string after = text::TextAfterColon(s);
    if (s.find(':') != std::string_view::npos)
        Require(before + ":" + after == s);
}

void CheckDate(std::string_view s)
{
    if (text::IsValidDateString(s))
        Require(s.size() == 8 && text::IsAllDigits(s));
}

// A node made from a name without the separator reads back as that name and number.
void CheckNodeText(std::string_view s, int number)
{
    const std::string name = text::StripQuotes(s);
    if (drawings::HasNodeSeparator(name))
        return;
    const drawings::ParsedNode parsed = drawings::ParseNodeText(drawings::NodeText(name, number));
    Require(parsed.name == name && parsed.number == number);
    Require(drawings::NodeNumberOf(drawings::NodeText(name, number)) == number);
}

// Whatever decodes without a replacement character encodes back to the same bytes.
void CheckCp932(std::string_view s)
{
    const QString decoded = text::FromCp932(s);
    if (decoded.contains(QChar::ReplacementCharacter))
        return;
    const std::optional<std::string> encoded = text::ToCp932(decoded);
    Require(encoded.has_value());
    Require(text::Cp932Length(decoded) == static_cast<int>(encoded->size()));
    // Shift-JIS has a few characters with two codes; the encoding must at
    // least decode to the same text.
    Require(text::FromCp932(*encoded) == decoded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view s(reinterpret_cast<const char*>(data), size);
    text::StrToIntOrZero(s);
    text::IsBlank(s);
    CheckSqlText(s);
    CheckColonSplit(s);
    CheckDate(s);
    CheckCp932(s);
    const int start = size > 0 ? data[0] % 40 - 2 : 1;
    const int count = size > 1 ? data[1] % 40 - 2 : 5;
    CheckCopyMbcs(s, start, count);
    CheckNodeText(s, size > 2 ? data[2] * 977 : 0);
    return 0;
}
