// The lists' outputs from the screens: the context menus and Ctrl+P, what each
// screen hands over, the print path, the save dialog's choices, the issue
// register's dialog, PDF pages as another reader sees them, and the command
// line writing what the screens write.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QMenu>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <sstream>

#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "common/temp_folder.h"
#include "drawings/project_detail_window.h"
#include "drawings/revision_history_dialog.h"
#include "projects/project_list_report.h"
#include "projects/project_list_window.h"
#include "registers/section_register_dialog.h"
#include "report_fixture.h"
#include "reports/issue_register_dialog.h"
#include "reports/report_export.h"
#include "reports/report_service.h"
#include "reports/report_texts.h"
#include "tools/admin/jww_writer.h"
#include "tools/admin/report_command.h"
#include "widgets/byte_line_edit.h"
#include "widgets/list_output_texts.h"
#include "widgets/string_grid.h"

using testing_support::AllRows;
using testing_support::FileBytes;
using testing_support::Find;
using testing_support::RunTool;
using testing_support::Sj;
using widgets::ListFormat;

namespace {

namespace menu_texts = widgets::list_output_texts;

class RecordingOutput : public widgets::ListOutput {
public:
    void Output(QWidget*, ListFormat format, const text::TextTable& table) override
    {
        formats.push_back(format);
        headings.push_back(table.headingLines);
        rows.push_back(AllRows(table));
    }
    void IssueRegister(QWidget*, int projectNo) override { projects.push_back(projectNo); }
    void IssueSet(QWidget*, int projectNo, int node) override { sets.push_back({projectNo, node}); }

    std::vector<ListFormat> formats;
    std::vector<std::vector<std::string>> headings;
    std::vector<std::vector<text::TextRow>> rows;
    std::vector<int> projects;
    std::vector<std::pair<int, int>> sets;
};

// Opens a widget's context menu and picks an entry; the entries it offered.
QStringList PickFromContextMenu(QWidget* widget, const QString& entry, QPoint at = {5, 5})
{
    QStringList offered;
    QObject scope;  // no look outlives the call, whether or not a menu opened
    std::function<void(int)> pick = [&](int attempts) {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu && attempts > 0) {
            QTimer::singleShot(10, &scope, [&, attempts] { pick(attempts - 1); });
            return;
        }
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                offered << action->text();
        for (QAction* action : menu->actions())
            if (action->text() == entry)
                menu->setActiveAction(action);
        QTest::keyClick(menu, entry.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
    };
    QTimer::singleShot(10, &scope, [&] { pick(100); });
    emit widget->customContextMenuRequested(at);
    return offered;
}

QString PdfText(const QString& path, int page = 0)
{
    QStringList arguments;
    if (page > 0)
        arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
    return QString::fromStdString(RunTool("pdftotext", arguments << path << "-"));
}

class ReportScreensTest : public testing_support::ReportDatabaseTest {
protected:
    void SetUp() override
    {
        ReportDatabaseTest::SetUp();
        globals.settings.DbFolder = "/x/";
        globals.settings.DbName = "Z.FDB";
        dialogs.chooseSaveFile = [this](QWidget*, const reports::SaveRequest& request) {
            saveRequests.push_back(request);
            return saveChoice;
        };
        dialogs.print = [this](QWidget*, QPrinter& printer, int pages,
                               const std::function<reports::ReportResult(QPrinter&)>& paint) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(Target("printed.pdf"));
            printedPages = pages;
            paint(printer);
        };
        dialogs.run = [this](QDialog* dialog) { runDialog(dialog); };
    }

    QString Target(const char* name) const { return QString::fromStdString(folder.file(name)); }

    widgets::ScreenContext Context(widgets::ListOutput& output)
    {
        return {db, globals, ports, nullptr, &output};
    }

