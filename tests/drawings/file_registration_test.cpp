#include "drawings/file_registration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <QDateTime>
#include <QDir>
#include <QFile>

#include "drawings/detail_texts.h"
#include "project_fixture.h"
#include "storage/schema.h"
#include "text/cp932.h"

using drawings::FileEntry;
using drawings::FileRegistration;
using drawings::ProjectDetailLogic;
using drawings::Refusal;
using drawings::RegisteredFile;
using drawings::RegistrationOutcome;
using storage::Row;
using testing_support::kHyou;
using testing_support::kKouzou;

namespace {

constexpr int kPcUser = 3;

// Drawing-table columns looked at below.
enum { kFileName = 1, kPathName = 2, kMemo1 = 6, kMn = 9, kDdate = 10, kUdate = 11 };

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

// A drawing file whose header holds `memo` as its text.
std::string JwwHeader(const std::string& memo)
{
    return "JwwData." + Bytes({1, 0, 0, 0, static_cast<int>(memo.size())}) + memo;
}

// The same in MFC's Unicode form, as newer drawing programs write it.
std::string JwwUnicodeHeader(const std::u16string& memo)
{
    std::string bytes =
        "JwwData." + Bytes({0x20, 3, 0, 0, 0xff, 0xfe, 0xff}) + static_cast<char>(memo.size());
    for (char16_t unit : memo)
        bytes += Bytes({unit & 0xff, unit >> 8});
    return bytes;
}

std::string JwcHeader(const std::string& first, const std::string& second)
{
    std::string bytes = "jw_cad(c)data......." + std::string(20, 'x');
    auto field = [](const std::string& text) { return text + std::string(32 - text.size(), '\0'); };
    return bytes + field(first) + field(second);
}

QString Utf(const std::string& cp932)
{
    return text::FromCp932(cp932);
}

void SetModified(const QString& path, std::int64_t secondsSinceEpoch)
{
    struct utimbuf times {
        static_cast<time_t>(secondsSinceEpoch), static_cast<time_t>(secondsSinceEpoch)
    };
    ASSERT_EQ(utime(QFile::encodeName(path).constData(), &times), 0) << path.toStdString();
}

std::string Today()
{
    return QDate::currentDate().toString("yyyyMMdd").toStdString();
}

class FileRegistrationTest : public testing_support::ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        ProjectDetailLogic(db, kProject).Open();
        ASSERT_TRUE(
            db.InsertRow("ZPRJ_7", {"N", "NAME", "MN", "PARENT_N"}, {"1", "'Group'", "0", "0"}));
        ASSERT_TRUE(db.InsertRow("ZMN_7", {"N"}, {"1"}));
        files = QString::fromStdString(folder.path()) + "files/";
        ASSERT_TRUE(QDir().mkpath(files));
    }

    // A file under the files folder; `name` is a QString path relative to it.
    QString write(const QString& name, const std::string& bytes = "data")
    {
        const QString path = files + name;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }

    RegistrationOutcome registerFiles(const QStringList& paths, int parent = 1,
                                      std::function<bool(int)> keepGoing = {})
    {
        stored.clear();
        return registration.RegisterFiles(parent, paths, keepGoing,
                                          [this](const RegisteredFile& f) { stored.push_back(f); });
    }

    Row drawing(int n)
    {
        Row row(storage::kDrawingColumns);
        db.SelectColumns("*", "ZMN_7", "N=" + std::to_string(n), row);
        return row;
    }

    // Whether the column of node n holds SQL NULL (an empty text reads the same).
    bool isNull(int n, const char* column)
    {
        return db.SelectAllWhere("ZMN_7",
                                 "N=" + std::to_string(n) + " AND " + column + " IS NULL") == 1;
    }

    // Stored as the system names it: backslashes on Windows.
    std::string folderBytes() const
    {
        return text::ToCp932(QDir::toNativeSeparators(files)).value();
    }

    QString files;
    drawings::ProjectTables tables{kProject};
    FileRegistration registration{db, tables, kPcUser};
    std::vector<RegisteredFile> stored;
};

}  // namespace

