#include "drawings/revision_history_logic.h"

#include <gtest/gtest.h>

#include "project_fixture.h"
#include "storage/schema.h"
#include "text/cp932.h"

using drawings::RevisionHistoryLogic;
using drawings::RevisionInput;
using storage::Row;
using testing_support::kHyou;
using testing_support::kKouzou;

namespace {

using Said = std::pair<QString, QString>;  // message, focus

Said Of(const drawings::RevisionOutcome& outcome)
{
    return {outcome.message, outcome.focus};
}

class RevisionHistoryTest : public testing_support::ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        ASSERT_TRUE(storage::CreateRevisionTable(db, "REV_7"));
    }

    void addRevision(int n, int zn, const std::string& cont, int rn, const std::string& date)
    {
        ASSERT_TRUE(db.InsertRow("REV_7", {"N", "ZN", "CONT", "RN", "RDATE"},
                                 {std::to_string(n), std::to_string(zn), text::SqlText(cont),
                                  std::to_string(rn), date.empty() ? "NULL" : "'" + date + "'"}));
    }

    RevisionHistoryLogic drawing5{db, kProject, 5};
};

}  // namespace

TEST_F(RevisionHistoryTest, ADrawingSeesItsOwnEntriesWhileNumbersAreProposedOverTheProject)
{
    EXPECT_EQ(drawing5.ProposeNumber(), "1");
    addRevision(3, 5, "second " + kKouzou, 2, "20240301");
    addRevision(8, 6, "other drawing", 1, "20240201");
    addRevision(1, 5, "first", 0, "");
    EXPECT_EQ(drawing5.LoadRows(), (std::vector<Row>{{"1", "first", "0", ""},
                                                     {"3", "second " + kKouzou, "2", "20240301"}}));
    RevisionHistoryLogic drawing9(db, kProject, 9);
    EXPECT_TRUE(drawing9.LoadRows().empty());
    EXPECT_EQ(drawing9.ProposeNumber(), "9");

    // Past the largest 32-bit number the proposal does not wrap, and is refused.
    addRevision(2147483647, 6, "last", 0, "");
    EXPECT_EQ(drawing5.ProposeNumber(), "2147483648");
    EXPECT_EQ(Of(drawing5.Add({"2147483648", "x", "0:a", ""})),
              Said("番号は正の整数で入力して下さい", "Edit1"));
}

TEST_F(RevisionHistoryTest, AddAndChangeCheckTheirInputInOrderAndWriteNothingOnRefusal)
{
    addRevision(1, 5, "kept", 2, "20240101");
    const Said noNumber("番号を入力して下さい（正の整数値入力）", "Edit1");
    const Said notPositive("番号は正の整数で入力して下さい", "Edit1");
    const Said badDate("日付は yyyymmdd形式（例：20100101）で有効な内容を入力して下さい。",
                       "Edit3");
    const Said quote("引用符「'」「\"」を入力しないで下さい", "Edit2");
    const std::pair<RevisionInput, Said> cases[] = {
        {{" \t", "x", "1:a", ""}, noNumber},
        {{"0", "x", "1:a", ""}, notPositive},
        {{"abc", "x", "1:a", ""}, notPositive},
        {{"99999999999", "x", "1:a", ""}, notPositive},
        {{"1 ", "x", "1:a", ""}, notPositive},
        // The date comes before the text, and 30 February is no date.
        {{"1", "a'b", "1:a", "20240230"}, badDate},
        {{"1", "x", "1:a", "2024-4-1"}, badDate},
        {{"1", "say \"b\"", "1:a", "20240401"}, quote},
    };
    for (const auto& [input, said] : cases) {
        EXPECT_EQ(Of(drawing5.Add(input)), said) << input.number << input.content;
        EXPECT_EQ(Of(drawing5.Change(input)), said) << input.number << input.content;
    }
    EXPECT_EQ(rows("REV_7", 5), (std::vector<Row>{{"1", "5", "kept", "2", "20240101"}}));
}

