#include "storage/settings.h"

#include "common/temp_folder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using storage::Settings;
using testing_support::TempFolder;

const std::string kExeFolder = "/opt/k5x7/";

// The file's line order, written out independently of the code under test.
std::vector<std::string> AsLines(const Settings& s)
{
    const auto n = [](int v) { return std::to_string(v); };
    std::vector<std::string> lines = {
        s.DbServer,      s.DbFolder,      s.DbName,         n(s.PcUserNo),     s.PcUserName,
        n(s.Form1.left), n(s.Form1.top),  n(s.Form1.width), n(s.Form1.height), n(s.Form2.left),
        n(s.Form2.top),  n(s.Form3.left), n(s.Form3.top),   n(s.Form4.left),   n(s.Form4.top),
        n(s.Form5.left), n(s.Form5.top),  n(s.Form6.left),  n(s.Form6.top),    n(s.ListWidth),
        n(s.ListHeight)};
    for (int w : s.ListColWidths) {
        lines.push_back(n(w));
    }
    for (const std::string& v :
         {n(s.ListPanelHeight), n(s.ChartWidth), n(s.ChartHeight), n(s.ChartPanelHeight),
          s.ChartStartDate, s.ChartEndDate, n(s.ChartFilter), n(s.DetailWidth), n(s.DetailHeight),
          n(s.DetailTreeWidth), s.LastDrawingFolder}) {
        lines.push_back(v);
    }
    for (int w : s.DetailColWidths) {
        lines.push_back(n(w));
    }
    for (int v : {s.Form11.left, s.Form11.top, s.Form12.left, s.Form12.top}) {
        lines.push_back(n(v));
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines, const std::string& end)
{
    std::string out;
    for (const std::string& line : lines) {
        out += line + end;
    }
    return out;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> FolderEntries(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Every value away from its default, so a reset or a read that touches it shows.
Settings Unusual()
{
    Settings s;
    s.DbServer = "10.0.0.9:";
    s.DbFolder = "D:\\\x83\x5C\x83\x74\x83\x67\\";  // a trail byte of 0x5C, like a backslash
    s.DbName = "X.FDB";
    s.PcUserNo = 77;
    s.PcUserName = "\x8E\x52\x93\x63";
    s.Form1 = {-5, 0, 1024, 768};
    s.Form2 = {1, 2};
    s.Form3 = {3, 4};
    s.Form4 = {5, 6};
    s.Form5 = {7, 8};
    s.Form6 = {9, 10};
    s.ListWidth = 801;
    s.ListHeight = 602;
    s.ListColWidths = {40, 41, 42, 43, 44, 45};
    s.ListPanelHeight = 11;
    s.ChartWidth = 803;
    s.ChartHeight = 604;
    s.ChartPanelHeight = 12;
    s.ChartStartDate = "20100101";
    s.ChartEndDate = "20101231";
    s.ChartFilter = 2;
    s.DetailWidth = -3;
    s.DetailHeight = 0;
    s.DetailTreeWidth = 150;
    s.LastDrawingFolder = std::string("C:\\\x95\x5C\0x\\", 7);  // an embedded NUL stays too
    for (int i = 0; i < 13; ++i) {
        s.DetailColWidths[i] = 100 + i;
    }
    s.Form11 = {11, 12};
    s.Form12 = {13, 14};
    return s;
}

// What a read gives when nothing could be read: defaults around the placements it had.
std::vector<std::string> DefaultLinesAround(const Settings& before)
{
    Settings expected;
    expected.Form1 = before.Form1;
    expected.Form2 = before.Form2;
    expected.Form3 = before.Form3;
    expected.Form4 = before.Form4;
    expected.Form5 = before.Form5;
    expected.Form6 = before.Form6;
    expected.Form11 = before.Form11;
    expected.Form12 = before.Form12;
    expected.LastDrawingFolder = kExeFolder;
    return AsLines(expected);
}

Settings ReadContent(const TempFolder& folder, const std::string& content)
{
    const std::string path = folder.file("k5x7.dat");
    WriteBytes(path, content);
    Settings s = Unusual();
    storage::ReadSettings(path, kExeFolder, s);
    return s;
}

// 55 valid lines that no clamp touches, to be edited line by line (index = line - 1).
std::vector<std::string> ValidLines()
{
    return AsLines(Unusual());
}

#ifndef _WIN32
// Runs in a child process, a fresh run of the test with a folder of its own, which
// it removes as it leaves: exits 0 when the write reported failure.
[[noreturn]] void WriteUnderSizeLimit(const TempFolder& folder, const Settings& s, rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool written = storage::WriteSettings(folder.file("k5x7.dat"), s);
    std::filesystem::remove_all(folder.path());
    std::_Exit(written ? 1 : 0);
}
#endif

TEST(SettingsRead, NoFileGivesDefaultsAndLeavesPlacements)
{
    TempFolder folder;
    Settings s = Unusual();
    const Settings before = s;
    storage::ReadSettings(folder.file("missing.dat"), kExeFolder, s);

    EXPECT_EQ(s.DbServer, "localhost:");
    EXPECT_EQ(s.DbFolder, "");
    EXPECT_EQ(s.DbName, "ZUMENDB.FDB");
    EXPECT_EQ(s.PcUserNo, 0);
    EXPECT_EQ(s.LastDrawingFolder, kExeFolder);
    EXPECT_EQ(s.ListWidth, 320);
    EXPECT_EQ(s.DetailTreeWidth, 100);
    EXPECT_EQ(s.DetailColWidths[12], 64);
    EXPECT_EQ(AsLines(s), DefaultLinesAround(before));
}

TEST(SettingsRead, DirectoryOrUnreadablePathGivesDefaults)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.file("k5x7.dat"));
    Settings s = Unusual();
    const Settings before = s;
    storage::ReadSettings(folder.file("k5x7.dat"), kExeFolder, s);
    EXPECT_EQ(AsLines(s), DefaultLinesAround(before));

    s = Unusual();
    storage::ReadSettings(folder.file("no/such/folder/k5x7.dat"), kExeFolder, s);
    EXPECT_EQ(AsLines(s), DefaultLinesAround(before));
}

TEST(SettingsRead, EveryLineLandsInItsSetting)
{
    TempFolder folder;
    const std::vector<std::string> lines = ValidLines();
    const Settings s = ReadContent(folder, Join(lines, "\r\n"));
    EXPECT_EQ(AsLines(s), lines);
    EXPECT_EQ(s.Form1.width, 1024);
    EXPECT_EQ(s.LastDrawingFolder.size(), 7u);
}

TEST(SettingsRead, LineEndsOtherThanCrLf)
{
    TempFolder folder;
    const std::vector<std::string> lines = ValidLines();

    // LF alone, and a last line with no end at all.
    std::string content = Join(lines, "\n");
    content.pop_back();
    EXPECT_EQ(AsLines(ReadContent(folder, content)), lines);

    // Only one CR belongs to the line end; another stays in the text.
    std::vector<std::string> edited = lines;
    edited[0] = "srv:\r";
    Settings s = ReadContent(folder, Join(edited, "\r\n"));
    EXPECT_EQ(s.DbServer, "srv:\r");

    // Lines past the 55th are not read.
    std::vector<std::string> longer = lines;
    longer.insert(longer.end(), 10, "999");
    EXPECT_EQ(AsLines(ReadContent(folder, Join(longer, "\r\n"))), lines);
}

TEST(SettingsRead, ClampsReplaceValuesBelowTheirMinimum)
{
    TempFolder folder;
    std::vector<std::string> lines = ValidLines();
    lines[19] = "50";  // ListWidth
    lines[20] = "79";  // ListHeight
    lines[21] = "5";   // ListColWidths
    lines[22] = "31";
    lines[23] = "-7";
    lines[24] = "32";
    lines[25] = "33";
    lines[26] = "0";
    lines[27] = "9";    // ListPanelHeight
    lines[28] = "79";   // ChartWidth
    lines[29] = "-80";  // ChartHeight
    lines[30] = "10";   // ChartPanelHeight
    lines[34] = "-5";   // DetailWidth, DetailHeight, DetailTreeWidth: unclamped
    lines[35] = "0";
    lines[36] = "-1";
    lines[38] = "0";  // DetailColWidths
    lines[39] = "15";
    lines[40] = "16";
    lines[41] = "-100";
    lines[50] = "17";
    lines[5] = "-32000";  // placements: unclamped
    lines[8] = "0";

    const Settings s = ReadContent(folder, Join(lines, "\r\n"));
    EXPECT_EQ(s.ListWidth, 80);
    EXPECT_EQ(s.ListHeight, 80);
    EXPECT_EQ(s.ListColWidths, (std::array<int, 6>{32, 32, 32, 32, 33, 32}));
    EXPECT_EQ(s.ListPanelHeight, 10);
    EXPECT_EQ(s.ChartWidth, 80);
    EXPECT_EQ(s.ChartHeight, 80);
    EXPECT_EQ(s.ChartPanelHeight, 10);
    EXPECT_EQ(s.DetailWidth, -5);
    EXPECT_EQ(s.DetailHeight, 0);
    EXPECT_EQ(s.DetailTreeWidth, -1);
    EXPECT_EQ(s.DetailColWidths,
              (std::array<int, 13>{16, 16, 16, 16, 104, 105, 106, 107, 108, 109, 110, 111, 17}));
    EXPECT_EQ(s.Form1.left, -32000);
    EXPECT_EQ(s.Form1.height, 0);
}

TEST(SettingsRead, ChartFilterOutsideItsThreeItemsBecomesZero)
{
    TempFolder folder;
    const std::vector<std::pair<std::string, int>> cases = {
        {"0", 0}, {"1", 1}, {"2", 2}, {"3", 0}, {"-1", 0}, {"2147483647", 0}, {"x", 0}};
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        std::vector<std::string> lines = ValidLines();
        lines[33] = line;
        EXPECT_EQ(ReadContent(folder, Join(lines, "\r\n")).ChartFilter, expected);
    }
}

