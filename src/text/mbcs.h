#pragma once
// Byte-string helpers. Every text is a CP932 byte string; positions and lengths
// count bytes from 1, and a two-byte character is never split.

#include <cstdint>
#include <string>
#include <string_view>

namespace text {

// The lead-byte range every helper shares (wider than strict CP932 on purpose:
// stored data from other PCs was written with this range).
constexpr bool IsLeadByte(unsigned char b)
{
    return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD);
}

// Decimal or $/x/0x hexadecimal with optional sign after leading blanks; anything
// else, no digits, or a value outside 32 bits gives 0.
std::int32_t StrToIntOrZero(std::string_view text);

bool IsAllDigits(std::string_view text);

// Nothing but blanks and control bytes (what a trim would leave empty); no CP932
// trail byte is that small, so two-byte characters never count as blank.
bool IsBlank(std::string_view text);

// A single or double quotation mark; trail bytes start at 0x40, so a byte-wise
// search never hits half a character.
bool HoldsQuote(std::string_view text);

struct MbcsCopy {
    std::string text;
    int bytesCopied = 0;
};
// The characters lying wholly inside bytes start .. start + count - 1.
MbcsCopy CopyMbcs(std::string_view text, int start, int count);

// Drops single and double quotes and control bytes; two-byte characters stay whole.
std::string StripQuotes(std::string_view text);

std::string TextBeforeColon(std::string_view text);
std::string TextAfterColon(std::string_view text);

// "yyyymmdd", a real Gregorian date not before 1899-12-30.
bool IsValidDateString(std::string_view text);

// Single quotes around the text, any quote inside doubled: the one way a text
// literal is made for SQL.
std::string SqlText(std::string_view text);
// The same, or NULL for an empty text: an empty field is stored as no value.
std::string SqlTextOrNull(std::string_view text);

}  // namespace text