TEST_F(FileRegistrationTest, FilesBecomeConsecutiveChildrenInTheChosenOrder)
{
    const QStringList paths{write("b.jww", JwwHeader("Plan B")), write("a.txt", "no header"),
                            write("c.JWC", JwcHeader("ABC", "DEF"))};
    const RegistrationOutcome outcome = registerFiles(paths);

    EXPECT_EQ(outcome.registered, 3);
    EXPECT_FALSE(outcome.stopped);
    EXPECT_FALSE(outcome.failed);
    EXPECT_TRUE(outcome.message.isEmpty());
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].number, 2);
    EXPECT_EQ(stored[0].itemText, "b.jww :2");
    EXPECT_EQ(stored[1].itemText, "a.txt :3");
    EXPECT_EQ(stored[2].itemText, "c.JWC :4");

    const std::vector<Row> tree = rows("ZPRJ_7", 4, "N>1");
    ASSERT_EQ(tree.size(), 3u);
    EXPECT_EQ(tree[0], (Row{"2", "b.jww", "3", "1"}));
    EXPECT_EQ(tree[1], (Row{"3", "a.txt", "3", "1"}));
    EXPECT_EQ(tree[2], (Row{"4", "c.JWC", "3", "1"}));

    const Row b = drawing(2);
    EXPECT_EQ(b[kFileName], "b.jww");
    EXPECT_EQ(b[kPathName], folderBytes());  // the folder, with its separator
    EXPECT_EQ(b[kMemo1], "Plan B");
    EXPECT_EQ(b[kMn], "3");
    EXPECT_EQ(drawing(4)[kMemo1], "ABC DEF");
    EXPECT_TRUE(isNull(3, "MEMO1"));  // no header: NULL, not an empty text

    // No drawing number, titles, other memos or stamps; members of stamps 0.
    for (int n : {2, 3, 4}) {
        for (const char* column :
             {"ZUMENN", "MTITLE", "STITLE", "MEMO2", "MEMO3", "KDATE", "ADATE", "PDATE", "RDATE"})
            EXPECT_TRUE(isNull(n, column)) << n << " " << column;
        EXPECT_EQ(db.SelectAllWhere(
                      "ZMN_7", "N=" + std::to_string(n) + " AND KN=0 AND AN=0 AND PN=0 AND RN=0"),
                  1);
    }

    // A second registration goes on from the largest number.
    registerFiles({write("d.jww")}, 0);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].number, 5);
    EXPECT_EQ(rows("ZPRJ_7", 4, "N=5").at(0).at(3), "0");
}

TEST_F(FileRegistrationTest, AUnicodeMemoIsStoredAsCp932)
{
    registerFiles({write("new.jww", JwwUnicodeHeader(u"\u56f3\u9762 'A' \U0001F600")),
                   write("emoji.jww", JwwUnicodeHeader(u"\U0001F600"))});
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(drawing(2)[kMemo1], "\x90\x7d\x96\xca A ");
    EXPECT_TRUE(isNull(3, "MEMO1"));  // nothing with a CP932 form is left
}

TEST_F(FileRegistrationTest, NodeNamesAreCutTo32WholeCharactersWhileFileNamesStayWhole)
{
    const std::string ascii40(36, 'n');
    const std::string split = std::string(31, 's') + kHyou + ".jww";  // 表 at bytes 32-33
    const std::string kanji = kKouzou + kKouzou + std::string(26, 'k') + kHyou + ".jww";
    const QStringList paths{write(QString::fromStdString(ascii40) + ".jww"), write(Utf(split)),
                            write(Utf(kanji))};
    ASSERT_EQ(registerFiles(paths).registered, 3);

    const std::vector<Row> tree = rows("ZPRJ_7", 4, "N>1");
    ASSERT_EQ(tree.size(), 3u);
    EXPECT_EQ(tree[0][1], ascii40.substr(0, 32));
    EXPECT_EQ(tree[1][1], std::string(31, 's'));  // 表 would cross the limit
    EXPECT_EQ(tree[2][1], kanji.substr(0, 32));   // 構 (0x8D 0x5C) kept whole
    EXPECT_EQ(stored[1].itemText, std::string(31, 's') + " :3");

    EXPECT_EQ(drawing(2)[kFileName], ascii40 + ".jww");
    EXPECT_EQ(drawing(3)[kFileName], split);
    EXPECT_EQ(drawing(4)[kFileName], kanji);
}