TEST(SettingsRead, NonNumericLinesReadAsZeroThenClamp)
{
    TempFolder folder;
    std::vector<std::string> lines = ValidLines();
    lines[3] = "12 ";        // PcUserNo
    lines[19] = "abc";       // ListWidth
    lines[21] = "";          // ListColWidths[0]
    lines[27] = "1 2";       // ListPanelHeight
    lines[34] = "12 ";       // DetailWidth
    lines[38] = "\x82\x50";  // a full-width digit is no digit
    lines[52] = "  -7";      // leading blanks are allowed

    const Settings s = ReadContent(folder, Join(lines, "\r\n"));
    EXPECT_EQ(s.PcUserNo, 0);
    EXPECT_EQ(s.ListWidth, 80);
    EXPECT_EQ(s.ListColWidths[0], 32);
    EXPECT_EQ(s.ListPanelHeight, 10);
    EXPECT_EQ(s.DetailWidth, 0);
    EXPECT_EQ(s.DetailColWidths[0], 16);
    EXPECT_EQ(s.Form11.top, -7);
}

TEST(SettingsRead, MissingLinesReadAsEmpty)
{
    TempFolder folder;
    Settings s = ReadContent(folder, "srv:\r\n/db/\r\nA.FDB\r\n12");
    EXPECT_EQ(s.DbServer, "srv:");
    EXPECT_EQ(s.DbFolder, "/db/");
    EXPECT_EQ(s.DbName, "A.FDB");
    EXPECT_EQ(s.PcUserNo, 12);
    EXPECT_EQ(s.PcUserName, "");
    EXPECT_EQ(s.Form1.left, 0);
    EXPECT_EQ(s.Form1.width, 0);
    EXPECT_EQ(s.Form12.top, 0);
    EXPECT_EQ(s.ListWidth, 80);
    EXPECT_EQ(s.ListColWidths[5], 32);
    EXPECT_EQ(s.ChartPanelHeight, 10);
    EXPECT_EQ(s.DetailWidth, 0);
    EXPECT_EQ(s.LastDrawingFolder, "");  // an empty line, not the default
    EXPECT_EQ(s.DetailColWidths[12], 16);

    // An empty file is a file: every line empty, nothing from the defaults.
    s = ReadContent(folder, "");
    EXPECT_EQ(s.DbServer, "");
    EXPECT_EQ(s.DbName, "");
    EXPECT_EQ(s.Form6.left, 0);
    EXPECT_EQ(s.ListHeight, 80);
}

