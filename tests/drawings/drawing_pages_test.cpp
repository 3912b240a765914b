// The detail window's file registration and its drawing list and chart pages,
// driven through the real widgets.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>

#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "common/texts.h"
#include "drawings/detail_texts.h"
#include "drawings/drawing_info_texts.h"
#include "drawings/name_dialog.h"
#include "drawings/project_detail_window.h"
#include "project_fixture.h"
#include "storage/project_periods.h"
#include "text/cp932.h"
#include "widgets/byte_line_edit.h"
#include "widgets/gantt_view.h"
#include "widgets/string_grid.h"

using drawings::TForm10;
using drawings::TForm11;
using testing_support::Find;
using testing_support::kKouzou;
using widgets::GanttView;
using widgets::StringGrid;

namespace texts = drawings::detail_texts;

using testing_support::Q;

namespace {

constexpr int kListPage = 1;
constexpr int kChartPage = 2;

class DrawingPagesTest : public testing_support::ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        drawings::ProjectDetailLogic(db, kProject).Open();
        globals.settings.PcUserNo = 3;
        globals.CurrentProjectNo = kProject;
        files = QString::fromStdString(folder.path()) + "plans/";
        ASSERT_TRUE(QDir().mkpath(files));
    }

    std::unique_ptr<TForm10> open()
    {
        auto window = std::make_unique<TForm10>(context, &nameDialog);
        window->show();
        window->activateWindow();
        QApplication::processEvents();
        return window;
    }

    QString write(const QString& name, const std::string& bytes = "data")
    {
        QFile file(files + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return files + name;
    }

    // A node and its drawing row with the given columns.
    void addNode(int n, const std::string& name, int parent,
                 const std::vector<std::string>& columns = {},
                 const std::vector<std::string>& values = {})
    {
        addTreeRow(n, name, parent);
        std::vector<std::string> c{"N"}, v{std::to_string(n)};
        c.insert(c.end(), columns.begin(), columns.end());
        v.insert(v.end(), values.begin(), values.end());
        ASSERT_TRUE(db.InsertRow("ZMN_7", c, v));
    }

    // A: 1 with A1 3 and A2 4; B: 2 with B1 5, which holds B1x 6.
    void addBranches()
    {
        addNode(1, "A", 0, {"DDATE", "UDATE"}, {"'20240201'", "'20240215'"});
        addNode(2, "B", 0);
        addNode(3, "A1", 1,
                {"FILE_NAME", "PATH_NAME", "ZUMENN", "MTITLE", "MEMO1", "DDATE", "UDATE", "KDATE",
                 "ADATE", "PDATE", "RDATE"},
                {"'a1.jww'", "'/x/'", "'Z-3'", "'T3'", "'M3'", "'20240105'", "'20240105'",
                 "'20240110'", "'20240110'", "'20240110'", "'20240110'"});
        addNode(4, "A2", 1);
        addNode(5, "B1", 2);
        addNode(6, "B1x", 5);
    }

    QTreeWidget* tree(QWidget* w) { return Find<QTreeWidget>(w, "TreeView1"); }
    StringGrid* grid(QWidget* w) { return Find<StringGrid>(w, "SG1"); }
    GanttView* chart(QWidget* w) { return Find<GanttView>(w, "Chart1"); }

    QTreeWidgetItem* item(QWidget* w, const QString& text)
    {
        const auto found = tree(w)->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << text.toStdString();
        return found.value(0);
    }

    void click(QWidget* w, QTreeWidgetItem* it)
    {
        tree(w)->setCurrentItem(it);
        emit tree(w)->itemClicked(it, 0);
    }

    void showPage(QWidget* w, int page)
    {
        Find<QTabWidget>(w, "PageControl1")->setCurrentIndex(page);
        QApplication::processEvents();
    }

    QStringList childTexts(QTreeWidgetItem* parent)
    {
        QStringList texts;
        for (int i = 0; i < parent->childCount(); ++i)
            texts << parent->child(i)->text(0);
        return texts;
    }

    // Columns 0 and 1 of the node rows.
    QStringList listedNodes(QWidget* w)
    {
        QStringList listed;
        for (int row = 2; row < grid(w)->RowCount(); ++row)
            listed << grid(w)->Cell(0, row) + "|" + grid(w)->Cell(1, row);
        return listed;
    }

    storage::AppGlobals globals;
    testing_support::ScriptedPorts ports;
    widgets::ScreenContext context{db, globals, ports};
    TForm11 nameDialog{context};
    QString files;
};

}  // namespace

