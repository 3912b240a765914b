#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/database_fixture.h"
#include "storage/firebird_client.h"
#include "storage/schema.h"
#include "text/mbcs.h"
#include "text/platform.h"

using storage::Database;
using storage::Row;
using testing_support::EmbeddedDatabaseTest;
using testing_support::ServerDatabaseTest;
using testing_support::TempFolder;

namespace {

// Two-byte names, two of them with 0x5C as second byte, and a quote.
const std::string kTrickyNames[] = {
    "\x83\x5C\x83\x74\x83\x67",  // ソフト
    "\x95\x5C\x8E\xA6",          // 表示
    "\x90\xDD\x8C\x76\x95\x94",  // 設計部
    "O'Neil",
};

// Stores every tricky name in SECTION and reads each back byte for byte.
void ExpectNamesRoundTrip(Database& db)
{
    ASSERT_TRUE(storage::CreateSectionTable(db));
    int n = 0;
    for (const auto& name : kTrickyNames)
        ASSERT_TRUE(
            db.InsertRow("SECTION", {"N", "SNAME"}, {std::to_string(++n), text::SqlText(name)}));
    ASSERT_EQ(db.SelectOrdered("*", "SECTION", "", "N"), n);
    Row row(storage::kSectionColumns);
    db.FetchFirst(row);
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(row[0], std::to_string(i + 1));
        EXPECT_EQ(row[1], kTrickyNames[i]);
        db.FetchNext(row);
    }
    db.CloseQuery();
    EXPECT_EQ(db.SelectAllWhere("SECTION", "SNAME=" + text::SqlText(kTrickyNames[0])), 1);
}

// Files of this process in a folder, listed or not (a temporary file may have
// no name); 0 where the system does not tell.
int FilesOpenUnder(const QString& folder)
{
    const QDir open(QStringLiteral("/proc/self/fd"));
    int count = 0;
    for (const QString& fd : open.entryList(QDir::AllEntries | QDir::System))
        count += QFile::symLinkTarget(open.filePath(fd)).startsWith(folder) ? 1 : 0;
    return count +
           QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size();
}

class DatabaseTest : public EmbeddedDatabaseTest {
protected:
    void SetUp() override
    {
        EmbeddedDatabaseTest::SetUp();
        ASSERT_TRUE(storage::CreateMemberTable(db));
    }

    void addMember(int n, int section, const std::string& name)
    {
        ASSERT_TRUE(
            db.InsertRow("MEMBER", {"N", "SN", "PNAME"},
                         {std::to_string(n), std::to_string(section), text::SqlText(name)}));
    }
};

TEST_F(DatabaseTest, Cp932NamesRoundTripByteForByte)
{
    ExpectNamesRoundTrip(db);
}

TEST_F(DatabaseTest, FailedModificationChangesNothingAndLeavesNoTransaction)
{
    addMember(1, 0, "A");
    EXPECT_FALSE(db.InsertRow("MEMBER", {"N", "PNAME"}, {"1", "'dup'"}));     // unique N
    EXPECT_FALSE(db.InsertRow("MEMBER", {"N", "PNAME"}, {"2", "unquoted"}));  // rejected text
    EXPECT_FALSE(db.UpdateRow("NO_SUCH", {"N"}, {"1"}, ""));
    EXPECT_FALSE(db.TransactionActive());
    EXPECT_FALSE(db.QueryOpen());
    EXPECT_EQ(db.SelectAllWhere("MEMBER", ""), 1);

    // A change of several rows is all or nothing: N=2 already taken makes it fail whole.
    addMember(2, 0, "B");
    EXPECT_FALSE(db.UpdateRow("MEMBER", {"N"}, {"2"}, ""));
    Row row(3);
    EXPECT_EQ(db.SelectColumns("*", "MEMBER", "N=1", row), 3);
    EXPECT_EQ(row[2], "A");

    // The next operation works as if nothing had happened.
    addMember(3, 0, "C");
    EXPECT_EQ(db.SelectAllWhere("MEMBER", ""), 3);
}

TEST_F(DatabaseTest, ChangesInOneTransactionAreCommittedTogetherOrNotAtAll)
{
    addMember(1, 0, "A");
    addMember(2, 0, "B");
    const storage::Lines drop2 = storage::DeleteRowsLines("MEMBER", "N=2");
    sent.clear();
    // The insert fails on the taken N=1, so the deletion before it is undone.
    EXPECT_FALSE(db.ExecuteInOneTransaction(
        {drop2, storage::InsertRowLines("MEMBER", {"N", "PNAME"}, {"1", "'X'"})}));
    EXPECT_FALSE(db.TransactionActive());
    EXPECT_EQ(db.SelectAllWhere("MEMBER", ""), 2);

    const storage::Lines add3 = storage::InsertRowLines("MEMBER", {"N", "PNAME"}, {"3", "'C'"});
    sent.clear();
    EXPECT_TRUE(db.ExecuteInOneTransaction({drop2, add3}));
    EXPECT_FALSE(db.TransactionActive());
    EXPECT_EQ(sent, (std::vector<std::string>{storage::JoinStatement(drop2),
                                              storage::JoinStatement(add3)}));
    EXPECT_FALSE(db.SelectExists("MEMBER", "N", "", 2));
    EXPECT_TRUE(db.SelectExists("MEMBER", "N", "PNAME='C'", 3));
    EXPECT_FALSE(db.ExecuteInOneTransaction({}));
}

