#include "drawings/jwcad_header.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <span>
#include <string>
#include <string_view>

#include "common/temp_folder.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace std::string_literals;
using namespace std::string_view_literals;

namespace {

const std::string kJwc = "jw_cad(c)data.......";
const std::string kJwk = "jw_cad(c)sym........";

// Magic, 20 skipped bytes (non-NUL, with quotes, so a parser reading them shows),
// then the two 32-byte fields padded with NUL.
std::string FixedLayout(const std::string& magic, std::string first, std::string second)
{
    first.resize(32, '\0');
    second.resize(32, '\0');
    const std::string skipped =
        "'skip\"skip\x01"
        "skipskipX";
    return magic + skipped + first + second;
}

std::string JwwLayout(const std::string& text)
{
    std::string out = "JwwData.\xff\x00\x00\x01"s;
    if (text.size() < 255) {
        out += static_cast<char>(text.size());
    } else {
        out += "\xff"s;
        out += static_cast<char>(text.size() & 0xff);
        out += static_cast<char>(text.size() >> 8);
    }
    return out + text;
}

// A declared length with fewer bytes behind it.
std::string JwwLongLength(unsigned length, std::size_t present)
{
    return "JwwData.\0\0\0\0\xff"s + static_cast<char>(length & 0xff) +
           static_cast<char>(length >> 8) + std::string(present, 'a');
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Case {
    const char* name;
    std::string bytes;
    std::string expected;
};

// Each case through the file reader and the buffer parser: both must agree.
void ExpectAll(std::span<const Case> cases)
{
    testing_support::TempFolder folder;
    for (const Case& c : cases) {
        const std::string path = folder.file(c.name);
        WriteFile(path, c.bytes);
        EXPECT_EQ(drawings::ReadJwcadHeader(path), c.expected) << c.name;
        EXPECT_EQ(drawings::ParseJwcadHeader(path, c.bytes), c.expected) << c.name;
        std::filesystem::remove(path);
    }
}

TEST(JwcadHeader, FixedFieldsOfDrawingAndFigureFiles)
{
    const std::string full(32, 'x');
    const Case cases[] = {
        {"drawing.jwc", FixedLayout(kJwc, "ABC", "DEF"), "ABC DEF"},
        {"figure.jwk", FixedLayout(kJwk, "ABC", "DEF"), "ABC DEF"},
        {"empty.jwc", FixedLayout(kJwc, "", ""), " "},
        {"one.jwc", FixedLayout(kJwc, "", "B"), " B"},
        {"full.jwc", FixedLayout(kJwc, full, full), full + " " + full},
        {"quotes.jwc",
         FixedLayout(kJwc, "a'b\"c\td\r\n",
                     "\x1f"
                     "e"),
         "abcd e"},
        // A field ends at its first NUL even when bytes follow.
        {"nul-byte.jwc", FixedLayout(kJwc, "AB\0CD"s, "E"), "AB E"},
        // A lead byte as a field's last byte has no partner inside the field.
        {"lead.jwc", FixedLayout(kJwc, std::string(31, 'y') + "\x82", "\xa0Z"),
         std::string(31, 'y') + " \xa0Z"},
        {"kanji.jwc", FixedLayout(kJwc, "\x90\x7d\x96\xca", "\x81\x27"),
         "\x90\x7d\x96\xca \x81\x27"},
        // Bytes after the header do not matter.
        {"tail.jwc", FixedLayout(kJwc, "A", "B") + std::string(1000, '\xff'), "A B"},
    };
    ExpectAll(cases);
}

TEST(JwcadHeader, LengthPrefixedText)
{
    const std::string s300 = std::string(299, 'a') + "z";
    const std::string s80 = std::string(80, 'a');
    const Case cases[] = {
        {"plan.JWW", JwwLayout("ABCDE"), "ABCDE"},
        {"empty.jww", JwwLayout(""), ""},
        {"short.jww", JwwLayout(std::string(254, 'a')), s80},
        {"long.jww", JwwLayout(s300), s80},
        {"block.jww", JwwLayout(std::string(256, 'a')), s80},
        {"max.jww", JwwLayout(std::string(65535, 'a')), s80},
        // 255 with a small 16-bit length is still the long form.
        {"longform.jww",
         "JwwData.\0\0\0\0\xff\x05\x00"
         "ABCDE"s,
         "ABCDE"},
        // Byte 80 is a lead byte: the character is left out whole.
        {"cut.jww", JwwLayout(std::string(79, 'a') + "\x88\x9f" + "bbb"), std::string(79, 'a')},
        {"cut2.jww", JwwLayout(std::string(78, 'a') + "\x88\x9f" + "bbb"),
         std::string(78, 'a') + "\x88\x9f"},
        // Removal comes before the cut, and a NUL does not end the text.
        {"strip.jww", JwwLayout("''\"\"\r\n" + std::string(100, 'a')), s80},
        {"breaks.jww",
         JwwLayout("line1\r\nline2\0\x07"
                   "end"s),
         "line1line2end"},
        {"bak.jw$", JwwLayout("backup"), "backup"},
    };
    ExpectAll(cases);
}

// The memo in MFC's Unicode form: FF FE FF, the length in UTF-16 units (a byte,
// or FF and 16 bits), then UTF-16LE.
std::string JwwUnicode(const std::u16string& text, std::size_t unitsPresent = std::string::npos)
{
    std::string out = "JwwData.\x20\x03\0\0\xff\xfe\xff"s;
    if (text.size() < 255) {
        out += static_cast<char>(text.size());
    } else {
        out +=
            "\xff"s + static_cast<char>(text.size() & 0xff) + static_cast<char>(text.size() >> 8);
    }
    for (std::size_t i = 0; i < std::min(unitsPresent, text.size()); ++i)
        out += std::string{static_cast<char>(text[i] & 0xff), static_cast<char>(text[i] >> 8)};
    return out;
}

TEST(JwcadHeader, UnicodeMemoIsConvertedToCp932)
{
    const std::u16string a79(79, u'a');
    const Case cases[] = {
        {"plan.jww", JwwUnicode(u"\u56f3\u9762 A-203"), "\x90\x7d\x96\xca A-203"},
        {"empty.jww", JwwUnicode(u""), ""},
        // No CP932 form: an accented letter, a character beyond 16 bits, a lone half.
        {"dropped.jww", JwwUnicode(u"caf\u00e9 \U0001F600!\xd800"), "caf !"},
        {"strip.jww", JwwUnicode(u"it's \"A\"\r\nB\t"), "its AB"},
        // The 80-byte cut never splits a two-byte character.
        {"cut.jww", JwwUnicode(a79 + u"\u56f3bbb"), std::string(79, 'a')},
        {"long.jww", JwwUnicode(std::u16string(300, u'\u56f3')),
         [] {
             std::string s;
             for (int i = 0; i < 40; ++i)
                 s += "\x90\x7d";
             return s;
         }()},
        {"cutfile.jww", JwwUnicode(u"ABCDEFGH", 5), ""},
        {"bak.BK1", JwwUnicode(u"backup"), "backup"},
    };
    ExpectAll(cases);
}

TEST(JwcadHeader, ExtensionChoosesReadersAndMagic)
{
    const std::string jwc = FixedLayout(kJwc, "C", "D");
    const std::string jwk = FixedLayout(kJwk, "K", "L");
    const std::string jww = JwwLayout("W");
    const Case cases[] = {
        {"old.BAK", jww, "W"},
        {"old.bak", jwc, "C D"},
        {"old.BK3", jww, "W"},
        {"old.BK", jww, "W"},
        {"old.bkz", jwc, "C D"},
        {"old2.bak", jwk, ""},
        {"old.BA", jww, ""},
        {"old.BAKK", jww, ""},
        {"x.jwk", jwc, ""},
        {"x.jwc", jwk, ""},
        {"x.jwc", jww, ""},
        {"x.jww", jwc, ""},
        {"case.jwc", FixedLayout("JW_CAD(c)data.......", "C", "D"), ""},
        {"nulmagic.jwc", FixedLayout("jw_cad(c)data......\0"s, "C", "D"), ""},
        {"nulmagic.jww", "JwwData\0\0\0\0\0\x01W"s, ""},
        {"mixed.JwW", jww, "W"},
        {"lower.jw$", jww, "W"},
        {"sym.jws", jww, ""},
        {"a.dxf", jww, ""},
        {"readme", jww, ""},
        {"jww", jww, ""},
        {"two.jww.txt", jww, ""},
        {"dot.", jww, ""},
    };
    ExpectAll(cases);
}

TEST(JwcadHeader, ShortAndTruncatedFiles)
{
    const std::string jwc = FixedLayout(kJwc, "C", "D");
    const std::string jww = JwwLayout("ABCDE");
    const Case cases[] = {
        {"zero.jwc", "", ""},
        {"zero.jwk", "", ""},
        {"zero.jww", "", ""},
        {"zero.bak", "", ""},
        {"ten.jwc", jwc.substr(0, 10), ""},
        {"ten.jww", jww.substr(0, 10), ""},
        {"103.jwc", jwc.substr(0, 103), ""},
        {"103.bak", jwc.substr(0, 103), ""},
        {"magic.jww", jww.substr(0, 8), ""},
        {"nolen.jww", jww.substr(0, 12), ""},
        {"text4.jww", jww.substr(0, 17), ""},
        {"onebyte.jww", "JwwData.\0\0\0\0\xff\x10"s, ""},
        {"past.jww", JwwLongLength(1000, 999), ""},
        {"max.jww", JwwLongLength(65535, 100), ""},
        {"exact.jww", JwwLongLength(1000, 1000), std::string(80, 'a')},
    };
    ExpectAll(cases);
}

TEST(JwcadHeader, ReaderResultsTellSuccessFromEmptyText)
{
    testing_support::TempFolder folder;
    WriteFile(folder.file("a"), JwwLayout(""));
    WriteFile(folder.file("b"), FixedLayout(kJwk, "", ""));
    EXPECT_EQ(drawings::ReadJwwHeader(folder.file("a")).ok, true);
    EXPECT_EQ(drawings::ReadJwwHeader(folder.file("a")).text, "");
    EXPECT_EQ(drawings::ReadJwcHeader(folder.file("a")).ok, false);
    EXPECT_EQ(drawings::ReadJwkHeader(folder.file("b")).ok, true);
    EXPECT_EQ(drawings::ReadJwkHeader(folder.file("b")).text, " ");
    EXPECT_EQ(drawings::ReadJwcHeader(folder.file("b")).ok, false);
    EXPECT_EQ(drawings::ReadJwwHeader(folder.file("missing")).ok, false);
}

TEST(JwcadHeader, SeparatorsBoundTheExtension)
{
    const std::string jww = JwwLayout("W");
    EXPECT_EQ(drawings::ParseJwcadHeader("c:\\dir.x\\file", jww), "");
    EXPECT_EQ(drawings::ParseJwcadHeader("c:\\old.bk\\file", jww), "");
    EXPECT_EQ(drawings::ParseJwcadHeader("/dir.bak/file", jww), "");
    EXPECT_EQ(drawings::ParseJwcadHeader("d:file.jww", jww), "W");
    EXPECT_EQ(drawings::ParseJwcadHeader("\\\\server\\share\\x.JWW", jww), "W");
}

TEST(JwcadHeader, WhatIsNotARegularFileGivesEmptyText)
{
    testing_support::TempFolder folder;
    // A valid drawing inside a folder named like one: only the folder's own name counts.
    std::filesystem::create_directory(folder.file("folder.jww"));
    std::filesystem::create_directory(folder.file("dots.v2"));
    WriteFile(folder.file("folder.jww/inner"), JwwLayout("W"));
    WriteFile(folder.file("dots.v2/plan.jww"), JwwLayout("W"));
    EXPECT_EQ(drawings::ReadJwcadHeader(folder.file("folder.jww")), "");
    EXPECT_EQ(drawings::ReadJwcadHeader(folder.file("folder.jww/inner")), "");
    EXPECT_EQ(drawings::ReadJwcadHeader(folder.file("dots.v2/plan.jww")), "W");
    EXPECT_EQ(drawings::ReadJwcadHeader(folder.file("missing.jww")), "");
    EXPECT_EQ(drawings::ReadJwcadHeader(""), "");
    // The NUL would otherwise cut the path to plan.jww and read it.
    EXPECT_EQ(drawings::ReadJwcadHeader(folder.file("dots.v2/plan.jww") + "\0.jww"s), "");
#ifndef _WIN32
    // Opening a FIFO for reading blocks until a writer comes; it must not.
    const std::string fifo = folder.file("pipe.jww");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto pending = std::async(std::launch::async, [&] { return drawings::ReadJwcadHeader(fifo); });
    if (pending.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        ADD_FAILURE() << "reading a FIFO blocked";
        ::close(::open(fifo.c_str(), O_WRONLY));  // a writer releases the stuck reader
    }
    EXPECT_EQ(pending.get(), "");
#endif
}

#ifndef _WIN32
TEST(JwcadHeader, UnreadableFileGivesEmptyText)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their mode";
    testing_support::TempFolder folder;
    WriteFile(folder.file("locked.jww"), JwwLayout("W"));
    std::filesystem::permissions(folder.file("locked.jww"), std::filesystem::perms::none);
    EXPECT_EQ(drawings::ReadJwcadHeader(folder.file("locked.jww")), "");
}
#endif

// Records how much the parser asks for at once, to show that a declared length is
// never allocated or requested ahead of the bytes.
class CountingSource : public drawings::HeaderSource {
public:
    explicit CountingSource(std::string_view bytes) : inner_(bytes) {}
    bool Read(char* out, std::size_t count) override
    {
        largest = std::max(largest, count);
        requested += count;
        return inner_.Read(out, count);
    }
    std::size_t largest = 0;
    std::size_t requested = 0;

private:
    drawings::BufferSource inner_;
};

TEST(JwcadHeader, ReadsOnlyTheHeaderInBoundedSteps)
{
    const std::string pastBytes = JwwLongLength(65535, 300);
    CountingSource past(pastBytes);
    EXPECT_FALSE(drawings::ParseJwwHeader(past).ok);
    EXPECT_LE(past.largest, 256u);
    EXPECT_LE(past.requested, 15u + 300u + 256u);

    const std::string jwcBytes = FixedLayout(kJwc, "A", "B") + std::string(4096, 'x');
    CountingSource jwc(jwcBytes);
    EXPECT_TRUE(drawings::ParseJwcHeader(jwc).ok);
    EXPECT_EQ(jwc.requested, 104u);

    const std::string jwwBytes = JwwLayout("ABCDE") + std::string(4096, 'x');
    CountingSource jww(jwwBytes);
    EXPECT_TRUE(drawings::ParseJwwHeader(jww).ok);
    EXPECT_EQ(jww.requested, 18u);
}

}  // namespace
