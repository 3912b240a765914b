#include "drawings/drawing_info_logic.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <map>

#include "drawings/file_registration.h"
#include "drawings/name_tree_editing.h"
#include "project_fixture.h"
#include "storage/schema.h"
#include "text/cp932.h"

using drawings::DrawingInfoLogic;
using drawings::DrawingPage;
using drawings::PageOutcome;
using storage::Row;
using testing_support::kHyou;
using testing_support::kKouzou;

namespace {

// What an outcome changes: box or combo name to new text or index.
using Changes = std::map<QString, std::string>;

Changes ChangesOf(const PageOutcome& outcome)
{
    Changes changes;
    for (const drawings::TextChange& change : outcome.texts)
        changes[change.control] = change.text;
    for (const drawings::SelectionChange& change : outcome.selections)
        changes[change.control] = std::to_string(change.index);
    return changes;
}

void WriteFile(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// A Jw_cad drawing file whose header holds the text.
std::string JwwFile(const std::string& text)
{
    return std::string("JwwData.\xff\x00\x00\x01", 12) + static_cast<char>(text.size()) + text;
}

class DrawingInfoTest : public testing_support::ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        ASSERT_TRUE(storage::CreateDrawingTable(db, "ZMN_7"));
        ASSERT_TRUE(storage::CreateRevisionTable(db, "REV_7"));
        for (const char* n : {"5", "6"}) {
            std::vector<std::string> values{n};
            for (const std::string& value : drawings::EmptyDrawingValues())
                values.push_back(value);
            ASSERT_TRUE(db.InsertRow("ZMN_7", drawings::DrawingColumnNames(), values));
        }
        sent.clear();
    }

    void addRevision(int n, int zn, int rn, const std::string& date)
    {
        ASSERT_TRUE(
            db.InsertRow("REV_7", {"N", "ZN", "CONT", "RN", "RDATE"},
                         {std::to_string(n), std::to_string(zn), "'c" + std::to_string(n) + "'",
                          std::to_string(rn), date.empty() ? "NULL" : "'" + date + "'"}));
    }

    DrawingPage page(int node) const
    {
        DrawingPage p;
        p.Edit(1) = std::to_string(node);
        p.memberItems = {text::ToCp932Lossy("0:指定無し"), "1:Sato", "2:yamada",
                         "3:" + text::ToCp932Lossy(
                                    QString::fromUtf16(u"\uFF34\uFF41\uFF52\uFF4F")),  // full-width
                         "4:" + kKouzou};
        return p;
    }

    Row drawingRow(int n) { return rows("ZMN_7", 20, "N=" + std::to_string(n)).at(0); }

    DrawingInfoLogic logic{db, kProject};
};

}  // namespace

TEST_F(DrawingInfoTest, StampsPutThePcUserWhateverTheLetterCaseAndTodayIntoTheirPair)
{
    storage::Settings pc;
    const std::tuple<int, std::string, std::string> users[] = {
        {2, "YAMADA", "2"},
        {3, text::ToCp932Lossy(QString::fromUtf16(u"\uFF54\uFF21\uFF32\uFF4F")), "3"},
        {4, kKouzou, "4"},
        {3, "yamada", "0"},  // the number must match too
        {9, "Nobody", "0"},
    };
    for (const auto& [no, name, index] : users) {
        pc.PcUserNo = no;
        pc.PcUserName = name;
        const QDate today(2024, 4, 1);
        EXPECT_EQ(ChangesOf(drawings::StampPage(page(5), drawings::Stamp::Check, pc, today)),
                  (Changes{{"ComboBox2", index}, {"Edit13", "20240401"}}));
        EXPECT_EQ(ChangesOf(drawings::StampPage(page(5), drawings::Stamp::Approval, pc, today)),
                  (Changes{{"ComboBox3", index}, {"Edit14", "20240401"}}));
        EXPECT_EQ(ChangesOf(drawings::StampPage(page(5), drawings::Stamp::Issue, pc, today)),
                  (Changes{{"ComboBox4", index}, {"Edit15", "20240401"}}));
    }
    EXPECT_TRUE(sent.empty());
}

TEST_F(DrawingInfoTest, LatestRevisionIsTheNewestDateThenTheLargestNumber)
{
    const Changes cleared{{"ComboBox5", "0"}, {"Edit16", ""}};
    EXPECT_EQ(ChangesOf(logic.TakeLatestRevision(page(5))), cleared);
    addRevision(1, 5, 1, "20240101");
    addRevision(3, 5, 9, "20240301");  // a member since deleted
    addRevision(2, 5, 2, "20240301");
    addRevision(4, 6, 1, "20250101");
    addRevision(6, 5, 1, "");
    EXPECT_EQ(ChangesOf(logic.TakeLatestRevision(page(5))),
              (Changes{{"ComboBox5", "0"}, {"Edit16", "20240301"}}));
    addRevision(5, 5, 2, "20240301");
    EXPECT_EQ(ChangesOf(logic.TakeLatestRevision(page(5))),
              (Changes{{"ComboBox5", "2"}, {"Edit16", "20240301"}}));
    EXPECT_EQ(logic.RevisionLines(5),
              (std::vector<std::string>{"20240101(1):c1", "20240301(2):c2", "20240301(9):c3",
                                        "20240301(2):c5", "(1):c6"}));
}

