// k5x7-admin's backup, restore and check against real databases: embedded
// files, and the local server while other connections write.

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "common/database_fixture.h"
#include "common/temp_folder.h"
#include "drawings/name_tree_editing.h"
#include "storage/database.h"
#include "text/mbcs.h"
#include "tools/admin/backup_command.h"
#include "tools/admin/backup_files.h"
#include "tools/admin/backup_texts.h"
#include "tools/admin/check_command.h"
#include "tools/admin/demo_office.h"
#include "tools/admin/restore_command.h"
#include "tools/admin/restore_texts.h"
#include "tools/admin/seeder.h"
#include "tools/admin/table_counts.h"

namespace {

using storage::Database;
using testing_support::TempFolder;

void Seed(const std::string& path, int projects)
{
    Database db;
    db.ConnectDatabase(path);
    if (!db.Connected())
        db.CreateDatabase(path);
    ASSERT_TRUE(db.Connected()) << path;
    seed::OfficeOptions options;
    options.projects = projects;
    options.nodesPerProject = 6;
    options.filesFolder = "/srv/zumen/";
    ASSERT_TRUE(seed::SeedDatabase(db, seed::DemoOffice(options)).ok);
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

QStringList Entries(const std::string& folder)
{
    return QDir(QString::fromStdString(folder))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& line : lines)
        all += line + "\n";
    return all;
}

QDateTime At(const char* stamp)
{
    return QDateTime::fromString(stamp, "yyyyMMdd-HHmmss");
}

bool Contains(const std::string& haystack, const std::string& needle)
{
    return haystack.find(needle) != std::string::npos;
}

unsigned Mode(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// A small tmpfs of the test's own, gone with the test.
struct Mount {
    std::string point;
    bool mounted = false;
    Mount(const std::string& at, const char* options) : point(at)
    {
        QDir().mkpath(QString::fromStdString(point));
        mounted = mount("tmpfs", point.c_str(), "tmpfs", 0, options) == 0;
    }
    ~Mount()
    {
        if (mounted)
            umount(point.c_str());
    }
};

TEST(BackupFiles, NamesAndWhichAreKept)
{
    EXPECT_EQ(admin::DatabaseStem("srv:/data/ZUMENDB.FDB"), "ZUMENDB");
    EXPECT_EQ(admin::DatabaseStem("C:\\data\\A.B.FDB"), "A.B");
    EXPECT_EQ(admin::BackupFileName("ZUMENDB", At("20240305-070809")),
              "ZUMENDB-20240305-070809.fbk");
    EXPECT_TRUE(admin::IsBackupOf("ZUMENDB-20240305-070809.fbk", "ZUMENDB"));
    for (const char* other : {"ZUMENDB-20240305-0708.fbk", "ZUMENDBX-20240305-070809.fbk",
                              "ZUMENDB-20240305-070809.fbk.part", "ZUMENDB-2024030a-070809.fbk"})
        EXPECT_FALSE(admin::IsBackupOf(other, "ZUMENDB")) << other;
    const std::vector<std::string> newestFirst = {"c", "b", "a"};
    EXPECT_EQ(admin::BackupsBeyond(newestFirst, 2), std::vector<std::string>{"a"});
    EXPECT_TRUE(admin::BackupsBeyond(newestFirst, 3).empty());
}

// A backup taken while other connections keep adding nodes holds a moment of
// the database: every node has its drawing row, nothing committed before the
// backup began is missing, and the copy restores elsewhere. Older backups
// beyond --keep go, other files stay.
TEST(Backup, WhileOthersWriteOnTheServer)
{
    const std::string file = testing_support::ServerTestFolder() +
                             QUuid::createUuid().toString(QUuid::Id128).toStdString() + ".FDB";
    const std::string path = "localhost:" + file;
    {
        Database probe;
        probe.CreateDatabase(path);
        if (!probe.Connected()) {
            if (testing_support::ServerRequired())
                FAIL() << "the local server did not create " << path;
            GTEST_SKIP() << "no local Firebird server";
        }
    }
    struct Cleanup {
        std::string file;
        ~Cleanup() { QFile::remove(QString::fromStdString(file)); }
    } cleanup{file};
    ASSERT_NO_FATAL_FAILURE(Seed(path, 3));
    const long long seeded = admin::TotalRows(*admin::CountRows(path));

    TempFolder folder;
    for (const char* old : {"20200101-000000", "20200102-000000", "20200103-000000"})
        std::ofstream(folder.file(admin::BackupFileName(admin::DatabaseStem(file), At(old))));
    std::ofstream(folder.file("notes.txt")) << "keep";

    std::atomic<bool> stop{false};
    std::atomic<int> added{0};
    std::vector<std::thread> writers;
    for (int w = 0; w < 2; ++w)
        writers.emplace_back([&, w] {
            Database db;
            db.ConnectDatabase(path);
            drawings::NameTreeEditor editor(db, drawings::ProjectTables(1 + w));
            while (!stop)
                if (editor.CreateNode(0, "w", 1, drawings::EmptyDrawingValues()).created())
                    ++added;
        });
    while (added < 10)
        std::this_thread::yield();
    const long long beforeBackup = admin::TotalRows(*admin::CountRows(path));
    const admin::BackupReport report =
        admin::RunBackup({path, folder.path(), 2}, At("20240305-070809"));
    const int addedByEnd = added;
    stop = true;
    for (std::thread& t : writers)
        t.join();

    ASSERT_TRUE(report.ok) << Joined(report.problems);
    EXPECT_TRUE(report.problems.empty()) << Joined(report.problems);
    EXPECT_GE(report.rows, beforeBackup);
    EXPECT_LE(report.rows, seeded + 2 * addedByEnd);
    EXPECT_EQ(report.removed.size(), 2u);
    QStringList left = Entries(folder.path());
    left.sort();
    EXPECT_EQ(left, (QStringList{QString::fromStdString(admin::BackupFileName(
                                     admin::DatabaseStem(file), At("20200103-000000"))),
                                 QString::fromStdString(admin::BackupFileName(
                                     admin::DatabaseStem(file), At("20240305-070809"))),
                                 "notes.txt"}));

    const std::string copy = folder.file("COPY.FDB");
    const admin::RestoreReport restored = admin::RunRestore({report.file, copy, false});
    ASSERT_TRUE(restored.ok) << Joined(restored.problems);
    EXPECT_EQ(restored.rows, report.rows);
    const admin::CheckReport check = admin::RunCheck(copy);
    EXPECT_TRUE(check.reached);
    std::string problems;
    for (const admin::Problem& p : check.problems)
        problems += admin::ProblemLine(p) + "\n";
    EXPECT_TRUE(check.problems.empty()) << problems;
}

// Each refusal leaves the folder as it was: no half-written or unproven file.
TEST(Backup, FailuresLeaveNothingBehind)
{
    TempFolder folder;
    const std::string db = folder.file("ZUMENDB.FDB");
    ASSERT_NO_FATAL_FAILURE(Seed(db, 1));
    const std::string target = folder.file("bk/");
    QDir().mkpath(QString::fromStdString(target));
    const QDateTime now = At("20240305-070809");

    admin::BackupReport report = admin::RunBackup({folder.file("NONE.FDB"), target, 14}, now);
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(Contains(Joined(report.problems), admin::backup_texts::kDatabaseUnreachable));
    report = admin::RunBackup({db, folder.file("missing/"), 14}, now);
    EXPECT_TRUE(Contains(Joined(report.problems), admin::backup_texts::kFolderMissing));
    EXPECT_TRUE(Entries(target).isEmpty());

    // A file system too small for the backup, then one that cannot be written.
    Mount small(folder.file("small/"), "size=12k");
    if (!small.mounted)
        GTEST_SKIP() << "cannot mount a small file system here (needs root)";
    report = admin::RunBackup({db, small.point, 14}, now);
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(Contains(Joined(report.problems), admin::backup_texts::kDiskFull))
        << Joined(report.problems);
    EXPECT_TRUE(Entries(small.point).isEmpty());
    ASSERT_EQ(mount(nullptr, small.point.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, "size=12k"), 0);
    report = admin::RunBackup({db, small.point, 14}, now);
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(Contains(Joined(report.problems), admin::backup_texts::kBackupFailed));
}

TEST(Restore, NeverOverwritesUnlessToldAndNeverFromADamagedFile)
{
    TempFolder folder;
    const std::string source = folder.file("SOURCE.FDB");
    ASSERT_NO_FATAL_FAILURE(Seed(source, 2));
    const admin::BackupReport backup =
        admin::RunBackup({source, folder.path(), 14}, At("20240305-070809"));
    ASSERT_TRUE(backup.ok) << Joined(backup.problems);
    // The office's whole database is in it: no one else reads it, nor the restored copy.
    EXPECT_EQ(Mode(backup.file), 0600u);
    const QStringList beforeNew = Entries(folder.path());
    ASSERT_TRUE(admin::RunRestore({backup.file, folder.file("NEW.FDB"), false}).ok);
    EXPECT_EQ(Mode(folder.file("NEW.FDB")), 0600u);
    QStringList withNew = beforeNew + QStringList{"NEW.FDB"};
    withNew.sort();
    EXPECT_EQ(Entries(folder.path()), withNew);

    const std::string target = folder.file("TARGET.FDB");
    ASSERT_NO_FATAL_FAILURE(Seed(target, 1));
    const std::string original = FileBytes(target);
    admin::RestoreReport report = admin::RunRestore({backup.file, target, false});
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(FileBytes(target) == original);

    const std::string damaged = folder.file("damaged.fbk");
    std::ofstream(damaged, std::ios::binary) << FileBytes(backup.file).substr(0, 20000);
    const QStringList before = Entries(folder.path());
    report = admin::RunRestore({damaged, target, true});
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(FileBytes(target) == original);
    EXPECT_EQ(Entries(folder.path()), before);

    report = admin::RunRestore({backup.file, target, true});
    ASSERT_TRUE(report.ok) << Joined(report.problems);
    EXPECT_EQ(admin::CountRows(target), admin::CountRows(source));
}

// --replace when the new database cannot be completed: the disk fills part-way through the
// restore. The old database is still there with its rows, nothing of the attempt is left, and
// the message says so; then, with room, the new one takes its place. On the server the data
// folder is firebird's, as office-server makes it.
TEST(Restore, ReplaceKeepsTheOldDatabaseUntilTheNewOneIsChecked)
{
    TempFolder folder;
    const std::string source = folder.file("SOURCE.FDB");
    ASSERT_NO_FATAL_FAILURE(Seed(source, 10));
    const admin::BackupReport backup =
        admin::RunBackup({source, folder.path(), 14}, At("20240305-070809"));
    ASSERT_TRUE(backup.ok) << Joined(backup.problems);
    const qint64 sourceSize = QFileInfo(QString::fromStdString(source)).size();
    const passwd* firebird = getpwnam("firebird");

    for (const bool onServer : {false, true}) {
        SCOPED_TRACE(onServer ? "server" : "local");
        const std::string under =
            onServer ? testing_support::ServerTestFolder() +
                           QUuid::createUuid().toString(QUuid::Id128).toStdString() + "/"
                     : folder.file("local/");
        std::string options = "size=64m";
        if (onServer && firebird)
            options += ",mode=0700,uid=" + std::to_string(firebird->pw_uid) +
                       ",gid=" + std::to_string(firebird->pw_gid);
        // Removed after the file system is gone.
        struct Remove {
            std::string folder;
            ~Remove()
            {
                if (!folder.empty())
                    QDir(QString::fromStdString(folder)).removeRecursively();
            }
        } remove{onServer ? under : std::string()};
        Mount small(under, options.c_str());
        if (!small.mounted)
            GTEST_SKIP() << "cannot mount a small file system here (needs root)";
        const std::string file = under + "ZUMENDB.FDB";
        const std::string path = onServer ? "localhost:" + file : file;
        {
            Database db;
            db.CreateDatabase(path);
            if (!db.Connected()) {
                if (onServer && !testing_support::ServerRequired())
                    GTEST_SKIP() << "no local Firebird server";
                FAIL() << "cannot create " << path;
            }
        }
        ASSERT_NO_FATAL_FAILURE(Seed(path, 1));
        const std::optional<admin::TableCounts> old = admin::CountRows(path);
        ASSERT_TRUE(old);
        const QStringList before = Entries(under);
        // Room for half the new database beside the old one.
        const qint64 room = QFileInfo(QString::fromStdString(file)).size() + sourceSize / 2;
        ASSERT_EQ(mount(nullptr, under.c_str(), nullptr, MS_REMOUNT,
                        ("size=" + std::to_string(room)).c_str()),
                  0);

        admin::RestoreReport report = admin::RunRestore({backup.file, path, true});
        EXPECT_FALSE(report.ok);
        EXPECT_TRUE(Contains(Joined(report.problems), admin::restore_texts::kKeptOld))
            << Joined(report.problems);
        EXPECT_EQ(admin::CountRows(path), old);
        EXPECT_EQ(Entries(under), before);

        // Not while another connection has it open.
        ASSERT_EQ(mount(nullptr, under.c_str(), nullptr, MS_REMOUNT, "size=64m"), 0);
        if (onServer) {
            Database other;
            other.ConnectDatabase(path);
            report = admin::RunRestore({backup.file, path, true});
            EXPECT_FALSE(report.ok);
            EXPECT_TRUE(Contains(Joined(report.problems), admin::restore_texts::kInUse));
            EXPECT_EQ(admin::CountRows(path), old);
            EXPECT_EQ(Entries(under), before);
        }
        report = admin::RunRestore({backup.file, path, true});
        ASSERT_TRUE(report.ok) << Joined(report.problems);
        EXPECT_EQ(admin::CountRows(path), admin::CountRows(source));
        EXPECT_EQ(Entries(under), before);
        if (onServer && firebird) {
            struct stat status {};
            ASSERT_EQ(stat(file.c_str(), &status), 0);
            EXPECT_EQ(status.st_uid, firebird->pw_uid);
        }
    }
}

TEST(Check, SeededDatabaseHasNoProblem)
{
    TempFolder folder;
    const std::string db = folder.file("ZUMENDB.FDB");
    ASSERT_NO_FATAL_FAILURE(Seed(db, 3));
    const admin::CheckReport report = admin::RunCheck(db);
    EXPECT_TRUE(report.reached);
    EXPECT_TRUE(report.problems.empty()) << admin::ProblemLine(report.problems.front());
    std::ostringstream out, err;
    EXPECT_EQ(admin::RunCheckCommand({folder.file("NONE.FDB")}, out, err), 1);
}

// Rows another program wrote: every fault is reported with its table and N,
// and NULLs where the application writes numbers and dates are no fault.
TEST(Check, ReportsEveryPlantedFault)
{
    TempFolder folder;
    const std::string path = folder.file("ZUMENDB.FDB");
    ASSERT_NO_FATAL_FAILURE(Seed(path, 2));
    std::string twice;
    {
        Database db;
        db.ConnectDatabase(path);
        ASSERT_TRUE(db.Connected());
        auto run = [&](const std::string& sql) { ASSERT_TRUE(db.ExecuteDdl({sql})) << sql; };
        run("INSERT INTO ZPRJ_1 (N, NAME, MN, PARENT_N) VALUES (901, 'a', NULL, 0)");
        run("INSERT INTO ZMN_1 (N) VALUES (902)");
        run("INSERT INTO ZMN_1 (N) VALUES (0)");
        run("INSERT INTO REV_1 (N, ZN, RN) VALUES (903, 77777, NULL)");
        run("INSERT INTO ZPRJ_2 (N, NAME, PARENT_N) VALUES (904, 'b', 88888)");
        run("INSERT INTO ZMN_2 (N) VALUES (904)");
        run("INSERT INTO ZPRJ_2 (N, NAME, PARENT_N) VALUES (905, 'c', NULL)");
        run("INSERT INTO ZMN_2 (N, KN, DDATE, UDATE) VALUES (905, 999, '20240230', 'abc')");
        // A node of the seeded tree given a second drawing row, twice over: one problem. Tables
        // another program made may lack the key that refuses it, so this one loses it.
        ASSERT_TRUE(
            db.OpenQuery({"SELECT RDB$CONSTRAINT_NAME FROM RDB$RELATION_CONSTRAINTS "
                          "WHERE RDB$RELATION_NAME = 'ZMN_1' AND RDB$CONSTRAINT_TYPE = 'UNIQUE'"}));
        ASSERT_TRUE(db.QueryFirst() && !db.QueryEof());
        std::string key = db.QueryRow()[0];
        db.CloseCursor();
        key.erase(key.find_last_not_of(' ') + 1);
        run("ALTER TABLE ZMN_1 DROP CONSTRAINT " + key);
        twice = db.SelectMax("ZMN_1", "N", "N < 900");
        ASSERT_FALSE(twice.empty());
        run("INSERT INTO ZMN_1 (N) VALUES (" + twice + ")");
        run("INSERT INTO ZMN_1 (N) VALUES (" + twice + ")");
        run("INSERT INTO MEMBER (N, SN, PNAME) VALUES (906, 555, NULL)");
        run("INSERT INTO ZPROJECT (N, MN, CN, NDATE) VALUES (907, 0, 666, '2024010')");
        run("CREATE TABLE ZPRJ_908 (N INTEGER NOT NULL UNIQUE, NAME VARCHAR(32), MN INTEGER, "
            "PARENT_N INTEGER)");
    }
    const admin::CheckReport report = admin::RunCheck(path);
    std::string lines;
    for (const admin::Problem& p : report.problems)
        lines += admin::ProblemLine(p) + "\n";
    for (const char* expected :
         {"ZPRJ_1 N=901: ", "ZMN_1 N=902: ", "ZMN_1 N=0: ", "REV_1 N=903: ZN 77777",
          "ZPRJ_2 N=904: PARENT_N 88888", "ZPRJ_2 N=905: ", "ZMN_2 N=905: KN 999",
          "ZMN_2 N=905: DDATE", "ZMN_2 N=905: UDATE", "MEMBER N=906: SN 555",
          "ZPROJECT N=907: CN 666", "ZPROJECT N=907: NDATE", "ZPRJ_908: "})
        EXPECT_TRUE(Contains(lines, expected)) << expected << " not in\n" << lines;
    EXPECT_TRUE(Contains(lines, "ZMN_1 N=" + twice + ": この節の図面の行が二つ以上あります"))
        << lines;
    EXPECT_EQ(report.problems.size(), 14u) << lines;

    std::ostringstream out, err;
    EXPECT_EQ(admin::RunCheckCommand({path}, out, err), 1);
}

// A damaged data page is found by Firebird's validation and reported as such.
TEST(Check, DamagedPageIsReported)
{
    TempFolder folder;
    const std::string path = folder.file("ZUMENDB.FDB");
    ASSERT_NO_FATAL_FAILURE(Seed(path, 4));
    std::string bytes = FileBytes(path);
    constexpr std::size_t kPage = 4096;  // the page size the application creates with
    std::size_t damaged = 0;
    for (std::size_t page = bytes.size() / kPage; page-- > 0 && !damaged;) {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(&bytes[page * kPage]);
        const int relation = p[20] | (p[21] << 8);
        // A data page of a user table with rows: its first row's place.
        if (p[0] == 5 && relation >= 128 && (p[22] | p[23])) {
            std::fill_n(&bytes[page * kPage + 24], 4, '\xFF');
            damaged = page;
        }
    }
    ASSERT_NE(damaged, 0u);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    const admin::CheckReport report = admin::RunCheck(path);
    ASSERT_FALSE(report.problems.empty());
    EXPECT_TRUE(Contains(admin::ProblemLine(report.problems.front()), "ERROR") ||
                Contains(admin::ProblemLine(report.problems.front()), "Error"))
        << admin::ProblemLine(report.problems.front());
}

}  // namespace