TEST_F(DrawingPagesTest, ChosenFilesBecomeChildrenOfTheSelectedNode)
{
    addNode(1, "Plans", 0);
    globals.settings.LastDrawingFolder = "/start/";
    auto w = open();
    QTreeWidgetItem* plans = item(w.get(), "Plans :1");
    click(w.get(), plans);

    const std::string header = "JwwData." + std::string(4, '\1') + "\x05" + "Floor";
    ports.fileChoices.push_back({write("b.jww", header), write(Q(kKouzou) + ".txt")});
    Find<QPushButton>(w.get(), "ButtonM4")->click();

    ASSERT_EQ(ports.fileRequests.size(), 1u);
    const widgets::FileDialogRequest& request = ports.fileRequests[0];
    EXPECT_TRUE(request.multiple);
    EXPECT_EQ(request.initialFolder, "/start/");
    ASSERT_EQ(request.filters.size(), 11);
    EXPECT_TRUE(request.filters[0].startsWith(
        Q(drawings::drawing_info_texts::kFileFilters[0].description)));
    EXPECT_EQ(globals.settings.LastDrawingFolder, files.toStdString());

    EXPECT_EQ(childTexts(plans), (QStringList{"b.jww :2", Q(kKouzou) + ".txt :3"}));
    EXPECT_EQ(tree(w.get())->currentItem(), plans);  // selection and expansion stay
    EXPECT_FALSE(plans->isExpanded());
    EXPECT_TRUE(ports.messages.empty());

    // The new node shows its record.
    click(w.get(), item(w.get(), "b.jww :2"));
    EXPECT_EQ(Find<widgets::ByteLineEdit>(w.get(), "Edit3")->text(), "b.jww");
    EXPECT_EQ(Find<widgets::ByteLineEdit>(w.get(), "Edit4")->text(), files);
    EXPECT_EQ(Find<widgets::ByteLineEdit>(w.get(), "Edit8")->text(), "Floor");

    // Cancelling the dialog changes nothing; with nothing selected files go
    // under the project node.
    w->ButtonM4Click();
    EXPECT_EQ(tree(w.get())->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(globals.settings.LastDrawingFolder, files.toStdString());
    tree(w.get())->clearSelection();
    ports.fileChoices.push_back({write(QString::fromUtf8("\xF0\x9F\x98\x80.jww")), write("c.jww")});
    w->ButtonM4Click();
    EXPECT_EQ(childTexts(tree(w.get())->topLevelItem(0)), (QStringList{"Plans :1", "c.jww :4"}));
    ASSERT_EQ(ports.messages.size(), 1u);
    EXPECT_TRUE(ports.messages[0].startsWith(Q(texts::kRefusedFiles) + "\n" + files));
    EXPECT_TRUE(ports.messages[0].endsWith(Q(texts::kUnstorableName)));
}

TEST_F(DrawingPagesTest, ManyFilesShowProgressAndEscKeepsWhatWasStored)
{
    auto w = open();
    QStringList chosen;
    for (int i = 0; i < 12; ++i)
        chosen << write(QStringLiteral("f%1.jww").arg(i, 2, 10, QLatin1Char('0')));
    ports.fileChoices.push_back(chosen);
    ports.escapeAfter = 4;
    bool progressShown = false;
    QTimer::singleShot(0, [&] {
        progressShown = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    });
    w->ButtonM4Click();
    EXPECT_TRUE(progressShown);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    QTreeWidgetItem* root = tree(w.get())->topLevelItem(0);
    EXPECT_EQ(childTexts(root),
              (QStringList{"f00.jww :1", "f01.jww :2", "f02.jww :3", "f03.jww :4"}));
    EXPECT_EQ(rows("ZPRJ_7", 4, "N>0").size(), 4u);

    // 中止 in the progress box stops as well; the tree holds exactly what is stored.
    ports.escapeAfter = -1;
    ports.fileChoices.push_back(chosen);
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()))
            box->cancel();
    });
    w->ButtonM4Click();
    const int shown = tree(w.get())->topLevelItem(0)->childCount();
    EXPECT_LT(shown, 16);
    EXPECT_EQ(static_cast<int>(rows("ZPRJ_7", 4, "N>0").size()), shown);
    w->ButtonM5Click();
    EXPECT_EQ(tree(w.get())->topLevelItem(0)->childCount(), shown);
}