TEST_F(DrawingInfoTest, SaveWritesTheWholeRecordInOneUpdateWithQuotedFileNamesIntact)
{
    DrawingPage p = page(5);
    p.edits = {"5",
               "name",
               "O'Neil's " + kHyou + ".jww",
               "/data/it's \"here\"/",
               "Z-1",
               kKouzou,
               "sub",
               "m1",
               "",
               " ",
               "20240101",
               "20240102",
               "20240103",
               "",
               "20240105",
               "20240106"};
    p.memberIndexes = {1, 2, 0, 4, 3};
    EXPECT_EQ(logic.Save(p).message, "図面情報データを編集登録しました");
    EXPECT_EQ(drawingRow(5), (Row{"5",
                                  "O'Neil's " + kHyou + ".jww",
                                  "/data/it's \"here\"/",
                                  "Z-1",
                                  kKouzou,
                                  "sub",
                                  "m1",
                                  "",
                                  " ",
                                  "1",
                                  "20240101",
                                  "20240102",
                                  "2",
                                  "20240103",
                                  "0",
                                  "",
                                  "4",
                                  "20240105",
                                  "3",
                                  "20240106"}));
    EXPECT_EQ(sentStartingWith("UPDATE").size(), 1u);
    EXPECT_EQ(drawingRow(6)[9], "0");

    // Everything emptied: NULL in every text and date column, 0 for every member.
    EXPECT_EQ(logic.Save(page(5)).message, "図面情報データを編集登録しました");
    std::string allNull = "N=5 AND MN=0 AND KN=0 AND AN=0 AND PN=0 AND RN=0";
    for (const char* column :
         {"FILE_NAME", "PATH_NAME", "ZUMENN", "MTITLE", "STITLE", "MEMO1", "MEMO2", "MEMO3",
          "DDATE", "UDATE", "KDATE", "ADATE", "PDATE", "RDATE"})
        allNull += std::string(" AND ") + column + " IS NULL";
    EXPECT_EQ(db.SelectAllWhere("ZMN_7", allNull), 1);
}

TEST_F(DrawingInfoTest, SaveRefusesBadDatesFirstThenQuotesInBoxOrder)
{
    const Row before = drawingRow(5);
    for (int box = 11; box <= 16; ++box) {
        DrawingPage p = page(5);
        p.Edit(5) = "a quote ' before";
        for (int later = box; later <= 16; ++later)
            p.Edit(later) = later == box ? "20240230" : "x";
        const PageOutcome outcome = logic.Save(p);
        EXPECT_EQ(outcome.message,
                  "日付は yyyymmdd形式（例：20100101）で有効な内容を入力して下さい。");
        EXPECT_EQ(outcome.focus, QStringLiteral("Edit%1").arg(box));
    }
    for (int box = 5; box <= 10; ++box) {
        DrawingPage p = page(5);
        for (int later = box; later <= 10; ++later)
            p.Edit(later) = later == box ? "say \"x\"" : "it's";
        const PageOutcome outcome = logic.Save(p);
        EXPECT_EQ(outcome.message, "引用符「'」「\"」を入力しないで下さい");
        EXPECT_EQ(outcome.focus, QStringLiteral("Edit%1").arg(box));
    }
    EXPECT_TRUE(sentStartingWith("UPDATE").empty());
    EXPECT_EQ(drawingRow(5), before);
}

TEST_F(DrawingInfoTest, SaveNeverReportsSuccessForARecordItDidNotStore)
{
    const QString failed = "図面情報データが編集登録出来ませんでした";
    EXPECT_FALSE(DrawingInfoLogic::CanSave(page(0)));
    EXPECT_EQ(logic.Save(page(0)).message, failed);  // the project node has no row
    EXPECT_EQ(logic.Save(page(9)).message, failed);  // deleted by another PC meanwhile
    EXPECT_EQ(db.SelectAllWhere("ZMN_7", ""), 2);

    DrawingPage tooLong = page(5);
    tooLong.Edit(5) = "new";
    tooLong.Edit(6) = std::string(81, 'a');
    EXPECT_EQ(logic.Save(tooLong).message, failed);
    EXPECT_EQ(drawingRow(5)[3], "");
}