TEST(SettingsRead, HostileContentReadsWithoutHarm)
{
    TempFolder folder;
    std::vector<std::string> lines = ValidLines();
    lines[0] = std::string(100 * 1024, 'x');
    lines[19] = std::string(100 * 1024, '9');
    lines[4] = std::string("\0\x81\xFF\x80", 4);  // NUL and bytes that are no CP932
    Settings s = ReadContent(folder, Join(lines, "\r\n"));
    EXPECT_EQ(s.DbServer, lines[0]);
    EXPECT_EQ(s.PcUserName, lines[4]);
    EXPECT_EQ(s.ListWidth, 80);
    EXPECT_EQ(s.DbName, lines[2]);

    // An endless line keeps its first mebibyte and the lines after it still count.
    lines[0] = std::string(3 << 20, 'y');
    s = ReadContent(folder, Join(lines, "\r\n"));
    EXPECT_EQ(s.DbServer.size(), size_t(1) << 20);
    EXPECT_EQ(s.DbName, lines[2]);

    std::mt19937 random(20240601);
    for (int round = 0; round < 100; ++round) {
        std::string garbage(random() % 4096, '\0');
        for (char& c : garbage) {
            c = static_cast<char>(random() % 256);
        }
        s = ReadContent(folder, garbage);
        EXPECT_GE(s.ListWidth, 80);
        EXPECT_GE(s.ChartHeight, 80);
        EXPECT_GE(s.ListColWidths[5], 32);
        EXPECT_GE(s.DetailColWidths[12], 16);
        EXPECT_GE(s.ChartFilter, 0);
        EXPECT_LE(s.ChartFilter, 2);
    }
}