    storage::AppGlobals globals;
    testing_support::ScriptedPorts ports;
    reports::OutputDialogs dialogs;
    std::vector<reports::SaveRequest> saveRequests;
    reports::SaveChoice saveChoice;
    int printedPages = 0;
    std::function<void(QDialog*)> runDialog = [](QDialog*) {};
};

TEST_F(ReportScreensTest, CtrlPPrintsEveryProjectOfTheSortAndFilterNotOnlyThePage)
{
    FillProjects(250, 1000);
    reports::ReportService service(db, ports, dialogs);
    projects::TForm8 list(Context(service));
    list.show();
    QApplication::setActiveWindow(&list);
    Find<widgets::ByteLineEdit>(&list, "Edit1")->setBytes("T1");
    list.ComboBox2Select(2);  // 表題
    list.ComboBox1Select(1);  // 番号↑
    ASSERT_EQ(list.loader().rows().size(), 100u);

    QTest::keyClick(Find<QWidget>(&list, "SG1"), Qt::Key_P, Qt::ControlModifier);
    ASSERT_GE(printedPages, 2);
    const QString text = PdfText(Target("printed.pdf"));
    EXPECT_EQ(text.count("P1"), 250);
    EXPECT_LT(text.indexOf("P1249"), text.indexOf("P1248"));
    EXPECT_LT(text.indexOf("P1001"), text.indexOf("P1000"));
    EXPECT_FALSE(text.contains("say"));
    EXPECT_TRUE(text.contains(QString("1 / %1").arg(printedPages)));
}

TEST_F(ReportScreensTest, RegisterSavesWhereChosenInTheChosenEncodingAndSaysHow)
{
    ASSERT_TRUE(storage::CreateSectionTable(db));
    ASSERT_TRUE(db.InsertRow("SECTION", {"N", "SNAME"}, {"1", text::SqlText(Sj("設計"))}));
    reports::ReportService service(db, ports, dialogs);
    registers::TForm3 dialog(Context(service));
    dialog.FormShow();

    saveChoice = {Target("s"), 1};  // the second filter: UTF-8
    const QStringList offered =
        PickFromContextMenu(Find<QWidget>(&dialog, "SG1"), text::Utf8(menu_texts::kCsv));
    EXPECT_EQ(offered, (QStringList{text::Utf8(menu_texts::kCsv), text::Utf8(menu_texts::kExcel),
                                    text::Utf8(menu_texts::kPrint), text::Utf8(menu_texts::kPdf)}));
    ASSERT_EQ(saveRequests.size(), 1u);
    EXPECT_EQ(saveRequests[0].fileName, QString::fromUtf8("所属（SECTION）の登録.csv"));
    EXPECT_EQ(saveRequests[0].filters.size(), 2);
    EXPECT_EQ(FileBytes(Target("s.csv")), "\xEF\xBB\xBF番号,名称\r\n1,設計\r\n");
    EXPECT_EQ(ports.lastMessage(), text::Utf8(reports::texts::kWritten) + "\n" + Target("s.csv"));

    saveChoice = {Target("gone/s.xlsx"), 0};
    PickFromContextMenu(Find<QWidget>(&dialog, "SG1"), text::Utf8(menu_texts::kExcel));
    EXPECT_TRUE(ports.lastMessage().startsWith(text::Utf8(reports::texts::kCannotCreate)));
}

