#include "registers/register_logic.h"

#include <gtest/gtest.h>

#include "common/database_fixture.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"

using registers::RegisterInput;
using registers::RegisterLogic;
using registers::RegisterOutcome;

namespace {

std::string Cp932(const QString& text)
{
    return *text::ToCp932(text);
}

// One row of a table, the whole row as text, or empty when there is none.
std::string RowText(storage::Database& db, const char* table, int n, int columns)
{
    storage::Row row(static_cast<std::size_t>(columns));
    if (db.SelectColumns("*", table, "N=" + std::to_string(n), row) < 0)
        return "(none)";
    std::string joined;
    for (const std::string& cell : row)
        joined += cell + "|";
    return joined;
}

class RegisterLogicTest : public testing_support::EmbeddedDatabaseTest {
protected:
    void Insert(const char* table, const std::vector<std::string>& columns,
                const std::vector<std::string>& values)
    {
        ASSERT_TRUE(db.InsertRow(table, columns, values));
    }
    void AddSection(int n, const QString& name)
    {
        Insert("SECTION", {"N", "SNAME"}, {std::to_string(n), text::SqlText(Cp932(name))});
    }
    void AddMember(int n, int sn, const QString& name)
    {
        Insert("MEMBER", {"N", "SN", "PNAME"},
               {std::to_string(n), std::to_string(sn), text::SqlText(Cp932(name))});
    }
    int Count(const char* table, const char* condition = "")
    {
        return db.SelectAllWhere(table, condition);
    }
    bool AnyWriteSent() const
    {
        for (const std::string& statement : sent)
            if (statement.starts_with("INSERT") || statement.starts_with("UPDATE") ||
                statement.starts_with("DELETE"))
                return true;
        return false;
    }
};

struct Refusal {
    std::string number;
    std::vector<std::string> values;
    QString message;
    QString focus;
};

// Every refusal names its message and focus, reloads nothing and writes nothing.
void ExpectRefusals(RegisterLogic& logic, bool change, const std::vector<Refusal>& refusals)
{
    for (const Refusal& r : refusals) {
        SCOPED_TRACE("number [" + r.number + "] " + r.message.toStdString());
        const RegisterInput input{r.number, r.values};
        const RegisterOutcome outcome = change ? logic.Change(input) : logic.Add(input);
        EXPECT_EQ(outcome.message, r.message);
        EXPECT_EQ(outcome.focus, r.focus);
        EXPECT_FALSE(outcome.reload);
    }
}

}  // namespace

TEST_F(RegisterLogicTest, OpensOnlyWithCompleteSettingsAndAnAttachedDatabase)
{
    storage::Settings settings;
    settings.DbFolder = folder.path();
    EXPECT_TRUE(registers::CheckRegisterCanOpen(settings, db).message.isEmpty());

    settings.DbFolder = " \t";
    EXPECT_EQ(registers::CheckRegisterCanOpen(settings, db).message,
              QStringLiteral("最初にデータベースの設定を行って下さい。"));
    settings.DbFolder = folder.path();
    settings.DbName = "";
    db.DisconnectDatabase();  // the settings are asked about first
    EXPECT_EQ(registers::CheckRegisterCanOpen(settings, db).message,
              QStringLiteral("最初にデータベースの設定を行って下さい。"));
    settings.DbName = "ZUMENDB.FDB";
    EXPECT_EQ(registers::CheckRegisterCanOpen(settings, db).message,
              QStringLiteral("データベースに接続出来ません。設定を確認して下さい。"));
}

