// The screens over rows another program wrote: each opens, is acted on and
// saves without breaking, shows only its own messages, and writes back what
// it loaded byte for byte or nothing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <map>
#include <set>

#include "common/database_fixture.h"
#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "common/texts.h"
#include "drawings/drawing_info_texts.h"
#include "drawings/name_dialog.h"
#include "drawings/project_detail_window.h"
#include "drawings/revision_history_dialog.h"
#include "drawings/revision_history_texts.h"
#include "projects/project_chart_logic.h"
#include "projects/project_chart_texts.h"
#include "projects/project_chart_window.h"
#include "projects/project_editor_texts.h"
#include "projects/project_editor_window.h"
#include "projects/project_list_window.h"
#include "registers/company_register_dialog.h"
#include "registers/member_register_dialog.h"
#include "registers/register_texts.h"
#include "registers/section_register_dialog.h"
#include "reliability/foreign_rows.h"
#include "reliability/reliability_support.h"
#include "widgets/string_grid.h"

using testing_support::Q;

namespace {

using namespace testing_support;
using Snapshot = std::map<std::string, std::vector<storage::Row>>;

void Show(QWidget& w)
{
    w.show();
    w.activateWindow();
    QApplication::processEvents();
}

class ForeignRowsScreensTest : public EmbeddedDatabaseTest {
protected:
    void SetUp() override
    {
        EmbeddedDatabaseTest::SetUp();
        SeedForeignRows(db);
        globals.settings.DbServer = "";
        globals.settings.DbFolder = folder.path();
        globals.settings.PcUserNo = 3;
        globals.settings.ChartFilter = projects::kChartBoth;
        globals.settings.ChartStartDate.clear();
        globals.settings.ChartEndDate.clear();
    }

    Snapshot Everything()
    {
        Snapshot all;
        for (const ForeignTable& t : ForeignTables())
            all[t.name] = ReadTable(db, t.name, t.columns);
        return all;
    }

    // Every message shown since the last call is one of `allowed`.
    void ExpectOnly(const std::set<QString>& allowed, const char* screen)
    {
        for (const QString& m : ports.messages)
            EXPECT_TRUE(allowed.count(m)) << screen << ": " << m.toStdString();
        ports.messages.clear();
    }

    // Columns `texts` of every row hold what they held in `before`.
    void ExpectTextsKept(const Snapshot& before, const std::string& table, std::set<int> texts)
    {
        const Snapshot now = Everything();
        ASSERT_EQ(now.at(table).size(), before.at(table).size()) << table;
        for (size_t r = 0; r < now.at(table).size(); ++r)
            for (int c : texts)
                EXPECT_EQ(now.at(table)[r][c], before.at(table)[r][c]) << table << " row " << r;
        for (const auto& [name, rows] : before) {
            if (name != table) {
                EXPECT_EQ(now.at(name), rows) << name << " changed";
            }
        }
    }

