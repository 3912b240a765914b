#include <gtest/gtest.h>

#include "common/database_fixture.h"
#include "storage/schema.h"
#include "storage/statements.h"

using storage::Row;
using testing_support::EmbeddedDatabaseTest;

namespace {

class StatementTextTest : public EmbeddedDatabaseTest {
protected:
    void SetUp() override
    {
        EmbeddedDatabaseTest::SetUp();
        ASSERT_TRUE(storage::CreateSectionTable(db));
        sent.clear();
    }
};

TEST_F(StatementTextTest, ModificationsSendTheirExactText)
{
    EXPECT_TRUE(db.InsertRow("SECTION", {"N", "SNAME"}, {"1", "'A'"}));
    EXPECT_EQ(lastSent(),
              "INSERT INTO SECTION (\r\n   N,\r\n   SNAME\r\n   ) \r\n   VALUES (\r\n   1,\r\n"
              "   'A'\r\n   );\r\n");

    EXPECT_TRUE(db.UpdateRow("SECTION", {"SNAME", "N"}, {"'B'", "2"}, "N=1"));
    EXPECT_EQ(lastSent(),
              "UPDATE SECTION SET \r\n   SNAME='B',\r\n   N=2\r\n   WHERE N=1\r\n   ;\r\n");

    EXPECT_TRUE(db.UpdateRow("SECTION", {"SNAME"}, {"'C'"}, ""));
    EXPECT_EQ(lastSent(), "UPDATE SECTION SET \r\n   SNAME='C'\r\n   ;\r\n");

    EXPECT_TRUE(db.UpdateSet("SECTION", "SNAME='D',N=3", "N=2"));
    EXPECT_EQ(lastSent(), "UPDATE SECTION SET \r\n   SNAME='D',N=3\r\n   WHERE N=2\r\n   ;\r\n");

    EXPECT_TRUE(db.DeleteRows("SECTION", "N=3"));
    EXPECT_EQ(lastSent(), "DELETE FROM SECTION WHERE N=3 ;\r\n");
    EXPECT_TRUE(db.DeleteRows("SECTION", ""));
    EXPECT_EQ(lastSent(), "DELETE FROM SECTION ;\r\n");
}

TEST_F(StatementTextTest, SelectsSendTheirExactText)
{
    db.SelectAllWhere("SECTION", "N>0");
    EXPECT_EQ(lastSent(), "SELECT * \r\n   FROM SECTION \r\n   WHERE N>0 \r\n   ;\r\n");
    db.SelectAllWhere("SECTION", "");
    EXPECT_EQ(lastSent(), "SELECT * \r\n   FROM SECTION \r\n   ;\r\n");

    db.SelectExists("SECTION", "N", "", 3);
    EXPECT_EQ(lastSent(), "SELECT N \r\n   FROM SECTION \r\n   WHERE (N=3) \r\n   ;\r\n");
    db.SelectExists("SECTION", "N", "SNAME='x'", -4);
    EXPECT_EQ(lastSent(),
              "SELECT N \r\n   FROM SECTION \r\n   WHERE (SNAME='x') AND (N=-4) \r\n   ;\r\n");

    db.SelectMax("SECTION", "N", "");
    EXPECT_EQ(lastSent(), "SELECT MAX(N) \r\n   FROM SECTION \r\n   ;\r\n");
    db.SelectMax("SECTION", "N", "N<9");
    EXPECT_EQ(lastSent(), "SELECT MAX(N) \r\n   FROM SECTION \r\n   WHERE N<9 \r\n   ;\r\n");

    Row buffer(2);
    db.SelectColumns("N,SNAME", "SECTION", "N=1", buffer);
    EXPECT_EQ(lastSent(), "SELECT N,SNAME \r\n   FROM SECTION \r\n   WHERE N=1 \r\n   ;\r\n");

    db.SelectOrdered("*", "SECTION", "", "N DESC");
    EXPECT_EQ(lastSent(), "SELECT * \r\n   FROM SECTION \r\n   ORDER BY N DESC \r\n   ;\r\n");
    db.SelectOrdered("*", "SECTION", "N=1", "");
    EXPECT_EQ(lastSent(), "SELECT * \r\n   FROM SECTION \r\n   WHERE N=1 \r\n   ;\r\n");
    db.CloseQuery();
}

TEST_F(StatementTextTest, TableQueriesAndDatabaseCreationSendTheirExactText)
{
    db.TableExists("SECTION");
    EXPECT_EQ(lastSent(),
              "Select RDB$RELATION_NAME from RDB$RELATIONS  where RDB$VIEW_BLR is NULL and "
              "RDB$SYSTEM_FLAG = 0 ORDER BY RDB$RELATION_NAME");

    storage::Database other;
    std::vector<std::string> texts;
    other.SetStatementObserver([&](std::string_view t) { texts.emplace_back(t); });
    other.CreateDatabase(folder.file("SECOND.FDB"));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "CREATE DATABASE '" + folder.file("SECOND.FDB") +
                            "' USER \"SYSDBA\"\r\nPASSWORD \"tidewater\"\r\nPAGE_SIZE 4096\r\n");
}