TEST_F(RegisterLogicTest, SectionAddRefusesBadInputInOrderAndWritesNothing)
{
    ASSERT_TRUE(storage::CreateSectionTable(db));
    RegisterLogic logic(db, registers::SectionRegister());
    sent.clear();
    ExpectRefusals(
        logic, false,
        {{"", {"a'b"}, QStringLiteral("番号を入力して下さい（正の整数値入力）"), "Edit1"},
         {" \t ", {""}, QStringLiteral("番号を入力して下さい（正の整数値入力）"), "Edit1"},
         {"0", {"a'b"}, QStringLiteral("番号は正の整数で入力して下さい"), "Edit1"},
         {"-3", {""}, QStringLiteral("番号は正の整数で入力して下さい"), "Edit1"},
         {"abc", {""}, QStringLiteral("番号は正の整数で入力して下さい"), "Edit1"},
         {"12 ", {""}, QStringLiteral("番号は正の整数で入力して下さい"), "Edit1"},
         {"99999999999", {""}, QStringLiteral("番号は正の整数で入力して下さい"), "Edit1"},
         {"5", {"a'b"}, QStringLiteral("引用符「'」「\"」を入力しないで下さい"), "Edit2"},
         {"5", {"say \"hi\""}, QStringLiteral("引用符「'」「\"」を入力しないで下さい"), "Edit2"}});
    EXPECT_FALSE(AnyWriteSent());
    EXPECT_EQ(Count("SECTION"), 0);
}

TEST_F(RegisterLogicTest, SectionAddStoresTheNameAsTypedAndADuplicateLeavesTheTableAlone)
{
    ASSERT_TRUE(storage::CreateSectionTable(db));
    RegisterLogic logic(db, registers::SectionRegister());
    EXPECT_EQ(logic.ProposeNumber(), "1");
    EXPECT_TRUE(logic.LoadRows().empty());

    // Sixteen full-width characters fill the 32 bytes of the column exactly.
    const std::string longest = Cp932(QString(16, QChar(0x8A2D)));
    const std::vector<std::pair<RegisterInput, std::string>> adds{
        {{"3", {longest}}, "3|" + longest + "|"},
        {{" 1", {""}}, "1||"},       // leading blanks are allowed; an empty name is NULL
        {{"$A", {"  "}}, "10|  |"},  // hexadecimal is a number too; blanks stay
    };
    for (const auto& [input, stored] : adds) {
        const RegisterOutcome outcome = logic.Add(input);
        EXPECT_EQ(outcome.message, QStringLiteral("登録OK"));
        EXPECT_TRUE(outcome.reload);
        EXPECT_TRUE(outcome.focus.isEmpty());
        EXPECT_EQ(RowText(db, "SECTION", text::StrToIntOrZero(input.number), 2), stored);
    }
    EXPECT_EQ(Count("SECTION", "SNAME IS NULL"), 1);
    EXPECT_EQ(logic.ProposeNumber(), "11");

    const RegisterOutcome duplicate = logic.Add({"3", {"other"}});
    EXPECT_EQ(duplicate.message, QStringLiteral("登録失敗"));
    EXPECT_TRUE(duplicate.reload);  // the grid shows what the table holds
    EXPECT_EQ(RowText(db, "SECTION", 3, 2), "3|" + longest + "|");
    EXPECT_EQ(Count("SECTION"), 3);

    EXPECT_EQ(logic.LoadRows(),
              (std::vector<storage::Row>{{"1", ""}, {"3", longest}, {"10", "  "}}));
    EXPECT_FALSE(db.QueryOpen());
}

TEST_F(RegisterLogicTest, AProposalPastTheLargestNumberIsRefusedNotWrapped)
{
    ASSERT_TRUE(storage::CreateCompanyTable(db));
    RegisterLogic logic(db, registers::CompanyRegister());
    ASSERT_EQ(logic.Add({"2147483647", {"", ""}}).message, QStringLiteral("登録OK"));
    EXPECT_EQ(logic.ProposeNumber(), "2147483648");
    EXPECT_EQ(logic.Add({logic.ProposeNumber(), {"", ""}}).message,
              QStringLiteral("番号は正の整数で入力して下さい"));
    EXPECT_EQ(Count("COMPANY"), 1);
}