TEST_F(ReportScreensTest, StopInTheProgressBoxKeepsThePreviousFileAndLeavesNothingBehind)
{
    testing_support::TempFolder out;
    const QString target = QString::fromStdString(out.file("list.xlsx"));
    {
        QFile previous(target);
        ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
        previous.write("previous");
    }
    // Rows slow enough that the box comes up; once it is up, 中止 is clicked.
    QWidget parent;
    QString clicked;
    int handed = 0;
    text::TextTable table;
    table.title = "T";
    table.headers = {"N"};
    table.columnWidths = {40};
    table.rowCount = 1000000;
    table.rows = [&](const text::RowSink& sink) {
        for (; handed < table.rowCount; ++handed) {
            if (handed % 256 == 0) {
                QThread::msleep(1);
                auto* box = parent.findChild<QProgressDialog*>(QStringLiteral("ReportProgress"));
                if (box && box->isVisible() && clicked.isEmpty()) {
                    auto* stop = box->findChild<QPushButton*>();
                    clicked = stop->text();
                    stop->click();
                }
            }
            if (!sink({std::to_string(handed)}))
                break;
        }
        return true;
    };
    saveChoice = {target, 0};
    reports::ReportService service(db, ports, dialogs);
    service.Output(&parent, ListFormat::Excel, table);

    EXPECT_EQ(clicked, text::Utf8(reports::texts::kStop));
    EXPECT_LT(handed, table.rowCount);
    EXPECT_TRUE(ports.messages.empty());  // a stop is no failure to report
    EXPECT_EQ(FileBytes(target), "previous");
    EXPECT_EQ(QDir(QString::fromStdString(out.path()))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"list.xlsx"});
}