TEST(SettingsWrite, WritesFiftyFiveCrLfLinesInOrder)
{
    TempFolder folder;
    const std::string path = folder.file("k5x7.dat");
    const Settings s = Unusual();
    ASSERT_TRUE(storage::WriteSettings(path, s));

    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes, Join(AsLines(s), "\r\n"));
    EXPECT_TRUE(
        bytes.starts_with("10.0.0.9:\r\nD:\\\x83\x5C\x83\x74\x83\x67\\\r\nX.FDB\r\n77\r\n"));
    EXPECT_TRUE(bytes.ends_with("\r\n11\r\n12\r\n13\r\n14\r\n"));
    EXPECT_EQ(std::ranges::count(bytes, '\n'), 55);
    EXPECT_EQ(std::ranges::count(bytes, '\r'), 55);

    // Defaults, negatives and zero in plain decimal.
    Settings plain;
    plain.PcUserNo = -5;
    plain.DetailHeight = 0;
    ASSERT_TRUE(storage::WriteSettings(path, plain));
    EXPECT_TRUE(ReadBytes(path).starts_with("localhost:\r\n\r\nZUMENDB.FDB\r\n-5\r\n\r\n192\r\n"));
    EXPECT_NE(ReadBytes(path).find("\r\n320\r\n0\r\n100\r\n\r\n64\r\n"), std::string::npos);
}