TEST_F(StatementTextTest, CreatorsSendTheirExactText)
{
    const std::pair<bool (*)(storage::Database&), std::string> fixed[] = {
        {storage::CreateMemberTable,
         "CREATE TABLE MEMBER (\r\n  N  INTEGER NOT NULL UNIQUE,\r\n  SN INTEGER,\r\n"
         "  PNAME VARCHAR(16)\r\n  );\r\n"},
        {storage::CreateCompanyTable,
         "CREATE TABLE COMPANY (\r\n  N  INTEGER NOT NULL UNIQUE,\r\n  CNAME VARCHAR(32),\r\n"
         "  BNAME VARCHAR(32)\r\n  );\r\n"},
        {storage::CreateProjectTable,
         "CREATE TABLE ZPROJECT (\r\n  N  INTEGER NOT NULL UNIQUE,\r\n  MN INTEGER,\r\n"
         "  CN INTEGER,\r\n  PRNAME  VARCHAR(32),\r\n  MTITLE  VARCHAR(80),\r\n"
         "  STITLE  VARCHAR(80),\r\n  MEMO1   VARCHAR(80),\r\n  MEMO2   VARCHAR(80),\r\n"
         "  MEMO3   VARCHAR(80),\r\n  NOUKI   VARCHAR(16),\r\n  PDATE1  VARCHAR(8),\r\n"
         "  PDATE2  VARCHAR(8),\r\n  DATE1   VARCHAR(8),\r\n  DATE2   VARCHAR(8),\r\n"
         "  NDATE   VARCHAR(8),\r\n  ENDF SMALLINT\r\n  );\r\n"},
    };
    for (const auto& [create, text] : fixed) {
        EXPECT_TRUE(create(db));
        EXPECT_EQ(lastSent(), text);
    }
    EXPECT_EQ(storage::SectionTableLines(),
              (storage::Lines{"CREATE TABLE SECTION (", "  N INTEGER NOT NULL UNIQUE,",
                              "  SNAME VARCHAR(32)", "  );"}));

    EXPECT_TRUE(storage::CreateNameTreeTable(db, "ZPRJ_12"));
    EXPECT_EQ(lastSent(),
              "CREATE TABLE ZPRJ_12 (\r\n  N INTEGER NOT NULL UNIQUE,\r\n  NAME VARCHAR(32),\r\n"
              "  MN INTEGER,\r\n  PARENT_N INTEGER\r\n  );\r\n");
    EXPECT_TRUE(storage::CreateDrawingTable(db, "ZMN_12"));
    EXPECT_EQ(lastSent(),
              "CREATE TABLE ZMN_12 (\r\n  N INTEGER NOT NULL UNIQUE,\r\n"
              "  FILE_NAME VARCHAR(255),\r\n  PATH_NAME VARCHAR(255),\r\n  ZUMENN VARCHAR(80),\r\n"
              "  MTITLE VARCHAR(80),\r\n  STITLE VARCHAR(80),\r\n  MEMO1 VARCHAR(80),\r\n"
              "  MEMO2 VARCHAR(80),\r\n  MEMO3 VARCHAR(80),\r\n  MN    INTEGER,\r\n"
              "  DDATE VARCHAR(8),\r\n  UDATE VARCHAR(8),\r\n  KN    INTEGER,\r\n"
              "  KDATE VARCHAR(8),\r\n  AN    INTEGER,\r\n  ADATE VARCHAR(8),\r\n"
              "  PN    INTEGER,\r\n  PDATE VARCHAR(8),\r\n  RN    INTEGER,\r\n"
              "  RDATE VARCHAR(8)\r\n  );\r\n");
    EXPECT_TRUE(storage::CreateRevisionTable(db, "REV_12"));
    EXPECT_EQ(lastSent(),
              "CREATE TABLE REV_12 (\r\n  N INTEGER NOT NULL UNIQUE,\r\n  ZN    INTEGER,\r\n"
              "  CONT  VARCHAR(80),\r\n  RN    INTEGER,\r\n  RDATE VARCHAR(8)\r\n  );\r\n");

    // Each "*" row has the column count readers size their buffers by.
    const std::pair<const char*, int> widths[] = {
        {"SECTION", storage::kSectionColumns},  {"MEMBER", storage::kMemberColumns},
        {"COMPANY", storage::kCompanyColumns},  {"ZPROJECT", storage::kProjectColumns},
        {"ZPRJ_12", storage::kNameTreeColumns}, {"ZMN_12", storage::kDrawingColumns},
        {"REV_12", storage::kRevisionColumns}};
    for (const auto& [table, width] : widths) {
        Row wide(30, "x");
        ASSERT_TRUE(db.InsertRow(table, {"N"}, {"1"})) << table;
        EXPECT_EQ(db.SelectColumns("*", table, "", wide), width) << table;
    }
}

}  // namespace