TEST_F(ReportScreensTest, DetailWindowHandsOverTheListShownAndTheIssueRegister)
{
    RecordingOutput output;
    globals.CurrentProjectNo = kProject;
    drawings::TForm10 window(Context(output), nullptr);
    window.show();
    QApplication::setActiveWindow(&window);
    auto* tree = Find<QTreeWidget>(&window, "TreeView1");
    tree->setFocus();

    // Ctrl+P prints the list only while the list page shows.
    QTest::keyClick(tree, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(output.formats.empty());
    Find<QTabWidget>(&window, "PageControl1")->setCurrentIndex(1);
    QTest::keyClick(tree, Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(output.rows.size(), 1u);
    const auto& rows = output.rows[0];
    ASSERT_EQ(rows.size(), 7u);  // the project row and six nodes
    auto* grid = Find<widgets::StringGrid>(&window, "SG1");
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 13; ++c)
            EXPECT_EQ(text::FromCp932(rows[r][c]), grid->Cell(c, r + 1)) << r << "," << c;
    EXPECT_EQ(rows[2][1], "  A-101");
    EXPECT_EQ(output.headings[0], std::vector<std::string>{Sj("プロジェクト名：港北")});

    // The issue register is on the project node's menu only; the issue set on
    // every node's, for its branch.
    const QPoint project = tree->visualItemRect(tree->topLevelItem(0)).center();
    PickFromContextMenu(tree, text::Utf8("出図表..."), project);
    EXPECT_EQ(output.projects, std::vector<int>{kProject});
    PickFromContextMenu(tree, text::Utf8("出図セットPDF..."), project);
    tree->expandAll();
    const QPoint node = tree->visualItemRect(tree->topLevelItem(0)->child(1)).center();
    EXPECT_EQ(PickFromContextMenu(tree, text::Utf8("出図セットPDF..."), node),
              QStringList{text::Utf8("出図セットPDF...")});
    EXPECT_EQ(output.sets, (std::vector<std::pair<int, int>>{{kProject, 0}, {kProject, 2}}));

    drawings::TForm12 revisions(Context(output));
    revisions.ProjectNo = kProject;
    revisions.DrawingNo = 4;
    revisions.FormShow();
    PickFromContextMenu(Find<QWidget>(&revisions, "SG1"), text::Utf8(menu_texts::kExcel));
    ASSERT_EQ(output.rows.size(), 2u);
    EXPECT_EQ(output.formats[1], ListFormat::Excel);
    EXPECT_EQ(output.rows[1].size(), 3u);
    EXPECT_EQ(output.rows[1][2], (text::TextRow{"3", Sj("寸法変更"), "3", "20240320"}));
    EXPECT_EQ(output.headings[1][1], Sj("名称：A-101 :4　図番：A-101"));
}

TEST_F(ReportScreensTest, IssueRegisterDialogChecksTheRangeThenWritesIt)
{
    reports::ReportService service(db, ports, dialogs);
    runDialog = [this](QDialog* dialog) {
        auto* from = Find<widgets::ByteLineEdit>(dialog, "Edit1");
        from->setBytes("2024030");
        Find<QPushButton>(dialog, "Button3")->click();
        EXPECT_EQ(ports.lastMessage(), text::Utf8(reports::texts::kBadDate));
        EXPECT_TRUE(saveRequests.empty());
        from->setBytes("20240301");
        Find<widgets::ByteLineEdit>(dialog, "Edit2")->setBytes("20240309");
        Find<QCheckBox>(dialog, "CheckBox1")->setChecked(true);
        saveChoice = {Target("i.csv"), 0};
        Find<QPushButton>(dialog, "Button3")->click();
        saveChoice = {Target("i.pdf"), 0};
        Find<QPushButton>(dialog, "Button2")->click();
    };
    service.IssueRegister(nullptr, kProject);
    const std::string csv = FileBytes(Target("i.csv"));
    EXPECT_EQ(csv.substr(0, 4), "No.,");
    EXPECT_NE(csv.find("\r\n1,,"), std::string::npos);  // A-102, not issued, has no number
    EXPECT_NE(csv.find("\r\n2,S-201,"), std::string::npos);
    // The reader hands the ideographic space and the wave dash back as other
    // characters of the same glyph, so the heading is looked for around them.
    const QString page = PdfText(Target("i.pdf"));
    for (const char* expected : {"出図表", "プロジェクト名：港北", "注文先：東洋建設", "設計部",
                                 "表題：集合住宅", "出図日付：20240301", "20240309",
                                 "印刷日：2024/04/01", "1 / 1", "受領印", "S-201", "山田"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(expected))) << expected;
}

TEST_F(ReportScreensTest, PdfHeadsEveryPageAndHoldsEveryRowOnce)
{
    FillProjects(120, 1000);
    text::TextTable table = projects::ProjectListTable(db, "", "N", {56, 240, 240, 110, 100, 40});
    ASSERT_TRUE(reports::ExportReport(table, {Target("p.pdf"), reports::ReportFormat::Pdf,
                                              reports::CsvEncoding::Cp932, QDate(2024, 5, 6)})
                    .done());
    const std::string info = RunTool("pdfinfo", {Target("p.pdf")});
    const std::size_t at = info.find("Pages:");
    ASSERT_NE(at, std::string::npos);
    const int pages = std::stoi(info.substr(at + 6));
    ASSERT_GE(pages, 3);
    QString all;
    for (int page = 1; page <= pages; ++page) {
        const QString text = PdfText(Target("p.pdf"), page);
        EXPECT_TRUE(text.contains(QString("%1 / %2").arg(page).arg(pages)));
        EXPECT_TRUE(text.contains(QString::fromUtf8("プロジェクト一覧表示")));
        EXPECT_TRUE(text.contains(QString::fromUtf8("印刷日：2024/05/06")));
        EXPECT_TRUE(text.contains(QString::fromUtf8("プロジェクト名")));  // the header row
        all += text;
    }
    for (int n = 1000; n < 1120; ++n)
        EXPECT_EQ(all.count(QString("P%1").arg(n)), 1) << n;
}

TEST_F(ReportScreensTest, CommandLineWritesWhatTheScreensWrite)
{
    const auto admin = [this](std::vector<std::string> args) {
        std::ostringstream out, err;
        args.insert(args.begin(), path);
        const int rc = admin::RunReportCommand(args, out, err);
        EXPECT_EQ(rc, 0) << err.str();
        return rc;
    };
    reports::ReportService service(db, ports, dialogs);

    projects::TForm8 list(Context(service));
    list.FormShow();
    saveChoice = {Target("screen-projects.csv"), 0};
    PickFromContextMenu(Find<QWidget>(&list, "SG1"), text::Utf8(menu_texts::kCsv));
    admin({"projects", "--out", folder.file("cli-projects.csv")});
    EXPECT_EQ(FileBytes(Target("cli-projects.csv")), FileBytes(Target("screen-projects.csv")));

    globals.CurrentProjectNo = kProject;
    drawings::TForm10 window(Context(service), nullptr);
    window.FormShow();
    Find<QTabWidget>(&window, "PageControl1")->setCurrentIndex(1);
    saveChoice = {Target("screen-drawings.csv"), 1};
    PickFromContextMenu(Find<QWidget>(&window, "SG1"), text::Utf8(menu_texts::kCsv));
    admin({"drawings", "--project", "7", "--encoding", "utf8", "--out",
           folder.file("cli-drawings.csv")});
    EXPECT_EQ(FileBytes(Target("cli-drawings.csv")), FileBytes(Target("screen-drawings.csv")));

    runDialog = [this](QDialog* dialog) {
        Find<widgets::ByteLineEdit>(dialog, "Edit2")->setBytes("20240331");
        saveChoice = {Target("screen-issue.pdf"), 0};
        Find<QPushButton>(dialog, "Button2")->click();
    };
    service.IssueRegister(nullptr, kProject);
    admin({"issue-register", "--project", "7", "--to", "20240331", "--printed", "20240401", "--out",
           folder.file("cli-issue.pdf")});
    EXPECT_EQ(PdfText(Target("cli-issue.pdf")), PdfText(Target("screen-issue.pdf")));
    EXPECT_TRUE(PdfText(Target("cli-issue.pdf")).contains("A-101"));
}

TEST_F(ReportScreensTest, IssueSetFromTheTreeMenuAndFromTheCommandLineAgree)
{
    // A-101's drawing is there; A-102's file is not.
    jww_writer::JwwFile drawing;
    drawing.elements = {jww_writer::Line(-100, 0, 100, 0)};
    const std::string bytes = drawing.Bytes();
    QFile file(Target("a.jww"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();
    ASSERT_TRUE(db.UpdateSet("ZMN_7", "PATH_NAME=" + text::SqlText(folder.path()), "N IN (4, 5)"));

    reports::ReportService service(db, ports, dialogs);
    globals.CurrentProjectNo = kProject;
    drawings::TForm10 window(Context(service), nullptr);
    window.show();
    auto* tree = Find<QTreeWidget>(&window, "TreeView1");
    tree->expandAll();
    saveChoice = {Target("screen-set.pdf"), 0};
    PickFromContextMenu(tree, text::Utf8("出図セットPDF..."),
                        tree->visualItemRect(tree->topLevelItem(0)->child(0)).center());
    ASSERT_EQ(saveRequests.size(), 1u);
    EXPECT_EQ(saveRequests[0].fileName, QStringLiteral("出図セット.pdf"));
    EXPECT_TRUE(ports.lastMessage().contains(QStringLiteral("図面 1 件（3 ページ）")))
        << ports.lastMessage().toStdString();

    std::ostringstream out, err;
    ASSERT_EQ(
        admin::RunReportCommand({path, "issue-set", "--project", "7", "--node", "1", "--printed",
                                 "20240401", "--out", folder.file("cli-set.pdf")},
                                out, err),
        0)
        << err.str();
    EXPECT_NE(out.str().find("b.jww"), std::string::npos);
    for (int page = 1; page <= 3; ++page)
        EXPECT_EQ(PdfText(Target("cli-set.pdf"), page), PdfText(Target("screen-set.pdf"), page));
    const QString cover = PdfText(Target("screen-set.pdf"), 1);
    EXPECT_TRUE(cover.contains(QStringLiteral("A-101")));
    EXPECT_FALSE(cover.contains(QStringLiteral("S-201")));
    EXPECT_TRUE(PdfText(Target("screen-set.pdf"), 2).contains(QStringLiteral("b.jww")));
}

}  // namespace