TEST_F(FileRegistrationTest, DatesAreTheFilesOwnInLocalTimeAndUnreadableOnesStayEmpty)
{
    const QString old = write("old.jww");
    SetModified(old, 1577809800);  // 2019-12-31 16:30 UTC, 2020-01-01 in Tokyo
    const QString ancient = write("ancient.jww");
    SetModified(ancient, -5364662400);  // 1800: no valid date string
    const QString future = write("future.jww");
    SetModified(future, 253402300800);  // year 10000: more than eight digits
    const QString gone = files + "gone.jww";

    ASSERT_EQ(registerFiles({old, gone, ancient, future}).registered, 4);
    const Row first = drawing(2);
    EXPECT_EQ(first[kUdate], "20200101");
#ifndef _WIN32
    // Wine reports a Linux file's creation time as its write time, and cannot
    // set the times of the other two.
    EXPECT_EQ(first[kDdate], Today());  // made just now, whatever its write time says
#endif

    // A file that cannot be found keeps no dates, not those of the file before.
    EXPECT_TRUE(isNull(3, "DDATE"));
    EXPECT_TRUE(isNull(3, "UDATE"));
    EXPECT_TRUE(isNull(3, "MEMO1"));
    EXPECT_EQ(rows("ZPRJ_7", 4, "N=3").at(0).at(1), "gone.jww");

#ifndef _WIN32
    EXPECT_TRUE(isNull(4, "UDATE"));
    EXPECT_TRUE(isNull(5, "UDATE"));
    EXPECT_EQ(drawing(5)[kDdate], Today());
#endif
}

TEST_F(FileRegistrationTest, QuotesAndColonsInNamesAreStoredExactly)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows file names cannot hold \" or :";
#endif
    const QString quoted = write("it's/o'neil\"s.jww", JwwHeader("memo"));
    const QString colon = write("x :99.jww");
    ASSERT_EQ(registerFiles({quoted, colon}).registered, 2);

    const Row first = drawing(2);
    EXPECT_EQ(first[kFileName], "o'neil\"s.jww");
    EXPECT_EQ(first[kPathName], folderBytes() + "it's/");
    EXPECT_EQ(first[kMemo1], "memo");
    EXPECT_EQ(rows("ZPRJ_7", 4, "N=2").at(0).at(1), "o'neil\"s.jww");

    // The name may not hold the item's separator, or the number read back
    // from the item would be 99; the file name keeps its colon.
    EXPECT_EQ(stored[1].itemText, "x _99.jww :3");
    EXPECT_EQ(drawing(3)[kFileName], "x :99.jww");
}

TEST_F(FileRegistrationTest, NamesThatCannotBeStoredAreRefusedAndTheOthersRegistered)
{
    const QString emoji = write(QString::fromUtf8("plan\xF0\x9F\x98\x80.jww"));
    const QString accented = write(QString::fromUtf8("caf\xC3\xA9/a.jww"));
    const QString deep = write(QString(130, 'd') + "/" + QString(130, 'e') + "/f.jww");
    const QString fine = write("fine.jww");
    const RegistrationOutcome outcome = registerFiles({emoji, fine, accented, deep});

    EXPECT_EQ(outcome.registered, 1);
    ASSERT_EQ(outcome.refused.size(), 3u);
    EXPECT_EQ(outcome.refused[0].refusal, Refusal::UnstorableName);
    EXPECT_EQ(outcome.refused[1].refusal, Refusal::UnstorableName);
    EXPECT_EQ(outcome.refused[2].refusal, Refusal::TooLong);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].itemText, "fine.jww :2");
    EXPECT_EQ(rows("ZPRJ_7", 4, "N>1").size(), 1u);

    const QStringList lines = outcome.message.split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QString::fromUtf8(drawings::detail_texts::kRefusedFiles));
    EXPECT_EQ(lines[1], emoji + QString::fromUtf8(drawings::detail_texts::kUnstorableName));
    EXPECT_EQ(lines[3], deep + QString::fromUtf8(drawings::detail_texts::kTooLongName));

    // Many refusals: the first ten are named.
    QStringList many;
    for (int i = 0; i < 12; ++i)
        many << files + QString::fromUtf8("\xF0\x9F\x98\x80%1").arg(i);
    EXPECT_EQ(registerFiles(many).message.split('\n').size(), 12);
}

