#include "text/cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace {

const QChar kReplacement(QChar::ReplacementCharacter);

TEST(Cp932, RoundTripIsByteExact)
{
    const struct {
        QString text;
        std::string_view bytes;
    } cases[] = {
        {"\\", "\x5c"},
        {"~", "\x7e"},
        {QString::fromUtf8("ソ"), "\x83\x5c"},
        {QString::fromUtf8("表"), "\x95\x5c"},
        {QString::fromUtf8("十"), "\x8f\x5c"},
        {QString(QChar(0xFF5E)), "\x81\x60"},  // full-width tilde
        {QString(QChar(0xFF0D)), "\x81\x7c"},  // full-width minus
        {QString(QChar(0x2015)), "\x81\x5c"},  // horizontal bar
        {QString(QChar(0xFFE0)), "\x81\x91"},  // full-width cent
        {QString::fromUtf8("①"), "\x87\x40"},
        {QString(QChar(0xFF71)), "\xb1"},      // half-width katakana a
        {QString(QChar(0xE000)), "\xf0\x40"},  // user-defined area
        {QString::fromUtf8("指定無し"), "\x8e\x77\x92\xe8\x96\xb3\x82\xb5"},
        {QString::fromUtf8("C:\\図面\\a.jww"), "C:\\\x90\x7d\x96\xca\\a.jww"},
        {QString(QChar(0)), "\0"sv},
        {QString(), ""},
    };
    for (const auto& c : cases) {
        const std::string bytes(c.bytes);
        EXPECT_EQ(text::FromCp932(bytes), c.text) << bytes;
        const auto encoded = text::ToCp932(c.text);
        ASSERT_TRUE(encoded.has_value()) << bytes;
        EXPECT_EQ(*encoded, bytes);
        EXPECT_EQ(text::ToCp932Lossy(c.text), bytes);
        EXPECT_EQ(text::Cp932Length(c.text), static_cast<int>(bytes.size()));
    }
}

TEST(Cp932, CharactersWithoutAnExactFormAreRefused)
{
    // No CP932 form at all, or only a one-way substitute that would come back
    // as another character (U+00A5 as a backslash, U+2014 as U+2015).
    const char32_t refused[] = {0x00E9, 0x1F600, 0x00A5, 0x203E, 0x2014, 0x301C,
                                0x2212, 0x00A2,  0x2016, 0x00A0, 0x0080};
    for (char32_t c : refused) {
        const QString one = QString::fromUcs4(&c, 1);
        const auto code = static_cast<unsigned>(c);
        EXPECT_FALSE(text::ToCp932(one).has_value()) << std::hex << code;
        EXPECT_EQ(text::Cp932Length(one), -1) << std::hex << code;
        EXPECT_EQ(text::ToCp932Lossy("a" + one + "b"), "a?b") << std::hex << code;
    }
    const QString loneSurrogate(QChar(0xD800));
    EXPECT_FALSE(text::ToCp932(loneSurrogate).has_value());
    EXPECT_EQ(text::ToCp932Lossy(loneSurrogate + "x"), "?x");
}

TEST(Cp932, LossyKeepsEverythingThatConverts)
{
    const QString mixed = QString::fromUtf8("表é~😀ソ");
    EXPECT_FALSE(text::ToCp932(mixed).has_value());
    EXPECT_EQ(text::ToCp932Lossy(mixed), "\x95\x5c?~?\x83\x5c");
}

TEST(Cp932, DamagedBytesBecomeReplacementCharacters)
{
    const QString hyo = QString::fromUtf8("表");
    EXPECT_EQ(text::FromCp932("\x80"), QString(kReplacement));
    EXPECT_EQ(text::FromCp932("\xff"), QString(kReplacement));
    EXPECT_EQ(text::FromCp932("a\x83"), "a" + QString(kReplacement));
    EXPECT_EQ(text::FromCp932("\x95\x5c\x80\x95\x5c"), hyo + kReplacement + hyo);
    // A lead byte before a byte that cannot follow it spoils only itself.
    EXPECT_EQ(text::FromCp932("\x83\n"), QString(kReplacement) + "\n");
    EXPECT_EQ(text::FromCp932("\x83'"), QString(kReplacement) + "'");
    // An unassigned pair is one damaged character, not two.
    EXPECT_EQ(text::FromCp932("\x85\x40z"), QString(kReplacement) + "z");
    EXPECT_EQ(text::FromCp932("\xfd\x40"), QString(kReplacement) + "@");
}

TEST(Cp932, LongTextRoundTrips)
{
    std::string bytes;
    QString expected;
    for (int i = 0; i < 10000; ++i) {
        bytes += "\x95\\a\xb1";  // 表aｱ
        expected += QString::fromUtf8("表aｱ");
    }
    EXPECT_EQ(text::FromCp932(bytes), expected);
    EXPECT_EQ(text::ToCp932(expected), bytes);
    EXPECT_EQ(text::Cp932Length(expected), 40000);

    // One bad byte in the middle of the run costs that byte alone.
    std::string damaged = bytes;
    damaged[20002] = '\x80';
    QString repaired = expected;
    repaired[15001] = kReplacement;
    EXPECT_EQ(text::FromCp932(damaged), repaired);
}

}  // namespace
