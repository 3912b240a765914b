#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/main_window.h"
#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "common/texts.h"
#include "project_fixture.h"
#include "project_screen_helpers.h"
#include "projects/project_chart_texts.h"
#include "projects/project_chart_window.h"
#include "projects/project_details_panel.h"
#include "projects/project_details_texts.h"
#include "widgets/byte_line_edit.h"
#include "widgets/gantt_view.h"

using projects::TForm9;
using testing_support::Find;
using testing_support::LineText;
using testing_support::RecordingOpener;
using testing_support::ScriptedPorts;
using testing_support::Sj;
using widgets::ByteLineEdit;
using widgets::GanttView;

namespace chart_texts = projects::chart_texts;
namespace details_texts = projects::details_texts;

using testing_support::Q;

namespace {

class ProjectChartWindowTest : public testing_support::ProjectDatabaseTest {
protected:
    void SetUp() override
    {
        ProjectDatabaseTest::SetUp();
        globals.settings.ChartWidth = 900;
        globals.settings.ChartHeight = 600;
        globals.settings.ChartPanelHeight = 60;
        globals.settings.ChartFilter = projects::kChartBoth;
    }

    std::unique_ptr<TForm9> ShowChart()
    {
        auto w = std::make_unique<TForm9>(widgets::ScreenContext{db, globals, ports, &opener});
        w->show();
        return w;
    }

    // Clicks the middle of the first bar on a row, as a user would.
    static bool ClickRow(GanttView* chart, double row)
    {
        for (int i = 0; i < static_cast<int>(chart->Bars().size()); ++i)
            if (chart->Bars()[static_cast<size_t>(i)].row == row) {
                QTest::mouseClick(chart, Qt::LeftButton, Qt::NoModifier,
                                  chart->BarRect(i).center().toPoint());
                return true;
            }
        return false;
    }

