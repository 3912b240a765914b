// The lists as files: exact CSV bytes, a workbook read back by another
// reader, and files that cannot be written whole.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "projects/project_list_report.h"
#include "report_fixture.h"
#include "reports/csv_report.h"
#include "reports/report_export.h"
#include "reports/report_texts.h"
#include "reports/sheet_check.h"
#include "reports/xlsx_report.h"

using reports::CsvEncoding;
using reports::ExportReport;
using reports::ReportFormat;
using reports::ReportResult;
using reports::ReportStatus;
using testing_support::FileBytes;
using testing_support::kEdgeChars;
using testing_support::Sj;

namespace {

// The descriptors this process has open; -1 where the system does not tell.
int OpenDescriptors()
{
    const QDir open(QStringLiteral("/proc/self/fd"));
    return open.exists() ? static_cast<int>(open.entryList(QDir::AllEntries | QDir::System).size())
                         : -1;
}

class ReportFilesTest : public testing_support::ReportDatabaseTest {
protected:
    text::TextTable Projects()
    {
        return projects::ProjectListTable(db, "", "N", {56, 240, 240, 110, 100, 40});
    }

    QString Target(const char* name) const { return QString::fromStdString(folder.file(name)); }

    QStringList FolderEntries(const QString& dir) const
    {
        return QDir(dir).entryList(QDir::Files | QDir::Hidden);
    }
};

TEST_F(ReportFilesTest, CsvCarriesTheStoredBytesQuotedInCp932AndUtf8)
{
    const std::string done = Sj("済"), notDone = Sj("未");
    const std::string cp932 = Sj("番号,プロジェクト名,表題,納期,納品日付,済") + "\r\n" +
                              "1,\"a,b\",\"say \"\"hi\"\"\",\"line1\r\nline2\",20240401," + done +
                              "\r\n" + "2," + kEdgeChars + ",x y\tz w,,abcd," + notDone + "\r\n" +
                              "3,,,,," + notDone + "\r\n" + "7," + Sj("港北") + "," +
                              Sj("集合住宅") + ",,," + notDone + "\r\n";
    const ReportResult written = ExportReport(Projects(), {Target("p.csv"), ReportFormat::Csv});
    ASSERT_TRUE(written.done()) << written.message.toStdString();
    EXPECT_EQ(FileBytes(Target("p.csv")), cp932);

    const std::string utf8 =
        "\xEF\xBB\xBF"
        "番号,プロジェクト名,表題,納期,納品日付,済\r\n"
        "1,\"a,b\",\"say \"\"hi\"\"\",\"line1\r\nline2\",20240401,済\r\n"
        "2,≒纊黑,x y\tz w,,abcd,未\r\n"
        "3,,,,,未\r\n"
        "7,港北,集合住宅,,,未\r\n";
    ASSERT_TRUE(ExportReport(Projects(), {Target("u.csv"), ReportFormat::Csv, CsvEncoding::Utf8Bom})
                    .done());
    EXPECT_EQ(FileBytes(Target("u.csv")), utf8);
}

TEST(CsvReport, ACellThatASpreadsheetWouldRunAsAFormulaStaysText)
{
    text::TextTable table;
    table.headers = {"a", "b", "c", "d", "e", "f"};
    table.rows =
        text::RowsOf({{"=HYPERLINK(\"http://x\")", "@SUM(A1)", "+cmd", "-12.5", "+81", "\t=1"},
                      {"a=b", "-", "-x", "1-2", "", "@"}});
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(reports::WriteCsv(table, CsvEncoding::Cp932, out).done());
    EXPECT_EQ(out.data().toStdString(),
              "a,b,c,d,e,f\r\n"
              "\"'=HYPERLINK(\"\"http://x\"\")\",'@SUM(A1),'+cmd,-12.5,+81,'\t=1\r\n"
              "a=b,'-,'-x,1-2,,'@\r\n");
}

TEST_F(ReportFilesTest, WorkbookReadBackByAnotherReader)
{
    // Debian's own interpreter, which the package extends.
    const QString python = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    if (QProcess::execute(python, {"-c", "import openpyxl"}) != 0)
        GTEST_SKIP() << "python3-openpyxl is not installed";
    ASSERT_TRUE(ExportReport(Projects(), {Target("p.xlsx"), ReportFormat::Xlsx}).done());
    const char* script = R"(
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).active
print(ws.title, ws.freeze_panes, ws['A1'].font.b, ws['B2'].font.b,
      round(ws.column_dimensions['B'].width, 1), ws.max_row)
for row in ws.iter_rows(min_row=1, values_only=True):
    print('|'.join('' if v is None else type(v).__name__ + ':' + str(v) for v in row))
)";
    const std::string out = testing_support::RunTool(python, {"-c", script, Target("p.xlsx")});
    EXPECT_EQ(out,
              "プロジェクト一覧表示 A2 True False 34.3 5\n"
              "str:番号|str:プロジェクト名|str:表題|str:納期|str:納品日付|str:済\n"
              "int:1|str:a,b|str:say \"hi\"|str:line1\nline2|str:20240401|str:済\n"
              "int:2|str:≒纊黑|str:x y\tz w||str:abcd|str:未\n"
              "int:3|||||str:未\n"
              "int:7|str:港北|str:集合住宅|||str:未\n");
}

