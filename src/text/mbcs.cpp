#include "text/mbcs.h"
#include <algorithm>

#include <cstddef>
#include <optional>

namespace text {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsLeadAt(std::string_view text, std::size_t i)
{
    return IsLeadByte(static_cast<unsigned char>(text[i]));
}

// Length of the hexadecimal prefix at the front of the text, 0 when none.
std::size_t HexPrefixLength(std::string_view text)
{
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X'))
        return 1;
    if (text.starts_with("0x") || text.starts_with("0X"))
        return 2;
    return 0;
}

// Digits only; the magnitude may use the full 32 unsigned bits, as the
// hexadecimal form is read as a bit pattern ("$FFFFFFFF" is -1).
std::optional<std::uint32_t> ParseHexMagnitude(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int d = HexValue(c);
        if (d < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(d);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::uint64_t> ParseDecimalMagnitude(std::string_view digits, std::uint64_t limit)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

}  // namespace

std::int32_t StrToIntOrZero(std::string_view text)
{
    // Only the space counts as a blank here, as in the conversion stored
    // values were written with.
    while (text.starts_with(' '))
        text.remove_prefix(1);
    bool negative = false;
    if (text.starts_with('+') || text.starts_with('-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (const std::size_t prefix = HexPrefixLength(text); prefix > 0) {
        const auto bits = ParseHexMagnitude(text.substr(prefix));
        if (!bits)
            return 0;
        // Unsigned arithmetic: negating the pattern of INT32_MIN is INT32_MIN.
        return static_cast<std::int32_t>(negative ? 0u - *bits : *bits);
    }
    const std::uint64_t limit = negative ? 2147483648ull : 2147483647ull;
    const auto magnitude = ParseDecimalMagnitude(text, limit);
    if (!magnitude)
        return 0;
    const auto value = static_cast<std::int64_t>(*magnitude);
    return static_cast<std::int32_t>(negative ? -value : value);
}

bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

bool HoldsQuote(std::string_view text)
{
    return text.find_first_of("'\"") != std::string_view::npos;
}

bool IsAllDigits(std::string_view text)
{
    for (char c : text) {
        if (!IsDigit(c))
            return false;
    }
    return true;
}

MbcsCopy CopyMbcs(std::string_view text, int start, int count)
{
    MbcsCopy result;
    const auto length = static_cast<std::int64_t>(text.size());
    if (text.empty() || start < 1 || start > length || count <= 0)
        return result;
    const std::int64_t first = start;
    const std::int64_t last = first + count - 1;
    std::int64_t i = 1;
    while (i <= length) {
        const auto index = static_cast<std::size_t>(i - 1);
        if (!IsLeadAt(text, index)) {
            if (i >= first && i <= last) {
                result.text += text[index];
                result.bytesCopied += 1;
            }
            i += 1;
            continue;
        }
        // A lead byte with nothing after it is half a character: never copied.
        if (i + 1 <= length && i >= first && i + 1 <= last) {
            result.text.append(text.substr(index, 2));
            result.bytesCopied += 2;
        }
        i += 2;
    }
    return result;
}

std::string StripQuotes(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(b)) {
            if (i + 1 < text.size())
                result.append(text.substr(i, 2));
            i += 2;
            continue;
        }
        if (b != '\'' && b != '"' && b >= 32)
            result += text[i];
        i += 1;
    }
    return result;
}

std::string TextBeforeColon(std::string_view text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return {};
    return std::string(text.substr(0, colon));
}

std::string TextAfterColon(std::string_view text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return {};
    return std::string(text.substr(colon + 1));
}

namespace {

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year))
        return 29;
    return kDays[month - 1];
}

}  // namespace

bool IsValidDateString(std::string_view text)
{
    if (text.size() != 8 || !IsAllDigits(text))
        return false;
    const int year = StrToIntOrZero(text.substr(0, 4));
    const int month = StrToIntOrZero(text.substr(4, 2));
    const int day = StrToIntOrZero(text.substr(6, 2));
    if (year < 1 || year > 9999 || month < 1 || month > 12)
        return false;
    if (day < 1 || day > DaysInMonth(year, month))
        return false;
    // Day 0 of the stored date arithmetic; nothing earlier can be kept.
    if (year != 1899)
        return year > 1899;
    return month == 12 && day >= 30;
}

std::string SqlText(std::string_view text)
{
    // Every quote byte is doubled, even one after a lead byte: the server reads
    // a text without character set a byte at a time, so such a byte would end
    // the literal. A valid CP932 trail byte is never a quote, so no character
    // is split.
    std::string result;
    result.reserve(text.size() + 2);
    result += '\'';
    for (char c : text) {
        result += c;
        if (c == '\'')
            result += '\'';
    }
    result += '\'';
    return result;
}

std::string SqlTextOrNull(std::string_view text)
{
    return text.empty() ? std::string("NULL") : SqlText(text);
}

}  // namespace text