TEST_F(DatabaseTest, ModificationsWithoutConditionTouchEveryRow)
{
    addMember(1, 0, "A");
    addMember(2, 0, "B");
    EXPECT_TRUE(db.UpdateRow("MEMBER", {"SN"}, {"7"}, ""));
    EXPECT_EQ(db.SelectAllWhere("MEMBER", "SN=7"), 2);
    EXPECT_TRUE(db.UpdateSet("MEMBER", "PNAME='Z',SN=8", "N=2"));
    EXPECT_TRUE(db.SelectExists("MEMBER", "SN", "PNAME='Z'", 8));
    EXPECT_FALSE(db.SelectExists("MEMBER", "SN", "", 9));
    EXPECT_TRUE(db.DeleteRows("MEMBER", ""));
    EXPECT_EQ(db.SelectAllWhere("MEMBER", ""), 0);
    // A statement that matches nothing still succeeds.
    EXPECT_TRUE(db.DeleteRows("MEMBER", "N=99"));
}

TEST_F(DatabaseTest, SelectsReportTheirResultsAndFailures)
{
    EXPECT_EQ(db.SelectMax("MEMBER", "N", ""), "");
    EXPECT_EQ(db.SelectAllWhere("MEMBER", ""), 0);
    addMember(5, 2, "E");
    addMember(12, 2, "L");
    db.InsertRow("MEMBER", {"N"}, {"20"});  // NULL SN and PNAME
    EXPECT_EQ(db.SelectMax("MEMBER", "N", ""), "20");
    EXPECT_EQ(db.SelectMax("MEMBER", "N", "SN=2"), "12");
    EXPECT_EQ(db.SelectMax("MEMBER", "N", "SN=9"), "");

    Row untouched{"keep", "keep", "keep"};
    EXPECT_EQ(db.SelectColumns("*", "MEMBER", "N=99", untouched), -1);
    EXPECT_EQ(untouched, (Row{"keep", "keep", "keep"}));
    Row nulls{"x", "x", "x"};
    EXPECT_EQ(db.SelectColumns("*", "MEMBER", "N=20", nulls), 3);
    EXPECT_EQ(nulls, (Row{"20", "", ""}));
    Row small(1);
    EXPECT_EQ(db.SelectColumns("*", "MEMBER", "N=5", small), 1);  // never past the buffer
    EXPECT_EQ(small[0], "5");

    EXPECT_EQ(db.SelectAllWhere("NO_SUCH", ""), -1);
    EXPECT_FALSE(db.SelectExists("NO_SUCH", "N", "", 1));
    EXPECT_EQ(db.SelectMax("NO_SUCH", "N", ""), "");
    EXPECT_EQ(db.SelectColumns("*", "NO_SUCH", "", untouched), -1);
    EXPECT_EQ(db.SelectOrdered("*", "NO_SUCH", "", "N"), 0);
    EXPECT_EQ(db.SelectOrdered("*", "MEMBER", "PNAME=unquoted", "N"), 0);
    EXPECT_FALSE(db.TransactionActive());
    EXPECT_FALSE(db.QueryOpen());
    EXPECT_EQ(db.SelectAllWhere("MEMBER", ""), 3);
}

TEST_F(DatabaseTest, FetchingWalksTheOrderedRowsAndEmptiesPastTheEnd)
{
    Row row{"x", "x", "x"};
    EXPECT_EQ(db.SelectOrdered("*", "MEMBER", "", "N"), 0);
    db.FetchFirst(row);
    EXPECT_EQ(row, (Row{"", "", ""}));
    db.CloseQuery();

    for (int n = 1; n <= 2500; ++n)
        addMember(n, n % 3, "M" + std::to_string(n));
    ASSERT_EQ(db.SelectOrdered("N,PNAME", "MEMBER", "SN=1", "N DESC"), 834);
    Row pair(3, "untouched");
    db.FetchFirst(pair);
    EXPECT_EQ(pair, (Row{"2500", "M2500", "untouched"}));
    for (int i = 1; i < 834; ++i)
        db.FetchNext(pair);
    EXPECT_EQ(pair[0], "1");
    db.FetchNext(pair);
    EXPECT_EQ(pair, (Row{"", "", "untouched"}));
    db.FetchNext(pair);
    EXPECT_EQ(pair[0], "");
    db.FetchFirst(pair);  // back to the start after the end was passed
    EXPECT_EQ(pair[0], "2500");

    // The select's transaction stays until the next operation ends it.
    db.CloseQuery();
    EXPECT_TRUE(db.TransactionActive());
    EXPECT_FALSE(db.QueryOpen());
    db.FetchNext(pair);  // nothing open: nothing happens
    EXPECT_EQ(pair[0], "2500");
    db.CloseCursor();
    EXPECT_FALSE(db.TransactionActive());
}