TEST(SettingsWrite, ReadsBackUnchanged)
{
    TempFolder folder;
    const std::string path = folder.file("k5x7.dat");
    const Settings written = Unusual();
    ASSERT_TRUE(storage::WriteSettings(path, written));

    Settings read;
    storage::ReadSettings(path, kExeFolder, read);
    EXPECT_EQ(AsLines(read), AsLines(written));
}

TEST(SettingsWrite, ReplacesALongerFileWhole)
{
    TempFolder folder;
    const std::string path = folder.file("k5x7.dat");
    WriteBytes(path, std::string(20000, 'z'));
    ASSERT_TRUE(storage::WriteSettings(path, Settings{}));
    EXPECT_EQ(ReadBytes(path), Join(AsLines(Settings{}), "\r\n"));
    EXPECT_EQ(FolderEntries(folder.path()), std::set<std::string>{"k5x7.dat"});
}

TEST(SettingsWrite, LineBreaksInsideATextCannotShiftLines)
{
    TempFolder folder;
    const std::string path = folder.file("k5x7.dat");
    Settings s = Unusual();
    s.LastDrawingFolder = "/home/a\nb/\r";
    ASSERT_TRUE(storage::WriteSettings(path, s));

    Settings read;
    storage::ReadSettings(path, kExeFolder, read);
    EXPECT_EQ(read.LastDrawingFolder, "/home/ab/");
    EXPECT_EQ(read.DetailColWidths[0], 100);
    EXPECT_EQ(read.Form12.top, 14);
}

// A file size limit is how POSIX makes a write fail for root too.
#ifndef _WIN32
TEST(SettingsWrite, FailedWriteLeavesThePreviousFile)
{
    TempFolder folder;
    const std::string path = folder.file("k5x7.dat");
    const std::string previous = Join(AsLines(Unusual()), "\r\n");
    WriteBytes(path, previous);

    // A file size limit stops writes even for root; the child reports the result. The
    // child is a fresh run of this binary, as other tests may have started threads.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Both a write held in a buffer and one large enough to go straight to the disk.
    for (std::size_t length : {std::size_t{4096}, std::size_t{200 * 1024}}) {
        SCOPED_TRACE(length);
        Settings big;
        big.DbFolder = std::string(length, 'f');
        EXPECT_EXIT(WriteUnderSizeLimit(folder, big, 512), testing::ExitedWithCode(0), "");
        EXPECT_EQ(ReadBytes(path), previous);
        EXPECT_EQ(FolderEntries(folder.path()), std::set<std::string>{"k5x7.dat"});
    }
}
#endif

TEST(SettingsWrite, UnwritablePlacesReportFailure)
{
    TempFolder folder;
    EXPECT_FALSE(storage::WriteSettings(folder.file("no/such/k5x7.dat"), Settings{}));
    EXPECT_TRUE(FolderEntries(folder.path()).empty());

    // A directory where the file should be is left alone, with nothing beside it.
    std::filesystem::create_directory(folder.file("k5x7.dat"));
    WriteBytes(folder.file("k5x7.dat/inner"), "keep");
    EXPECT_FALSE(storage::WriteSettings(folder.file("k5x7.dat"), Settings{}));
    EXPECT_EQ(FolderEntries(folder.path()), std::set<std::string>{"k5x7.dat"});
    EXPECT_EQ(ReadBytes(folder.file("k5x7.dat/inner")), "keep");
}

TEST(SettingsPath, DatabasePathJoinsTheThreeParts)
{
    Settings s;
    EXPECT_EQ(storage::DatabasePath(s), "localhost:ZUMENDB.FDB");
    s.DbServer = "192.168.1.5:";
    s.DbFolder = "C:\\\x90\x7D\x96\xCA\\";
    s.DbName = "A.FDB";
    EXPECT_EQ(storage::DatabasePath(s), "192.168.1.5:C:\\\x90\x7D\x96\xCA\\A.FDB");
}

}  // namespace