TEST_F(RegisterLogicTest, SectionChangeChecksInOrderThenRewritesTheName)
{
    ASSERT_TRUE(storage::CreateSectionTable(db));
    AddSection(1, QStringLiteral("設計"));
    RegisterLogic logic(db, registers::SectionRegister());
    sent.clear();
    ExpectRefusals(
        logic, true,
        {{"", {""}, QStringLiteral("番号を入力して下さい（正の整数値入力）"), "Edit1"},
         {"0", {" "}, QStringLiteral("名称を入力して下さい（半角32文字まで）"), "Edit2"},
         {"0", {"x"}, QStringLiteral("番号は正の整数で入力して下さい"), "Edit1"},
         {"abc", {"x"}, QStringLiteral("番号は正の整数で入力して下さい"), "Edit1"},
         {"2",
          {"a'b"},
          QStringLiteral("入力した番号は未使用ですので変更は出来ません。再入力して下さい"),
          "Edit1"},
         {"1", {"a\"b"}, QStringLiteral("引用符「'」「\"」を入力しないで下さい"), "Edit2"}});
    EXPECT_FALSE(AnyWriteSent());

    const std::string sales = Cp932(QStringLiteral("営業"));
    const RegisterOutcome outcome = logic.Change({"1", {sales}});
    EXPECT_EQ(outcome.message, QStringLiteral("変更OK"));
    EXPECT_TRUE(outcome.reload);
    EXPECT_EQ(logic.LoadRows(), (std::vector<storage::Row>{{"1", sales}}));
}

TEST_F(RegisterLogicTest, SectionDeleteAsksAboutTheRowAndRefusesASectionAMemberUses)
{
    ASSERT_TRUE(storage::CreateSectionTable(db));
    AddSection(1, QStringLiteral("設計"));
    AddSection(2, QStringLiteral("営業"));
    RegisterLogic logic(db, registers::SectionRegister());

    const storage::Row design{"1", Cp932(QStringLiteral("設計"))};
    // The empty row of an empty grid: nothing to ask, nothing to delete.
    EXPECT_TRUE(logic.DeleteQuestion({"", ""}).isEmpty());
    EXPECT_TRUE(logic.DeleteQuestion({}).isEmpty());
    sent.clear();
    EXPECT_TRUE(logic.Delete({"", ""}).message.isEmpty());
    EXPECT_TRUE(sent.empty());

    // Without a MEMBER table there is nothing to check.
    const RegisterOutcome deleted = logic.Delete({"2", Cp932(QStringLiteral("営業"))});
    EXPECT_EQ(deleted.message, QStringLiteral("削除OK"));
    EXPECT_TRUE(deleted.reload);
    EXPECT_EQ(Count("SECTION"), 1);

    ASSERT_TRUE(storage::CreateMemberTable(db));
    AddMember(7, 1, QStringLiteral("山田"));
    const RegisterOutcome refused = logic.Delete(design);
    EXPECT_EQ(refused.message,
              QStringLiteral("メンバーデータで既に使用されていますので削除出来ません。"));
    EXPECT_FALSE(refused.reload);
    EXPECT_EQ(Count("SECTION"), 1);

    ASSERT_TRUE(db.UpdateRow("MEMBER", {"SN"}, {"0"}, "N=7"));
    EXPECT_EQ(logic.Delete(design).message, QStringLiteral("削除OK"));
    EXPECT_EQ(Count("SECTION"), 0);
}

TEST_F(RegisterLogicTest, AStatementTheDatabaseRejectsIsReportedAsAFailure)
{
    // No tables at all: every write fails and says so.
    RegisterLogic logic(db, registers::CompanyRegister());
    EXPECT_EQ(logic.Add({"1", {"a", "b"}}).message, QStringLiteral("登録失敗"));
    EXPECT_EQ(logic.Change({"1", {"a", "b"}}).message,
              QStringLiteral("入力した番号は未使用ですので変更は出来ません。再入力して下さい"));
    EXPECT_EQ(logic.Delete({"1", "a", "b"}).message, QStringLiteral("削除失敗"));
    EXPECT_TRUE(logic.LoadRows().empty());
    EXPECT_EQ(logic.ProposeNumber(), "1");
}