TEST_F(DatabaseTest, LargeResultStaysOutOfTheTemporaryFolderAndAFailedReadFails)
{
    ASSERT_TRUE(db.ExecuteDdl({"CREATE TABLE BIG (N INTEGER, T VARCHAR(1000));"}));
    ASSERT_TRUE(
        db.ExecuteDdl({"EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN", "WHILE (I < 6000) DO BEGIN",
                       "INSERT INTO BIG VALUES (:I, LPAD(:I, 900, 'x')); I = I + 1;", "END END"}));
    // Over 5 MiB of rows, read while every temporary file would land in an empty folder.
    TempFolder scratch;
    const QByteArray savedTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QByteArray::fromStdString(scratch.path()));
    ASSERT_EQ(db.SelectOrdered("N,T", "BIG", "", "N"), 6000);
    EXPECT_EQ(FilesOpenUnder(QString::fromStdString(scratch.path())), 0);
    int n = 0;
    db.FetchEach(6000, 2, [&](const Row& row) {
        const std::string number = std::to_string(n++);
        ASSERT_EQ(row[0], number);
        ASSERT_EQ(row[1], std::string(900 - number.size(), 'x') + number);
    });
    EXPECT_EQ(n, 6000);
    qputenv("TMPDIR", savedTmp);

    // A value the server cannot compute at the last row fails the whole read.
    EXPECT_EQ(db.SelectOrdered("N,1/(N-5999)", "BIG", "", "N"), 0);
    EXPECT_FALSE(db.QueryOpen());
    ASSERT_TRUE(db.OpenQuery({"SELECT N,1/(N-5999) FROM BIG;"}));
    ASSERT_TRUE(db.QueryFirst());
    EXPECT_EQ(db.QueryRow()[0], "0");
    EXPECT_FALSE(db.QueryMoveBy(5999));
    EXPECT_FALSE(db.QueryOpen());
}

TEST_F(DatabaseTest, SharedQueryPagesWithoutReadingAhead)
{
    for (int n = 1; n <= 250; ++n)
        addMember(n, 0, "M");
    db.CloseCursor();
    ASSERT_TRUE(db.OpenQuery({"SELECT * FROM MEMBER", "  ORDER BY N;"}));
    ASSERT_TRUE(db.QueryFirst());
    ASSERT_TRUE(db.QueryMoveBy(199));
    std::vector<std::string> seen;
    while (!db.QueryEof()) {
        seen.push_back(db.QueryRow()[0]);
        db.QueryNext();
    }
    ASSERT_EQ(seen.size(), 51u);
    EXPECT_EQ(seen.front(), "200");
    EXPECT_EQ(seen.back(), "250");
    EXPECT_TRUE(db.QueryRow().empty());

    ASSERT_TRUE(db.QueryFirst());
    EXPECT_TRUE(db.QueryMoveBy(1000));  // past the end is the end, not a failure
    EXPECT_TRUE(db.QueryEof());
    db.CloseQuery();

    db.CloseCursor();
    EXPECT_FALSE(db.OpenQuery({"SELECT * FROM NOWHERE;"}));
    EXPECT_FALSE(db.TransactionActive());
    EXPECT_TRUE(db.QueryEof());
}

TEST_F(DatabaseTest, TablesAreFoundIgnoringCaseAndCreatedOnce)
{
    EXPECT_TRUE(db.TableExists("member"));
    EXPECT_TRUE(db.TableExists("MEMBER"));
    EXPECT_FALSE(db.TableExists("MEMBE"));
    EXPECT_FALSE(db.TableExists("SECTION"));

    addMember(1, 0, "A");
    EXPECT_FALSE(storage::CreateMemberTable(db));  // exists: fails, data kept
    EXPECT_FALSE(db.TransactionActive());
    EXPECT_EQ(db.SelectAllWhere("MEMBER", ""), 1);

    sent.clear();
    EXPECT_FALSE(db.ExecuteDdl({}));
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(storage::CreateNameTreeTable(db, "ZPRJ_7"));
    EXPECT_TRUE(db.TableExists("zprj_7"));
}

