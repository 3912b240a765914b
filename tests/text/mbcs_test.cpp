#include "text/mbcs.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <string_view>
#include <utility>

using namespace std::string_view_literals;

namespace {

TEST(StrToIntOrZero, DecimalAndBlanks)
{
    const struct {
        std::string_view in;
        std::int32_t out;
    } cases[] = {
        {"", 0},       {"12", 12},      {" 12", 12},
        {"   -7", -7}, {"12 ", 0},      {"-5", -5},
        {"+5", 5},     {"007", 7},      {"0000000000012", 12},
        {"abc", 0},    {"12a", 0},      {"1 2", 0},
        {"1e3", 0},    {" ", 0},        {"-", 0},
        {"+", 0},      {"+-5", 0},      {"- 5", 0},
        {"\t12", 0},   {"\x82\x50", 0}, {"1\0"sv, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::StrToIntOrZero(c.in), c.out) << "input [" << c.in << "]";
}

TEST(StrToIntOrZero, DecimalRangeIsSigned32Bits)
{
    EXPECT_EQ(text::StrToIntOrZero("2147483647"), INT32_MAX);
    EXPECT_EQ(text::StrToIntOrZero("2147483648"), 0);
    EXPECT_EQ(text::StrToIntOrZero("-2147483648"), INT32_MIN);
    EXPECT_EQ(text::StrToIntOrZero("-2147483649"), 0);
    EXPECT_EQ(text::StrToIntOrZero("99999999999"), 0);
    EXPECT_EQ(text::StrToIntOrZero("4294967297"), 0);  // would wrap to 1
    EXPECT_EQ(text::StrToIntOrZero("000000000002147483647"), INT32_MAX);
}

TEST(StrToIntOrZero, HexadecimalPrefixesAndBitPattern)
{
    const struct {
        std::string_view in;
        std::int32_t out;
    } cases[] = {
        {"$1F", 31},
        {"$1f", 31},
        {"x1F", 31},
        {"X10", 16},
        {"0x10", 16},
        {"0X10", 16},
        {"-$10", -16},
        {"+0x10", 16},
        {"  $A", 10},
        {"$0000000001F", 31},
        {"$7FFFFFFF", INT32_MAX},
        {"$80000000", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"-$FFFFFFFF", 1},
        {"-0x80000000", INT32_MIN},
        {"$100000000", 0},
        {"$", 0},
        {"0x", 0},
        {"x", 0},
        {"$G", 0},
        {"0x1G", 0},
        {"$1F ", 0},
        {"$ 1", 0},
        {"0x-1", 0},
        {"00x1", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::StrToIntOrZero(c.in), c.out) << "input [" << c.in << "]";
}

TEST(IsAllDigits, EveryByteMustBeADigit)
{
    EXPECT_TRUE(text::IsAllDigits(""));
    EXPECT_TRUE(text::IsAllDigits("0123456789"));
    EXPECT_FALSE(text::IsAllDigits("12a"));
    EXPECT_FALSE(text::IsAllDigits("/:"));
    EXPECT_FALSE(text::IsAllDigits("\x82\x50"));  // full-width 1
}

void ExpectCopy(std::string_view in, int start, int count, std::string_view text, int bytes)
{
    const text::MbcsCopy copy = text::CopyMbcs(in, start, count);
    EXPECT_EQ(copy.text, text) << "start " << start << " count " << count;
    EXPECT_EQ(copy.bytesCopied, bytes) << "start " << start << " count " << count;
}

TEST(CopyMbcs, NeverSplitsATwoByteCharacter)
{
    // Bytes 5-6 are one character whose second byte is a backslash.
    const std::string_view s = "abcd\x83\\ef";
    ExpectCopy(s, 1, 5, "abcd", 4);
    ExpectCopy(s, 1, 6, "abcd\x83\x5c", 6);
    ExpectCopy(s, 5, 2, "\x83\x5c", 2);
    // Starting on the second byte: the character is skipped whole and its
    // second byte is not read as a backslash of its own.
    ExpectCopy(s, 6, 3, "ef", 2);
    ExpectCopy(s, 6, 1, "", 0);
    ExpectCopy(s, 1, 100, s, 8);
    ExpectCopy(s, 2, INT_MAX, "bcd\x83\\ef", 7);

    const std::string_view pairs = "\x83\x5c\x95\x5c";
    ExpectCopy(pairs, 2, 3, "\x95\x5c", 2);

    // The wide lead range: 0x80 and 0xFD begin a pair, 0xA0 and 0xFE do not.
    ExpectCopy("\x80xy", 2, 2, "y", 1);
    ExpectCopy("\xFDxy", 1, 2, "\xFDx", 2);
    ExpectCopy("\xA0xy", 2, 1, "x", 1);
    ExpectCopy("\xFExy", 1, 1, "\xFE", 1);
}

TEST(CopyMbcs, RangeOutsideTheTextOrLoneLeadByte)
{
    ExpectCopy("", 1, 5, "", 0);
    ExpectCopy("abc", 0, 2, "", 0);
    ExpectCopy("abc", 4, 1, "", 0);
    ExpectCopy("abc", 1, 0, "", 0);
    // Half a character at the end of the text is never copied.
    ExpectCopy("ab\x83", 1, 10, "ab", 2);
    ExpectCopy("ab\x83", 3, 1, "", 0);
}

TEST(StripQuotes, RemovesQuotesAndControlsKeepsPairs)
{
    const struct {
        std::string_view in;
        std::string_view out;
    } cases[] = {
        {"ab'cd", "abcd"},
        {"a\"b\"", "ab"},
        {"a\tb\r\nc", "abc"},
        {"a\0b"sv, "ab"},
        {"\x1f \x7f", " \x7f"},
        {"'\x95\x5c'", "\x95\x5c"},
        // The second byte of a pair is never examined, whatever it is.
        {"\x83'x", "\x83'x"},
        {"\x83\"", "\x83\""},
        {"\x83\n", "\x83\n"},
        {"\xFD'", "\xFD'"},
        // Not lead bytes: the quote after them goes.
        {"\xA0'", "\xA0"},
        {"\xFE'", "\xFE"},
        {"ab\x83", "ab"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::StripQuotes(c.in), c.out) << "input [" << c.in << "]";
}

TEST(Colon, SplitsNumberedItemAtFirstColon)
{
    const std::string_view none = "0:\x8e\x77\x92\xe8\x96\xb3\x82\xb5";  // 0:指定無し
    EXPECT_EQ(text::TextBeforeColon(none), "0");
    EXPECT_EQ(text::TextAfterColon(none), "\x8e\x77\x92\xe8\x96\xb3\x82\xb5");
    EXPECT_EQ(text::TextBeforeColon("abc"), "");
    EXPECT_EQ(text::TextAfterColon("abc"), "");
    EXPECT_EQ(text::TextBeforeColon("12:a:b"), "12");
    EXPECT_EQ(text::TextAfterColon("12:a:b"), "a:b");
    EXPECT_EQ(text::TextAfterColon("x:"), "");
    EXPECT_EQ(text::StrToIntOrZero(text::TextBeforeColon("25:name")), 25);
}

TEST(IsValidDateString, GregorianDatesFrom18991230)
{
    const struct {
        std::string_view in;
        bool valid;
    } cases[] = {
        {"20240229", true},  {"20230229", false},  {"20000229", true},  {"19000229", false},
        {"2024013", false},  {"202401010", false}, {"2024-1-1", false}, {" 2024013", false},
        {"18991229", false}, {"18991230", true},   {"18991130", false}, {"00000101", false},
        {"99991231", true},  {"20241301", false},  {"20240100", false}, {"20240431", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::IsValidDateString(c.in), c.valid) << "input [" << c.in << "]";
}

// Reads a literal the way the server does without a character set: a byte at
// a time, a doubled quote standing for one. Returns the value and how many
// bytes the literal took.
std::pair<std::string, std::size_t> ReadLiteral(std::string_view sql)
{
    std::string value;
    std::size_t i = 1;
    while (i < sql.size()) {
        if (sql[i] == '\'') {
            if (i + 1 < sql.size() && sql[i + 1] == '\'') {
                value += '\'';
                i += 2;
                continue;
            }
            return {value, i + 1};
        }
        value += sql[i++];
    }
    return {value, std::string_view::npos};
}

TEST(SqlText, QuotesAndDoublesEveryQuoteByte)
{
    EXPECT_EQ(text::SqlText(""), "''");
    EXPECT_EQ(text::SqlText("abc"), "'abc'");
    EXPECT_EQ(text::SqlText("it's"), "'it''s'");
    EXPECT_EQ(text::SqlText("''"), "''''''");
    EXPECT_EQ(text::SqlText("a\"b"), "'a\"b'");
    EXPECT_EQ(text::SqlText("\x83\x5c\x95\x5c"), "'\x83\x5c\x95\x5c'");
    EXPECT_EQ(text::SqlText("\x83'"), "'\x83'''");

    // Whatever the bytes, the literal ends exactly at its end and gives the
    // text back unchanged.
    const std::string_view inputs[] = {
        "",
        "'",
        "a'b''c'",
        "\x83'",
        "\x83",
        "x\x83",
        "'); DROP TABLE ZPROJECT; --",
        "\x95\x5c'\x83\x5c",
        "\x83'); DELETE FROM ZPROJECT; --",
    };
    for (std::string_view in : inputs) {
        const std::string sql = text::SqlText(in);
        const auto [value, used] = ReadLiteral(sql);
        EXPECT_EQ(value, in) << sql;
        EXPECT_EQ(used, sql.size()) << sql;
    }
}

}  // namespace