TEST_F(DrawingInfoTest, OpenAndTakeLookForFolderAndNameJoinedAsTheyStand)
{
    const QString dir = QString::fromStdString(folder.path());
    WriteFile(dir + "plan.jww", JwwFile("outline " + kKouzou));
    WriteFile(dir + text::FromCp932(kHyou + ".txt"), "plain text");
    DrawingPage p = page(5);
    p.Edit(4) = folder.path();
    p.Edit(3) = "plan.jww";
    EXPECT_EQ(drawings::OpenDrawingFile(p).fileToOpen, dir + "plan.jww");
    EXPECT_EQ(ChangesOf(drawings::TakeHeaderText(p)), (Changes{{"Edit8", "outline " + kKouzou}}));
    p.Edit(3) = kHyou + ".txt";  // a CP932 name; no header empties the memo line
    EXPECT_EQ(drawings::OpenDrawingFile(p).fileToOpen, dir + text::FromCp932(kHyou + ".txt"));
    EXPECT_EQ(ChangesOf(drawings::TakeHeaderText(p)), (Changes{{"Edit8", ""}}));

    DrawingPage noSeparator = p, folderOnly = p, vanished = p;
    noSeparator.Edit(4).pop_back();
    folderOnly.Edit(3).clear();
    vanished.Edit(3) = "plan.jww";
    ASSERT_TRUE(QFile::remove(dir + "plan.jww"));
    for (const DrawingPage& missing : {noSeparator, folderOnly, vanished}) {
        const PageOutcome outcome = drawings::OpenDrawingFile(missing);
        EXPECT_EQ(outcome.message, "指定したファイル名が存在しません。");
        EXPECT_TRUE(outcome.fileToOpen.isEmpty());
        EXPECT_TRUE(drawings::TakeHeaderText(missing).texts.empty());
    }
    EXPECT_EQ(drawings::OpenDrawingFile(page(5)).message,
              "パス名・ファイル名が入力されていません。");
}

TEST_F(DrawingInfoTest, AChosenFileGivesItsNameFolderAndOwnDates)
{
    const QString dir = QString::fromStdString(folder.path()) + "it's/";
    ASSERT_TRUE(QDir().mkpath(dir));
    WriteFile(dir + "f'1.jww", "x");
    {
        // 08:00 in Tokyo is the day before in UTC: the local date is kept.
        QFile file(dir + "f'1.jww");
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2020, 5, 6), QTime(8, 0)),
                                     QFileDevice::FileModificationTime));
    }
    Changes taken = ChangesOf(drawings::TakeChosenFile(dir + "f'1.jww"));
    // The creation date is the one registration stores for the same file.
    EXPECT_TRUE(text::IsValidDateString(taken["Edit11"])) << taken["Edit11"];
    EXPECT_EQ(taken["Edit11"], drawings::ReadFileDays(dir + "f'1.jww").created);
    taken.erase("Edit11");
    // The folder as the system names it: backslashes on Windows.
    const std::string stored =
        QDir::toNativeSeparators(QString::fromStdString(folder.path() + "it's/")).toStdString();
    EXPECT_EQ(taken, (Changes{{"Edit3", "f'1.jww"}, {"Edit4", stored}, {"Edit12", "20200506"}}));
    // Gone before its dates were read; a name that has no CP932 form.
    EXPECT_EQ(ChangesOf(drawings::TakeChosenFile(dir + text::FromCp932(kHyou))),
              (Changes{{"Edit3", kHyou}, {"Edit4", stored}}));
    EXPECT_TRUE(
        drawings::TakeChosenFile(dir + QString::fromUtf16(u"\U0001F600.jww")).texts.empty());

    DrawingPage p = page(5);
    p.Edit(3) = kHyou;
    p.Edit(4) = folder.path();
    const std::string last = folder.path() + "last/";
    const drawings::BrowseRequest request = drawings::MakeBrowseRequest(p, last);
    EXPECT_EQ(request.initialFolder, QString::fromStdString(folder.path()));
    EXPECT_EQ(request.fileName, text::FromCp932(kHyou));
    ASSERT_EQ(request.filters.size(), 11);
    EXPECT_EQ(request.filters[2], "Jw_cad BAKファイル (*.BAK *.BK?)");
    for (const std::string& unusable : {std::string("  "), folder.path() + "gone/"}) {
        p.Edit(4) = unusable;
        EXPECT_EQ(drawings::MakeBrowseRequest(p, last).initialFolder, QString::fromStdString(last));
    }
#ifndef _WIN32
    const drawings::PathParts parts = drawings::SplitPath("/a/b:c\\d/e.jww");
    EXPECT_EQ(parts.folder + "|" + parts.fileName, "/a/b:c\\d/|e.jww");
#endif
}
