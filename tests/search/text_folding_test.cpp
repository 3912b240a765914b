#include "search/text_folding.h"

#include <gtest/gtest.h>

#include <array>

#include "search_fixture.h"

using search::TextQuery;
using testing_support::Sjis;

namespace {

bool Finds(const std::string& typed, const std::string& stored)
{
    const std::array<std::string_view, 1> texts{stored};
    return TextQuery(typed).MatchesAny(texts);
}

}  // namespace

TEST(TextFolding, WidthAndLetterCaseDoNotMatter)
{
    EXPECT_TRUE(Finds(Sjis("Ａ－１０１"), "A-101"));
    EXPECT_TRUE(Finds("a-101", Sjis("図番Ａ－１０１の２")));
    EXPECT_TRUE(Finds(Sjis("ｽﾞﾒﾝ"), Sjis("ズメン")));  // half-width kana with its sound mark
    EXPECT_TRUE(Finds(Sjis("パス"), Sjis("ﾊﾟｽ名")));
    EXPECT_TRUE(Finds("(C)", Sjis("（ｃ）")));
    EXPECT_FALSE(Finds("A-102", "A-101"));
    // Hiragana and katakana stay apart: only widths fold.
    EXPECT_FALSE(Finds(Sjis("ずめん"), Sjis("ズメン")));
}

TEST(TextFolding, AMatchNeverStartsOnTheSecondByteOfACharacter)
{
    // 表 is 0x95 0x5C, ア is 0x83 0x41 ("A"), ソ is 0x83 0x5C.
    EXPECT_FALSE(Finds("\\", Sjis("表")));
    EXPECT_FALSE(Finds("a", Sjis("アソ")));
    EXPECT_FALSE(Finds(Sjis("＼"), Sjis("ソ")));
    EXPECT_TRUE(Finds("\\", Sjis("表") + "\\"));
    EXPECT_TRUE(Finds("a", Sjis("ア") + "A"));
    // A stored text cut in the middle of a character, as another program may leave it.
    EXPECT_FALSE(Finds("\x95", "\x95\x5C"));
    EXPECT_TRUE(Finds("x", "x\x95"));
}

TEST(TextFolding, EveryWordMustMatchAndSymbolsAreLiteral)
{
    const std::string stored = "50%_A:B'C \"D\" 10\\20";
    EXPECT_TRUE(Finds("%_a b'c", stored));
    EXPECT_TRUE(Finds(Sjis("\"ｄ\"　10\\"), stored));  // a full-width blank separates too
    EXPECT_FALSE(Finds("%_a zzz", stored));
    EXPECT_FALSE(Finds("%x", stored));
    EXPECT_TRUE(TextQuery("   ").empty());
    EXPECT_TRUE(Finds("", "anything"));
}