TEST_F(RegisterLogicTest, MemberListShowsEveryMemberOnceWhateverItsSection)
{
    ASSERT_TRUE(storage::CreateMemberTable(db));
    AddMember(5, 0, QStringLiteral("山田"));
    AddMember(2, 9, QStringLiteral("鈴木"));  // section 9 never existed
    AddMember(8, 1, QStringLiteral("佐藤"));
    RegisterLogic logic(db, registers::MemberRegister());
    const std::string yamada = Cp932(QStringLiteral("山田"));
    const std::string suzuki = Cp932(QStringLiteral("鈴木"));
    const std::string sato = Cp932(QStringLiteral("佐藤"));

    // No SECTION table: the members are read alone.
    EXPECT_EQ(logic.LoadRows(),
              (std::vector<storage::Row>{
                  {"2", "9", "", suzuki}, {"5", "0", "", yamada}, {"8", "1", "", sato}}));
    EXPECT_FALSE(db.QueryOpen());

    // A SECTION table without rows.
    ASSERT_TRUE(storage::CreateSectionTable(db));
    sent.clear();
    EXPECT_EQ(logic.LoadRows(),
              (std::vector<storage::Row>{
                  {"2", "9", "", suzuki}, {"5", "0", "", yamada}, {"8", "1", "", sato}}));
    EXPECT_EQ(lastSent(),
              "SELECT MEMBER.N,MEMBER.SN,SECTION.SNAME,MEMBER.PNAME \r\n"
              "   FROM MEMBER LEFT OUTER JOIN SECTION ON MEMBER.SN=SECTION.N \r\n"
              "   ORDER BY MEMBER.N \r\n"
              "   ;\r\n");

    // Three sections, one of them numbered 0 from outside the registers: a
    // member of section 0 still has none.
    AddSection(0, QStringLiteral("外部"));
    AddSection(1, QStringLiteral("設計"));
    AddSection(3, QStringLiteral("営業"));
    const std::string design = Cp932(QStringLiteral("設計"));
    EXPECT_EQ(logic.LoadRows(),
              (std::vector<storage::Row>{
                  {"2", "9", "", suzuki}, {"5", "0", "", yamada}, {"8", "1", design, sato}}));

    // The section of member 8 removed behind the register's back.
    ASSERT_TRUE(db.DeleteRows("SECTION", "N=1"));
    EXPECT_EQ(logic.LoadRows(),
              (std::vector<storage::Row>{
                  {"2", "9", "", suzuki}, {"5", "0", "", yamada}, {"8", "1", "", sato}}));
}

TEST_F(RegisterLogicTest, MemberSectionListOffersNoneFirstAndFindsTheSectionOfARow)
{
    const std::string none = Cp932(QStringLiteral("0:指定無し"));
    EXPECT_EQ(registers::LoadSectionItems(db), std::vector<std::string>{none});
    EXPECT_FALSE(db.TableExists("SECTION"));  // none is made here

    ASSERT_TRUE(storage::CreateSectionTable(db));
    AddSection(3, QStringLiteral("設計"));
    AddSection(1, QStringLiteral("営業:東"));
    Insert("SECTION", {"N", "SNAME"}, {"12", "NULL"});
    const std::vector<std::string> items = registers::LoadSectionItems(db);
    EXPECT_EQ(items, (std::vector<std::string>{none, "1:" + Cp932(QStringLiteral("営業:東")),
                                               "3:" + Cp932(QStringLiteral("設計")), "12:"}));
    EXPECT_FALSE(db.QueryOpen());

    EXPECT_EQ(registers::FindSectionItem(items, 3), 2);
    EXPECT_EQ(registers::FindSectionItem(items, 12), 3);
    EXPECT_EQ(registers::FindSectionItem(items, 0), 0);
    EXPECT_EQ(registers::FindSectionItem(items, 7), 0);  // a section no longer there
}