TEST_F(ReportFilesTest, AFileThatCannotBeWrittenWholeLeavesTheTargetAsItWas)
{
    const QString target = Target("p.csv");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();

    // Stopped, and rows that could not be read: the old file stays, nothing else appears.
    const reports::ReportResult stopped =
        ExportReport(Projects(), {target, ReportFormat::Csv}, [](int, int) { return false; });
    text::TextTable broken = Projects();
    broken.rows = [](const text::RowSink&) { return false; };
    const reports::ReportResult unread = ExportReport(broken, {target, ReportFormat::Xlsx});
    EXPECT_EQ(unread.message, text::Utf8(reports::texts::kReadFailed));
    EXPECT_EQ(FileBytes(target), "old");
    EXPECT_EQ(FolderEntries(QString::fromStdString(folder.path())).filter(".k5x7").size(), 0);

    // A folder that is not there; the longest name a folder takes, and one byte more.
    EXPECT_EQ(ExportReport(Projects(), {Target("none/p.csv"), ReportFormat::Csv}).message,
              text::Utf8(reports::texts::kCannotCreate));
    const QString longest = Target("") + QString(251, QLatin1Char('n')) + ".csv";
    EXPECT_TRUE(ExportReport(Projects(), {longest, ReportFormat::Csv}).done());
    EXPECT_EQ(ExportReport(Projects(), {longest + "x", ReportFormat::Csv}).message,
              text::Utf8(reports::texts::kNameTooLong));
    EXPECT_EQ(stopped.status, ReportStatus::Stopped);
}

// A full disk and a read-only one need a small file system of their own.
TEST_F(ReportFilesTest, AFullOrReadOnlyDiskIsToldAndLeavesNothingBehind)
{
    QTemporaryDir mount;
    const QString dir = mount.path();
    const std::string m = dir.toStdString();
    if (std::system(("mount -t tmpfs -o size=64k tmpfs " + m + " 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no permission to mount a small file system";
    text::TextTable big = Projects();
    std::vector<text::TextRow> rows(4000, text::TextRow(6, std::string(60, 'x')));
    big.rows = text::RowsOf(rows);
    const int descriptors = OpenDescriptors();
    for (ReportFormat format : {ReportFormat::Csv, ReportFormat::Xlsx}) {
        const QString target = dir + (format == ReportFormat::Csv ? "/big.csv" : "/big.xlsx");
        EXPECT_EQ(ExportReport(big, {target, format}).message,
                  text::Utf8(reports::texts::kWriteFailed));
        EXPECT_EQ(FolderEntries(dir), QStringList());
        EXPECT_EQ(OpenDescriptors(), descriptors);
    }
    std::system(("mount -o remount,ro " + m).c_str());
    EXPECT_EQ(ExportReport(Projects(), {dir + "/p.csv", ReportFormat::Csv}).message,
              text::Utf8(reports::texts::kCannotCreate));
    std::system(("umount " + m).c_str());
}

#ifndef _WIN32
// The workbook library writes its scratch files without checking: a file size
// limit (as a full disk would) cuts the sheet short while the workbook still
// closes. That is a failed write, and a finished or failed one keeps nothing open.
TEST_F(ReportFilesTest, AWorkbookCutShortIsAFailureAndNoWriteLeavesADescriptorOpen)
{
    text::TextTable big = Projects();
    std::vector<text::TextRow> rows(20000, text::TextRow{"1", Sj("港北") + std::string(40, 'x')});
    big.rows = text::RowsOf(rows);
    const QString target = Target("big.xlsx");
    ASSERT_TRUE(ExportReport(big, {target, ReportFormat::Xlsx}).done());
    const int descriptors = OpenDescriptors();  // after what a first write sets up once
    ASSERT_TRUE(ExportReport(big, {target, ReportFormat::Xlsx}).done());
    EXPECT_EQ(reports::LastSheetRow(target), 20001u);
    EXPECT_EQ(OpenDescriptors(), descriptors);

    const std::string previous = FileBytes(target);
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 256 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const reports::ReportResult cut = ExportReport(big, {target, ReportFormat::Xlsx});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(cut.message, text::Utf8(reports::texts::kWriteFailed));
    EXPECT_EQ(FileBytes(target), previous);
    EXPECT_EQ(FolderEntries(QString::fromStdString(folder.path())).filter(".k5x7").size(), 0);
    EXPECT_EQ(OpenDescriptors(), descriptors);
}

// The helper that writes workbooks, killed part-way through the rows after it
// began the file and its scratch: a failed write, with nothing left behind.
TEST_F(ReportFilesTest, AWorkbookHelperThatDiesIsAFailureAndLeavesNothing)
{
    const QString helper = Target("dying-helper");
    QFile script(helper);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    // Called as: xlsx OUT --scratch FOLDER
    script.write(
        "#!/bin/sh\nprintf PK > \"$2\"\nprintf x > \"$4/scratch\"\n"
        "head -c 100000 > /dev/null\nkill -9 $$\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    text::TextTable big = Projects();
    std::vector<text::TextRow> rows(20000, text::TextRow(6, std::string(60, 'x')));
    big.rows = text::RowsOf(rows);

    qputenv("K5X7_XLSX_HELPER", QFile::encodeName(helper));
    const reports::ReportResult died = ExportReport(big, {Target("d.xlsx"), ReportFormat::Xlsx});
    qunsetenv("K5X7_XLSX_HELPER");
    EXPECT_EQ(died.message, text::Utf8(reports::texts::kWriteFailed));
    EXPECT_FALSE(QFile::exists(Target("d.xlsx")));
    EXPECT_EQ(QDir(QString::fromStdString(folder.path()))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                  .filter(".k5x7"),
              QStringList());
}
#endif

}  // namespace