TEST_F(DatabaseTest, ClosedConnectionFailsEverythingWithoutSending)
{
    addMember(1, 0, "A");
    db.DisconnectDatabase();
    sent.clear();
    Row row{"k", "k", "k"};
    EXPECT_FALSE(db.Connected());
    EXPECT_FALSE(db.TableExists("MEMBER"));
    EXPECT_FALSE(storage::CreateSectionTable(db));
    EXPECT_FALSE(db.InsertRow("MEMBER", {"N"}, {"2"}));
    EXPECT_FALSE(db.UpdateRow("MEMBER", {"N"}, {"2"}, ""));
    EXPECT_FALSE(db.UpdateSet("MEMBER", "N=2", ""));
    EXPECT_FALSE(db.DeleteRows("MEMBER", ""));
    EXPECT_FALSE(db.ExecuteInOneTransaction({storage::DeleteRowsLines("MEMBER", "")}));
    EXPECT_EQ(db.SelectAllWhere("MEMBER", ""), -1);
    EXPECT_FALSE(db.SelectExists("MEMBER", "N", "", 1));
    EXPECT_EQ(db.SelectMax("MEMBER", "N", ""), "");
    EXPECT_EQ(db.SelectColumns("*", "MEMBER", "", row), -1);
    EXPECT_EQ(db.SelectOrdered("*", "MEMBER", "", "N"), 0);
    EXPECT_FALSE(db.OpenQuery({"SELECT * FROM MEMBER;"}));
    db.FetchFirst(row);
    db.FetchNext(row);
    db.CloseQuery();
    db.CloseCursor();
    EXPECT_EQ(row, (Row{"k", "k", "k"}));
    EXPECT_TRUE(sent.empty());

    db.ConnectDatabase(path);  // and back again with the data intact
    ASSERT_TRUE(db.Connected());
    EXPECT_EQ(db.SelectAllWhere("MEMBER", ""), 1);
}

TEST(DatabaseCreation, ExistingFileIsLeftUntouchedAndMissingFolderFailsSilently)
{
    if (!text::HasEmbeddedDatabaseEngine())
        GTEST_SKIP() << "the files of this PC's own engine: there is none on this platform";
    TempFolder folder;
    const std::string path = folder.file("ZUMENDB.FDB");
    {
        Database db;
        db.CreateDatabase(path);
        ASSERT_TRUE(db.Connected());
        ASSERT_TRUE(storage::CreateSectionTable(db));
        ASSERT_TRUE(db.InsertRow("SECTION", {"N", "SNAME"}, {"1", "'kept'"}));
    }
    const qint64 size = QFileInfo(QString::fromStdString(path)).size();
    {
        Database db;
        db.CreateDatabase(path);  // a second create fails and harms nothing
        EXPECT_FALSE(db.Connected());
        db.ConnectDatabase(path);
        ASSERT_TRUE(db.Connected());
        Row row(2);
        EXPECT_EQ(db.SelectColumns("*", "SECTION", "", row), 2);
        EXPECT_EQ(row[1], "kept");
        db.CreateDatabase(folder.file("OTHER.FDB"));  // already connected: nothing happens
        EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.file("OTHER.FDB"))));
    }
    EXPECT_EQ(QFileInfo(QString::fromStdString(path)).size(), size);

    // A quote in the folder is part of the path, not the end of the statement's literal.
    QDir().mkpath(QString::fromStdString(folder.file("O'Brien")));
    {
        Database quoted;
        quoted.CreateDatabase(folder.file("O'Brien/ZUMENDB.FDB"));
        EXPECT_TRUE(quoted.Connected());
    }
    EXPECT_TRUE(QFile::exists(QString::fromStdString(folder.file("O'Brien/ZUMENDB.FDB"))));

    Database db;
    db.CreateDatabase(folder.file("missing/ZUMENDB.FDB"));
    EXPECT_FALSE(db.Connected());
    db.ConnectDatabase(folder.file("missing/ZUMENDB.FDB"));
    EXPECT_FALSE(db.Connected());
    db.ConnectDatabase("");
    EXPECT_FALSE(db.Connected());
}

TEST_F(ServerDatabaseTest, Cp932NamesRoundTripThroughTheServer)
{
    ExpectNamesRoundTrip(db);
    db.DisconnectDatabase();
    db.ConnectDatabase(path);
    ASSERT_TRUE(db.Connected());
    EXPECT_EQ(db.SelectAllWhere("SECTION", ""), 4);
}

TEST_F(ServerDatabaseTest, WrongPasswordIsRefusedAndLeavesTheConnectionClosed)
{
    db.DisconnectDatabase();
    storage::fb::Attachment attachment;
    EXPECT_THROW(attachment.attach(path, "SYSDBA", "wrong"), storage::fb::Error);
    EXPECT_FALSE(attachment.isOpen());
    attachment.attach(path, Database::kUser, Database::kPassword);
    EXPECT_TRUE(attachment.isOpen());
}

}  // namespace