TEST_F(DrawingPagesTest, TheListShowsTheProjectAndTheWalkedBranch)
{
    ASSERT_TRUE(db.UpdateRow(
        "ZPROJECT", {"MTITLE", "MEMO1", "NOUKI", "PDATE1", "PDATE2", "DATE1", "DATE2", "NDATE"},
        {"'Title'", "'memo'", "'soon'", "'20240101'", "'20240301'", "'20240110'", "'20240320'",
         "'20240401'"},
        "N=7"));
    addBranches();
    auto w = open();
    showPage(w.get(), kListPage);
    StringGrid* list = grid(w.get());

    // The project node: every node, collapsed branches included.
    QStringList project;
    for (int c = 0; c < 13; ++c)
        project << list->Cell(c, 1);
    EXPECT_EQ(project,
              (QStringList{"0", Q("Tower " + kKouzou), project[2], "", "", "Title", "memo",
                           "20240101", "20240301", "20240110", "20240320", "20240401", ""}));
    EXPECT_TRUE(project[2].startsWith(Q(texts::kProjectLabel5)) && project[2].endsWith("soon"));
    EXPECT_EQ(listedNodes(w.get()),
              (QStringList{"1| A", "3|  A1", "4|  A2", "2| B", "5|  B1", "6|   B1x"}));
    QStringList a1;
    for (int c = 2; c < 13; ++c)
        a1 << list->Cell(c, 3);
    EXPECT_EQ(a1, (QStringList{"a1.jww", "/x/", "Z-3", "T3", "M3", "20240105", "20240105",
                               "20240110", "20240110", "20240110", "20240110"}));
    EXPECT_EQ(list->Cell(2, 4), "");  // A2 holds no file

    // A node below the project: its siblings and what shows of them.
    item(w.get(), "B :2")->setExpanded(true);
    click(w.get(), item(w.get(), "A :1"));
    EXPECT_EQ(listedNodes(w.get()), (QStringList{"1| A", "2| B", "5|  B1"}));
    item(w.get(), "B1 :5")->setExpanded(true);
    click(w.get(), item(w.get(), "A :1"));
    EXPECT_EQ(listedNodes(w.get()), (QStringList{"1| A", "2| B", "5|  B1", "6|   B1x"}));
    click(w.get(), item(w.get(), "B1x :6"));
    EXPECT_EQ(listedNodes(w.get()), (QStringList{"6| B1x"}));
    EXPECT_EQ(list->Cell(1, 1), Q("Tower " + kKouzou));

    // Esc stops the walk; the rows made so far stay.
    ports.escapeAfter = 2;
    click(w.get(), tree(w.get())->topLevelItem(0));
    EXPECT_EQ(listedNodes(w.get()), (QStringList{"1| A", "3|  A1"}));
}

TEST_F(DrawingPagesTest, DoubleClickingAListRowOpensItsFile)
{
    const QString there = write("there.jww");
    addNode(1, "Group", 0);
    addNode(2, "There", 0, {"FILE_NAME", "PATH_NAME"},
            {"'there.jww'", text::SqlText(files.toStdString())});
    addNode(3, "Gone", 0, {"FILE_NAME", "PATH_NAME"},
            {"'gone.jww'", text::SqlText(files.toStdString())});
    auto w = open();
    showPage(w.get(), kListPage);
    StringGrid* list = grid(w.get());
    ASSERT_EQ(list->RowCount(), 5);

    list->SetRow(1);  // the project row does nothing
    w->SG1DblClick();
    EXPECT_TRUE(ports.messages.empty());
    EXPECT_TRUE(ports.opened.empty());

    list->SetRow(2);
    emit list->cellDoubleClicked(1, 0);
    EXPECT_EQ(ports.messages, std::vector<QString>{Q(texts::kListNoPathOrFile)});
    list->SetRow(3);
    w->SG1DblClick();
    EXPECT_EQ(ports.opened, std::vector<QString>{there});
    list->SetRow(4);
    w->SG1DblClick();
    EXPECT_EQ(ports.lastMessage(), Q(texts::kListFileMissing));
    EXPECT_EQ(ports.opened.size(), 1u);
}