    storage::AppGlobals globals;
    ScriptedPorts ports;
    widgets::ScreenContext context{db, globals, ports};
    int actions = 0;
};

TEST_F(ForeignRowsScreensTest, RegistersEditorListAndChartTakeForeignRows)
{
    namespace rt = registers::texts;
    const std::set<QString> registerMessages{Q(rt::kChangeOk), Q(rt::kNoQuotes),
                                             Q(rt::kNumberNotPositive), Q(rt::kSectionNameRequired),
                                             Q(rt::kMemberNameRequired)};
    registers::TForm3 sections(context);
    registers::TForm4 members(context);
    registers::TForm5 companies(context);
    const std::pair<registers::RegisterDialog*, std::pair<const char*, std::set<int>>> dialogs[] = {
        {&sections, {"SECTION", {1}}},
        {&members, {"MEMBER", {2}}},
        {&companies, {"COMPANY", {1, 2}}}};
    for (const auto& [dialog, table] : dialogs) {
        const Snapshot before = Everything();
        Show(*dialog);
        auto* grid = Find<widgets::StringGrid>(dialog, "SG1");
        ASSERT_EQ(grid->RowCount(), 5) << table.first;
        for (int r = 1; r < grid->RowCount(); ++r, ++actions) {
            grid->SetRow(r);
            dialog->SG1Click();
            Find<QPushButton>(dialog, "Button4")->click();
        }
        ExpectOnly(registerMessages, table.first);
        ExpectTextsKept(before, table.first, table.second);
        dialog->hide();
    }

    namespace et = projects::editor_texts;
    const std::set<QString> editorMessages{
        Q(et::kSavedMessage),      Q(et::kNameMissingMessage),     Q(et::kNameQuoteMessage),
        Q(et::kDateFormatMessage), Q(et::kEndWithoutStartMessage), Q(et::kStartAfterEndMessage),
        Q(et::kTextQuoteMessage),  Q(et::kNotSavedMessage),        Q(et::kNumberMissingMessage)};
    for (const std::string& number :
         {std::string("1"), std::string("2"), std::string("3"), std::string("4"), kMax, kMin}) {
        const Snapshot before = Everything();
        globals.ProjectEditMode = 1;
        globals.CurrentProjectNo = text::StrToIntOrZero(number);
        projects::TForm7 editor(context);
        Show(editor);
        Find<QPushButton>(&editor, "Button1")->click();
        ++actions;
        ExpectOnly(editorMessages, "editor");
        ExpectTextsKept(before, "ZPROJECT", {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14});
    }

    const Snapshot before = Everything();
    projects::TForm8 list(context);
    Show(list);
    auto* grid = Find<widgets::StringGrid>(&list, "SG1");
    for (int sort = 0; sort < projects::kSortItemCount; ++sort, ++actions) {
        list.ComboBox1Select(sort);
        for (int r = 1; r < grid->RowCount(); ++r)
            list.SG1SelectCell(r);
    }
    for (const char* button : {"Button3", "Button2", "Button1", "Button4"})
        Find<QPushButton>(&list, button)->click();
    ExpectOnly({}, "list");

    projects::TForm9 chart(context);
    Show(chart);  // builds once on showing, and again on refresh
    ExpectOnly({Q(projects::chart_texts::kInvalidDateMessage)}, "chart");
    chart.Button1Click();
    EXPECT_EQ(ports.messages, std::vector<QString>{Q(projects::chart_texts::kInvalidDateMessage)});
    for (double row = -1; row <= 4; ++row, ++actions)
        chart.Chart1ClickSeries(row);
    chart.Button3Click();
    chart.Button2Click();
    ExpectOnly({Q(projects::chart_texts::kInvalidDateMessage)}, "chart");
    EXPECT_EQ(Everything(), before) << "the list or chart wrote";
    std::printf("[ reliability ] registers, editor, list and chart: %d actions over foreign rows\n",
                actions);
}

TEST_F(ForeignRowsScreensTest, DetailWindowAndRevisionEditorTakeForeignRows)
{
    namespace dt = drawings::drawing_info_texts;
    namespace rv = drawings::revision_texts;
    globals.CurrentProjectNo = kForeignProject;
    drawings::TForm11 names(context);
    drawings::TForm12 revisions(context);
    auto window = std::make_unique<drawings::TForm10>(context, &names, &revisions);
    Show(*window);
    auto* tree = Find<QTreeWidget>(window.get(), "TreeView1");
    auto* pages = Find<QTabWidget>(window.get(), "PageControl1");
    std::vector<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        items.push_back(*it);
    ASSERT_EQ(items.size(), 7u);

    // Every node on every page; the information page is also saved and stamped.
    for (int page : {2, 1, 0}) {
        pages->setCurrentIndex(page);
        for (QTreeWidgetItem* item : items) {
            tree->setCurrentItem(item);
            window->TreeView1Click();
            if (page == 0) {
                window->Button7Click();
                window->Button4Click();
                window->Button9Click();
            }
            ++actions;
        }
    }
    ExpectOnly({Q(dt::kSaved), Q(dt::kBadDate), Q(dt::kNoQuotes), Q(dt::kSaveFailed)}, "detail");

    // A node whose stored name holds the separator reads as node 0, the
    // project's own row: neither renaming nor deleting may reach that row.
    const Snapshot before = Everything();
    QTreeWidgetItem* odd =
        tree->findItems(QStringLiteral("a :b :2"), Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_NE(odd, nullptr);
    tree->setCurrentItem(odd);
    bool dialogOpened = false;
    {
        QObject scope;  // no dialog may open: the watch ends here
        WhenModalOpens(
            [&dialogOpened](QWidget* modal) {
                dialogOpened = true;
                modal->close();
            },
            20, &scope);
        window->ButtonM2Click();
        QApplication::processEvents();
    }
    ports.answers = {true};
    window->ButtonM3Click();
    EXPECT_FALSE(dialogOpened);
    EXPECT_TRUE(ports.questions.empty());
    EXPECT_EQ(Everything(), before);
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 4);  // 1, 3, 4, 5: 2 and the last below

    // The revision editor of the drawing with hostile entries: each row changed as loaded.
    revisions.ProjectNo = kForeignProject;
    revisions.DrawingNo = 3;
    Show(revisions);
    auto* grid = Find<widgets::StringGrid>(&revisions, "SG1");
    ASSERT_EQ(grid->RowCount(), 5);
    const Snapshot kept = Everything();
    for (int r = 1; r < grid->RowCount(); ++r, ++actions) {
        grid->SetRow(r);
        revisions.SG1Click();
        Find<QPushButton>(&revisions, "Button4")->click();
    }
    ExpectOnly({Q(rv::kChangeOk), Q(rv::kBadDate), Q(rv::kNoQuotes)}, "revisions");
    ExpectTextsKept(kept, "REV_3", {2, 4});
    revisions.hide();
    std::printf("[ reliability ] detail window and revision editor: %d actions over foreign rows\n",
                actions);
}

}  // namespace