TEST_F(RegisterLogicTest, MemberAddAndChangeWriteTheChosenSectionAndCheckInOrder)
{
    ASSERT_TRUE(storage::CreateMemberTable(db));
    RegisterLogic logic(db, registers::MemberRegister());
    const std::string none = Cp932(QStringLiteral("0:指定無し"));
    const std::string yamada = Cp932(QStringLiteral("山田"));
    const std::string section3 = "3:" + Cp932(QStringLiteral("設計"));

    ExpectRefusals(
        logic, false,
        {{"", {none, ""}, QStringLiteral("番号を入力して下さい（正の整数値入力）"), "Edit1"},
         {"-1", {none, ""}, QStringLiteral("番号は正の整数で入力して下さい"), "Edit1"},
         {"1",
          {none, "O'Brien"},
          QStringLiteral("引用符「'」「\"」を入力しないで下さい"),
          "Edit2"}});
    EXPECT_EQ(logic.Add({"1", {none, yamada}}).message, QStringLiteral("登録OK"));
    EXPECT_EQ(logic.Add({"2", {section3, ""}}).message,
              QStringLiteral("登録OK"));  // the name may be empty
    EXPECT_EQ(RowText(db, "MEMBER", 1, 3), "1|0|" + yamada + "|");
    EXPECT_EQ(RowText(db, "MEMBER", 2, 3), "2|3||");
    EXPECT_EQ(logic.Add({"1", {section3, "x"}}).message, QStringLiteral("登録失敗"));
    EXPECT_EQ(RowText(db, "MEMBER", 1, 3), "1|0|" + yamada + "|");

    ExpectRefusals(
        logic, true,
        {{" ", {none, ""}, QStringLiteral("番号を入力して下さい（正の整数値入力）"), "Edit1"},
         {"0", {none, "  "}, QStringLiteral("氏名を入力して下さい（半角16文字まで）"), "Edit2"},
         {"0", {none, "x"}, QStringLiteral("番号は正の整数で入力して下さい"), "Edit1"},
         {"5",
          {none, "x'"},
          QStringLiteral("入力した番号は未使用ですので変更は出来ません。再入力して下さい"),
          "Edit1"},
         {"2", {none, "x\""}, QStringLiteral("引用符「'」「\"」を入力しないで下さい"), "Edit2"}});
    EXPECT_EQ(logic.Change({"2", {section3, "x"}}).message, QStringLiteral("変更OK"));
    EXPECT_EQ(RowText(db, "MEMBER", 2, 3), "2|3|x|");
    EXPECT_EQ(logic.Change({"2", {none, "y"}}).message, QStringLiteral("変更OK"));
    EXPECT_EQ(RowText(db, "MEMBER", 2, 3), "2|0|y|");

    // Nothing refers back to a member: whoever still names it keeps the number.
    ASSERT_TRUE(storage::CreateProjectTable(db));
    EXPECT_EQ(logic.Delete({"2", "0", "", "y"}).message, QStringLiteral("削除OK"));
    EXPECT_EQ(Count("MEMBER"), 1);
}

TEST_F(RegisterLogicTest, CompanyChecksBothNamesAndWritesEmptyNamesAsNull)
{
    ASSERT_TRUE(storage::CreateCompanyTable(db));
    RegisterLogic logic(db, registers::CompanyRegister());
    // A quote in the department name still puts the focus on the company name.
    ExpectRefusals(
        logic, false,
        {{"", {"", ""}, QStringLiteral("番号を入力して下さい（正の整数値入力）"), "Edit1"},
         {"0", {"", ""}, QStringLiteral("番号は正の整数で入力して下さい"), "Edit1"},
         {"1", {"a", "b'"}, QStringLiteral("引用符「'」「\"」を入力しないで下さい"), "Edit2"},
         {"1", {"a\"", "b"}, QStringLiteral("引用符「'」「\"」を入力しないで下さい"), "Edit2"}});
    const std::string company = Cp932(QStringLiteral("東京商事"));
    EXPECT_EQ(logic.Add({"1", {company, ""}}).message, QStringLiteral("登録OK"));
    EXPECT_EQ(Count("COMPANY", "BNAME IS NULL AND CNAME IS NOT NULL"), 1);

    ExpectRefusals(
        logic, true,
        {{"", {"", ""}, QStringLiteral("番号を入力して下さい（正の整数値入力）"), "Edit1"},
         {"-7", {"", ""}, QStringLiteral("番号は正の整数で入力して下さい"), "Edit1"},
         {"2",
          {"a'", ""},
          QStringLiteral("入力した番号は未使用ですので変更は出来ません。再入力して下さい"),
          "Edit1"},
         {"1", {"", "b'"}, QStringLiteral("引用符「'」「\"」を入力しないで下さい"), "Edit2"}});
    // No name is required on change.
    EXPECT_EQ(logic.Change({"1", {"", ""}}).message, QStringLiteral("変更OK"));
    EXPECT_EQ(Count("COMPANY", "BNAME IS NULL AND CNAME IS NULL"), 1);

    EXPECT_EQ(logic.Delete({"1", company, ""}).message, QStringLiteral("削除OK"));
    EXPECT_EQ(Count("COMPANY"), 0);
}