    storage::AppGlobals globals;
    ScriptedPorts ports;
    RecordingOpener opener{globals};
};

TEST_F(ProjectChartWindowTest, TakesItsLayoutAndRangeFromTheSettingsAndStoresThemAtClose)
{
    storage::Settings& s = globals.settings;
    s.ChartStartDate = "2024";
    s.ChartEndDate = "20241231";
    s.ChartFilter = projects::kChartFinished;
    auto w = ShowChart();
    EXPECT_EQ(w->windowTitle(), Q(chart_texts::kCaption));
    EXPECT_EQ(w->size(), QSize(900, 600));
    EXPECT_EQ(w->detailsPanel()->PanelHeight(), 60);
    for (const char* name : {"EditD1", "EditD2"}) {
        auto* edit = Find<ByteLineEdit>(w.get(), name);
        EXPECT_EQ(edit->maxBytes(), 8) << name;
        EXPECT_FALSE(edit->testAttribute(Qt::WA_InputMethodEnabled)) << name;
    }
    EXPECT_EQ(LineText(w.get(), "EditD1"), "2024");
    EXPECT_EQ(LineText(w.get(), "EditD2"), "20241231");
    auto* group = Find<QGroupBox>(w.get(), "RadioGroup1");
    const QList<QRadioButton*> items = group->findChildren<QRadioButton*>();
    ASSERT_EQ(items.size(), 3);
    EXPECT_TRUE(items[1]->isChecked());
    EXPECT_EQ(items[0]->y(), items[2]->y());  // three columns, one row
    EXPECT_EQ(w->focusWidget(), Find<QWidget>(w.get(), "Button1"));
    EXPECT_EQ(w->chart()->RowMinimum(), 0);
    EXPECT_EQ(w->chart()->RowMaximum(), 11);
    auto* number = Find<QLabel>(w->detailsPanel(), "LabelN");
    EXPECT_FALSE(number->isVisible());
    EXPECT_EQ(Find<QLabel>(w->detailsPanel(), "LabelA")->text(), Q(details_texts::kLabelCreator));

    w->resize(640, 380);
    Find<ByteLineEdit>(w.get(), "EditD1")->setText("20230401");
    Find<ByteLineEdit>(w.get(), "EditD2")->setText("");
    items[2]->click();
    Find<QPushButton>(w->detailsPanel(), "Button6")->click();
    w->close();
    EXPECT_EQ(s.ChartWidth, 640);
    EXPECT_EQ(s.ChartHeight, 380);
    EXPECT_EQ(s.ChartPanelHeight, projects::ProjectDetailsPanel::kShortHeight);
    EXPECT_EQ(s.ChartStartDate, "20230401");
    EXPECT_EQ(s.ChartEndDate, "");
    EXPECT_EQ(s.ChartFilter, projects::kChartBoth);
    EXPECT_TRUE(w->chart()->Bars().empty());

    // An index of no item checks none and is stored as it is.
    s.ChartFilter = 7;
    auto again = ShowChart();
    EXPECT_EQ(again->RadioGroupIndex(), -1);
    again->close();
    EXPECT_EQ(s.ChartFilter, -1);
}

TEST_F(ProjectChartWindowTest, ScrollsTenRowsAndAClickShowsTheProjectOfThatRow)
{
    AddMember(1, Sj("佐藤"));
    FillProjects(150);  // delivery dates only, no client, creator 1
    auto w = ShowChart();
    GanttView* chart = w->chart();
    ASSERT_EQ(chart->Bars().size(), 100u);
    EXPECT_EQ(chart->Bars().front().row, 1);
    EXPECT_EQ(chart->Bars().front().label, "P0001");
    EXPECT_EQ(chart->Bars().front().color, QColor(0, 128, 0));
    EXPECT_EQ(chart->Bars().back().row, 100);
    EXPECT_EQ(chart->Bars().back().label, "P0100");

    Find<QPushButton>(w.get(), "Button3")->click();
    EXPECT_EQ(chart->RowMinimum(), 10);
    EXPECT_EQ(chart->RowMaximum(), 21);
    Find<QPushButton>(w.get(), "Button3")->click();
    EXPECT_EQ(chart->RowMinimum(), 20);
    Find<QPushButton>(w.get(), "Button2")->click();
    EXPECT_EQ(chart->RowMinimum(), 10);
    EXPECT_EQ(chart->RowMaximum(), 21);

    // Row 11 is now at the top; its bar still names project 11.
    ASSERT_TRUE(ClickRow(chart, 11));
    projects::ProjectDetailsPanel* panel = w->detailsPanel();
    EXPECT_EQ(LineText(panel, "Edit2"), "P0011");
    EXPECT_EQ(Find<QLabel>(panel, "LabelN")->text(), "11");
    EXPECT_EQ(LineText(panel, "Edit12"), "20241201");
    EXPECT_EQ(LineText(panel, "Edit3"), "");  // no client, and still the creator
    EXPECT_EQ(Find<QLabel>(panel, "LabelA")->text(), Q(details_texts::kLabelCreator) + Q("佐藤"));

    Find<QPushButton>(panel, "Button7")->click();
    Find<QPushButton>(panel, "Button8")->click();
    ASSERT_EQ(opener.calls.size(), 2u);
    EXPECT_STREQ(opener.calls[0].what, "editor");
    EXPECT_EQ(opener.calls[0].mode, 1);
    EXPECT_EQ(opener.calls[0].number, 11);
    EXPECT_STREQ(opener.calls[1].what, "detail");
    EXPECT_EQ(opener.calls[1].number, 11);

    // A click between bars changes nothing; 更新 keeps the scroll position.
    const QRectF row11 = chart->BarRect(10);
    QTest::mouseClick(chart, Qt::LeftButton, Qt::NoModifier,
                      QPointF(row11.center().x(), row11.top() - 2).toPoint());
    EXPECT_EQ(LineText(panel, "Edit2"), "P0011");
    Find<QPushButton>(w.get(), "Button1")->click();
    EXPECT_EQ(chart->RowMinimum(), 10);
    EXPECT_EQ(chart->Bars().size(), 100u);
    EXPECT_TRUE(ports.messages.empty());
}

TEST_F(ProjectChartWindowTest, ClickOnADeletedProjectLeavesTheBarePanelAndOpensNothing)
{
    FillProjects(3);
    auto w = ShowChart();
    ASSERT_TRUE(db.DeleteRows("ZPROJECT", "N=2"));
    ASSERT_TRUE(ClickRow(w->chart(), 1));
    projects::ProjectDetailsPanel* panel = w->detailsPanel();
    EXPECT_EQ(LineText(panel, "Edit2"), "P0001");

    ASSERT_TRUE(ClickRow(w->chart(), 2));
    EXPECT_EQ(LineText(panel, "Edit2"), "");
    EXPECT_EQ(LineText(panel, "Edit12"), "");
    EXPECT_EQ(LineText(panel, "Edit10"), Q(details_texts::kPeriodJoin));
    EXPECT_EQ(LineText(panel, "Edit11"), Q(details_texts::kPeriodJoin));
    EXPECT_EQ(Find<QLabel>(panel, "LabelA")->text(), Q(details_texts::kLabelCreator));
    EXPECT_EQ(Find<QLabel>(panel, "LabelN")->text(), "");
    Find<QPushButton>(panel, "Button7")->click();
    Find<QPushButton>(panel, "Button8")->click();
    EXPECT_TRUE(opener.calls.empty());
}

TEST_F(ProjectChartWindowTest, InvalidStoredDateIsReportedOnceAndEarlierBarsStay)
{
    FillProjects(4);
    ASSERT_TRUE(db.UpdateSet(
        "ZPROJECT", "PDATE1='20240105', PDATE2='20240120', DATE1='2024', DATE2='20240131'", "N=3"));
    auto w = ShowChart();
    ASSERT_EQ(ports.messages.size(), 1u);
    EXPECT_EQ(ports.messages[0], Q(chart_texts::kInvalidDateMessage));
    const std::vector<widgets::GanttBar>& bars = w->chart()->Bars();
    ASSERT_EQ(bars.size(), 3u);  // projects 1 and 2, then project 3's planned bar
    EXPECT_EQ(bars[2].row, 3);
    EXPECT_EQ(bars[2].color, QColor(0, 255, 255));
    EXPECT_EQ(bars[2].end, QDateTime(QDate(2024, 1, 20), QTime(0, 0)));
}

TEST(ProjectChartMenuTest, TheMenuOpensAChartWindowInTheFrame)
{
    testing_support::TempFolder folder;
    {
        storage::Database maker;
        maker.CreateDatabase(folder.file("ZUMENDB.FDB"));
        ASSERT_TRUE(maker.Connected());
    }
    storage::Settings s;
    s.DbServer = "";
    s.DbFolder = folder.path();
    s.ChartWidth = 700;
    s.ChartHeight = 450;
    s.Form1 = {0, 0, 1000, 800};  // room for the stored child size
    ASSERT_TRUE(storage::WriteSettings(folder.file("k5x7.dat"), s));
    ScriptedPorts ports;
    app::TForm1 main(ports, folder.file("k5x7"));
    main.resize(900, 700);
    main.show();
    ASSERT_TRUE(main.database().Connected());

    Find<QAction>(&main, "mnuProjectChart")->trigger();
    Find<QAction>(&main, "mnuProjectChart")->trigger();
    const QList<QMdiSubWindow*> subs = main.mdiArea()->subWindowList();
    ASSERT_EQ(subs.size(), 2);  // a further window each time
    EXPECT_NE(qobject_cast<TForm9*>(subs[0]->widget()), nullptr);
    EXPECT_EQ(subs[0]->windowTitle(), Q(chart_texts::kCaption));
    EXPECT_EQ(subs[0]->size(), QSize(700, 450));
    subs[0]->resize(720, 460);
    subs[0]->close();
    EXPECT_EQ(main.globals().settings.ChartWidth, 720);
    main.close();
}

}  // namespace