TEST_F(RevisionHistoryTest, AddStoresAnEntryOfThisDrawingUnderAnUnusedNumberOnly)
{
    addRevision(4, 6, "other drawing", 1, "20240201");
    const Said added("登録OK", "");
    const std::string quoted = "\x81\x75" + kHyou + "\x81\x76";  // full-width quotation marks
    EXPECT_EQ(Of(drawing5.Add({"007", quoted, "12:" + kKouzou, "20240401"})), added);
    EXPECT_EQ(Of(drawing5.Add({"$A", "", "0:x", ""})), added);
    EXPECT_EQ(rows("REV_7", 5, "ZN=5"),
              (std::vector<Row>{{"7", "5", quoted, "12", "20240401"}, {"10", "5", "", "0", ""}}));
    EXPECT_EQ(db.SelectAllWhere("REV_7", "N=10 AND CONT IS NULL AND RDATE IS NULL"), 1);

    EXPECT_EQ(Of(drawing5.Add({"4", "mine now?", "1:a", ""})), Said("登録失敗", ""));
    EXPECT_EQ(rows("REV_7", 5, "N=4"),
              (std::vector<Row>{{"4", "6", "other drawing", "1", "20240201"}}));
    // A project whose revision table was never made.
    EXPECT_EQ(Of(RevisionHistoryLogic(db, 8, 5).Add({"1", "x", "1:a", ""})), Said("登録失敗", ""));
}

TEST_F(RevisionHistoryTest, ChangeRewritesAnEntryOfThisDrawingAndNeverTakesAnotherOver)
{
    addRevision(1, 5, "mine", 2, "20240101");
    addRevision(2, 6, "theirs", 3, "20240202");
    const Said unused("入力した番号は未使用ですので変更は出来ません。再入力して下さい", "Edit1");
    EXPECT_EQ(Of(drawing5.Change({"2", "taken", "1:a", "20240401"})), unused);
    EXPECT_EQ(Of(drawing5.Change({"9", "new", "1:a", ""})), unused);
    EXPECT_EQ(rows("REV_7", 5, "N=2"), (std::vector<Row>{{"2", "6", "theirs", "3", "20240202"}}));

    EXPECT_EQ(Of(drawing5.Change({"01", "", "0:x", "20240401"})), Said("変更OK", ""));
    EXPECT_EQ(rows("REV_7", 5, "N=1"), (std::vector<Row>{{"1", "5", "", "0", "20240401"}}));
    EXPECT_EQ(db.SelectAllWhere("REV_7", "N=1 AND CONT IS NULL"), 1);
}

TEST_F(RevisionHistoryTest, DeleteAsksAboutTheGivenRowAndRemovesOnlyThat)
{
    EXPECT_EQ(RevisionHistoryLogic::DeleteQuestion({"3", "ABC", "0", ""}),
              "「No.3：ABC」を削除します。\r\nよろしいですか？");
    // The empty row of an empty grid: no question, nothing deleted.
    EXPECT_TRUE(RevisionHistoryLogic::DeleteQuestion({"", "", "", ""}).isEmpty());
    EXPECT_EQ(Of(drawing5.Delete({"", "", "", ""})), Said());

    addRevision(3, 5, "ABC", 0, "");
    addRevision(4, 5, "DEF", 0, "");
    EXPECT_EQ(Of(drawing5.Delete({"3", "ABC", "0", ""})), Said("削除OK", ""));
    EXPECT_EQ(rows("REV_7", 5), (std::vector<Row>{{"4", "5", "DEF", "0", ""}}));
    EXPECT_EQ(Of(RevisionHistoryLogic(db, 8, 5).Delete({"4", "DEF", "0", ""})),
              Said("削除失敗", ""));
}

TEST_F(RevisionHistoryTest, TheEditorNeedsSettingsAndAConnectionAndListsEveryMember)
{
    storage::Settings settings;
    settings.DbFolder = folder.path();
    EXPECT_TRUE(drawings::CheckRevisionEditorCanOpen(settings, db).message.isEmpty());
    settings.DbName = " ";
    EXPECT_EQ(drawings::CheckRevisionEditorCanOpen(settings, db).message,
              "最初にデータベースの設定を行って下さい。");
    settings.DbName = "ZUMENDB.FDB";
    storage::Database detached;
    EXPECT_EQ(drawings::CheckRevisionEditorCanOpen(settings, detached).message,
              "データベースに接続出来ません。設定を確認して下さい。");

    const std::string none = text::ToCp932Lossy("0:指定無し");
    EXPECT_EQ(drawings::LoadReviserItems(db), std::vector<std::string>{none});
    ASSERT_TRUE(storage::CreateMemberTable(db));
    ASSERT_TRUE(db.InsertRow("MEMBER", {"N", "SN", "PNAME"}, {"12", "1", text::SqlText(kKouzou)}));
    ASSERT_TRUE(db.InsertRow("MEMBER", {"N", "SN", "PNAME"}, {"3", "1", "'Sato'"}));
    EXPECT_EQ(drawings::LoadReviserItems(db),
              (std::vector<std::string>{none, "3:Sato", "12:" + kKouzou}));
}