TEST_F(DrawingPagesTest, TheChartDrawsProjectAndDrawingBarsOneRowPerDrawing)
{
    ASSERT_TRUE(db.UpdateRow("ZPROJECT", {"PDATE1", "PDATE2", "DATE1", "DATE2", "NDATE"},
                             {"'20240101'", "'20240301'", "'20240110'", "'20240320'", "'20240401'"},
                             "N=7"));
    addBranches();
    auto w = open();
    showPage(w.get(), kChartPage);
    const std::vector<widgets::GanttBar>& bars = chart(w.get())->Bars();

    auto day = [](int y, int m, int d, int hours = 0) {
        return QDateTime(QDate(y, m, d), QTime(0, 0)).addSecs(hours * 3600);
    };
    ASSERT_EQ(bars.size(), 9u);
    const QString project = Q("Tower " + kKouzou);
    const std::tuple<QDateTime, QDateTime, double, QString, std::uint32_t> expected[] = {
        {day(2024, 1, 1), day(2024, 3, 1), 0, project, storage::kAqua},
        {day(2024, 1, 10), day(2024, 3, 20), 0, project, storage::kBlue},
        {day(2024, 4, 1), day(2024, 4, 2), 0, project, storage::kGreen},
        {day(2024, 2, 1), day(2024, 2, 15), 1, "A", storage::kAqua},
        {day(2024, 1, 5), day(2024, 1, 6), 2, "A1", storage::kAqua},  // made and updated one day
        {day(2024, 1, 10), day(2024, 1, 11), 2, "A1", storage::kLime},
        {day(2024, 1, 10, 6), day(2024, 1, 11, 6), 2, "A1", storage::kRed},
        {day(2024, 1, 10, 12), day(2024, 1, 11, 12), 2, "A1", storage::kYellow},
        {day(2024, 1, 10, 18), day(2024, 1, 11, 18), 2, "A1", storage::kFuchsia},
    };
    for (size_t i = 0; i < bars.size(); ++i) {
        const auto& [start, end, row, label, rgb] = expected[i];
        EXPECT_EQ(bars[i].start, start) << i;
        EXPECT_EQ(bars[i].end, end) << i;
        EXPECT_EQ(bars[i].row, row) << i;
        EXPECT_EQ(bars[i].label, label) << i;
        EXPECT_EQ(bars[i].color, QColor::fromRgb(rgb)) << i;
    }

    // Without project dates the drawings start at row 0; a sibling branch
    // shows only its own drawings.
    ASSERT_TRUE(db.UpdateSet("ZPROJECT", "PDATE1=NULL,DATE1=NULL,NDATE=NULL", "N=7"));
    click(w.get(), item(w.get(), "B :2"));
    const std::vector<widgets::GanttBar>& after = chart(w.get())->Bars();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].row, 0);
    EXPECT_EQ(after[0].label, "A");
}

TEST_F(DrawingPagesTest, TheRowAxisFollowsTheChartsHeightAndScrollsNoHigherThanTheTop)
{
    auto w = open();
    showPage(w.get(), kChartPage);
    GanttView* view = chart(w.get());
    view->resize(400, 40);
    EXPECT_EQ(view->RowMinimum(), -1);
    EXPECT_EQ(view->RowMaximum(), 4);
    view->resize(400, 300);
    EXPECT_EQ(view->RowMaximum(), 16);

    auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
    };
    // One row a notch, a fine-grained wheel's halves adding up to one.
    wheel(-120);
    EXPECT_EQ(view->RowMinimum(), 0);
    EXPECT_EQ(view->RowMaximum(), 17);
    wheel(-60);
    EXPECT_EQ(view->RowMinimum(), 0);
    wheel(-60);
    EXPECT_EQ(view->RowMinimum(), 1);
    wheel(480);
    EXPECT_EQ(view->RowMinimum(), -1);
    EXPECT_EQ(view->RowMaximum(), 16);
}