TEST_F(FileRegistrationTest, StoppingKeepsTheFilesStoredBeforeIt)
{
    QStringList paths;
    for (int i = 0; i < 5; ++i)
        paths << write(QStringLiteral("f%1.jww").arg(i));
    std::vector<int> asked;
    const RegistrationOutcome outcome = registerFiles(paths, 1, [&](int done) {
        asked.push_back(done);
        return done < 2;
    });
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(outcome.registered, 2);
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(stored.size(), 2u);
    EXPECT_EQ(rows("ZPRJ_7", 4, "N>1").size(), 2u);
    EXPECT_EQ(rows("ZMN_7", 20, "N>1").size(), 2u);
}

TEST_F(FileRegistrationTest, ANumberTakenMeanwhileByAnotherPcIsPassedOver)
{
    const QStringList paths{write("a.jww"), write("b.jww"), write("c.jww")};
    const RegistrationOutcome outcome = registerFiles(paths, 1, [this](int done) {
        if (done == 1) {  // another PC stores node 3 while this one works
            EXPECT_TRUE(db.ExecuteInOneTransaction(
                {storage::InsertRowLines("ZPRJ_7", {"N", "NAME", "MN", "PARENT_N"},
                                         {"3", "'theirs'", "9", "0"}),
                 storage::InsertRowLines("ZMN_7", {"N"}, {"3"})}));
        }
        return true;
    });
    EXPECT_EQ(outcome.registered, 3);
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].number, 2);
    EXPECT_EQ(stored[1].number, 4);
    EXPECT_EQ(stored[2].number, 5);
    EXPECT_EQ(rows("ZPRJ_7", 4, "N=3").at(0), (Row{"3", "theirs", "9", "0"}));
    EXPECT_EQ(drawing(4)[kFileName], "b.jww");
}

TEST_F(FileRegistrationTest, ANodeThatCannotBeStoredLeavesNoRowAndEndsTheRun)
{
    // The drawing table gone: the tree row must not stay behind without it.
    ASSERT_TRUE(db.ExecuteDdl({"DROP TABLE ZMN_7"}));
    const RegistrationOutcome outcome = registerFiles({write("a.jww"), write("b.jww")});
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.registered, 0);
    EXPECT_TRUE(stored.empty());
    EXPECT_EQ(outcome.message, QString::fromUtf8(drawings::detail_texts::kCreateFailed));
    EXPECT_EQ(rows("ZPRJ_7", 4, "N>1").size(), 0u);
}

TEST(ChosenFolder, IsTheFirstFilesFolderAsGiven)
{
    const auto native = [](const char* utf8) {
        return text::ToCp932(QDir::toNativeSeparators(QString::fromUtf8(utf8)));
    };
    EXPECT_EQ(drawings::ChosenFolder("/work/plans/a.jww"), native("/work/plans/"));
    EXPECT_EQ(drawings::ChosenFolder(QString::fromUtf8("/図面/a.jww")), native("/図面/"));
    EXPECT_EQ(drawings::ChosenFolder("a.jww"), "");
    EXPECT_EQ(drawings::ChosenFolder(QString::fromUtf8("/caf\xC3\xA9/a.jww")), std::nullopt);
}
