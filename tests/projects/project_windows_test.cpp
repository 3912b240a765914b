#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSplitter>
#include <QTest>

#include "app/main_window.h"
#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "common/texts.h"
#include "project_fixture.h"
#include "project_screen_helpers.h"
#include "projects/project_details_panel.h"
#include "projects/project_details_texts.h"
#include "projects/project_editor_texts.h"
#include "projects/project_editor_window.h"
#include "projects/project_list_texts.h"
#include "projects/project_list_window.h"
#include "widgets/byte_line_edit.h"
#include "widgets/string_grid.h"

using projects::TForm7;
using projects::TForm8;
using testing_support::Find;
using testing_support::LineText;
using testing_support::RecordingOpener;
using testing_support::ScriptedPorts;
using testing_support::Sj;
using widgets::ByteLineEdit;
using widgets::StringGrid;

namespace editor_texts = projects::editor_texts;
namespace list_texts = projects::list_texts;
namespace details_texts = projects::details_texts;

using testing_support::Q;

namespace {

// The widget that would take typing: a combo box counts when its line has it.
bool HasFocus(QWidget* w)
{
    QWidget* f = w->window()->focusWidget();
    return f == w || (f && w->isAncestorOf(f));
}

// Typing as a keyboard or input method delivers it, one character at a time.
void Type(QWidget* target, const QString& typed)
{
    for (QChar c : typed) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

class ProjectWindowsTest : public testing_support::ProjectDatabaseTest {
protected:
    void SetUp() override
    {
        ProjectDatabaseTest::SetUp();
        globals.settings.PcUserNo = 1;
        globals.settings.PcUserName = Sj("山田");
    }

    widgets::ScreenContext Context() { return {db, globals, ports, &opener}; }

    std::unique_ptr<TForm7> ShowEditor(int mode, int number = 0)
    {
        globals.ProjectEditMode = mode;
        globals.CurrentProjectNo = number;
        auto w = std::make_unique<TForm7>(Context());
        w->show();
        return w;
    }

    std::unique_ptr<TForm8> ShowList()
    {
        auto w = std::make_unique<TForm8>(Context());
        w->show();
        return w;
    }

    static QStringList Column(StringGrid* grid, int column)
    {
        QStringList cells;
        for (int r = 1; r < grid->RowCount(); ++r)
            if (!grid->Cell(column, r).isEmpty())
                cells << grid->Cell(column, r);
        return cells;
    }

    storage::AppGlobals globals;
    ScriptedPorts ports;
    RecordingOpener opener{globals};
};

TEST_F(ProjectWindowsTest, EditorHasItsControlsLimitsAndTabOrder)
{
    auto w = ShowEditor(0);
    const std::pair<const char*, int> limits[] = {
        {"Edit1", 8},  {"Edit2", 32}, {"Edit3", 80}, {"Edit4", 80}, {"Edit5", 80},
        {"Edit6", 80}, {"Edit7", 80}, {"Edit8", 16}, {"Edit9", 8},  {"Edit10", 8},
        {"Edit11", 8}, {"Edit12", 8}, {"Edit13", 0},
    };
    for (const auto& [name, limit] : limits)
        EXPECT_EQ(Find<ByteLineEdit>(w.get(), name)->maxBytes(), limit) << name;
    for (const char* name : {"Edit1", "Edit9", "Edit13"})
        EXPECT_FALSE(Find<QWidget>(w.get(), name)->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(Find<QPushButton>(w.get(), "Button4")->text(), Q(editor_texts::kButtonLoad));
    EXPECT_EQ(Find<QPushButton>(w.get(), "Button1")->text(), Q(editor_texts::kButtonSave));
    EXPECT_EQ(Find<QPushButton>(w.get(), "Button2")->text(), Q(editor_texts::kButtonClear));
    EXPECT_EQ(Find<QPushButton>(w.get(), "Button3")->text(), Q(editor_texts::kButtonClose));
    EXPECT_EQ(Find<QCheckBox>(w.get(), "CheckBox1")->text(), Q(editor_texts::kLabelDone));
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);

    // The tab chain from Button4 on; Edit1 is reached by clicking only.
    const QStringList expected{"Button4", "ComboBox1", "Edit2",  "Edit3",  "Edit4",
                               "Edit5",   "Edit6",     "Edit7",  "Edit8",  "Edit9",
                               "Edit10",  "Edit11",    "Edit12", "Edit13", "CheckBox1",
                               "Button1", "Button2",   "Button3"};
    QStringList chain;
    QWidget* at = Find<QWidget>(w.get(), "Button4");
    for (int i = 0; i < 200 && chain.size() < expected.size(); ++i, at = at->nextInFocusChain())
        if ((at->focusPolicy() & Qt::TabFocus) && expected.contains(at->objectName()) &&
            !chain.contains(at->objectName()))
            chain << at->objectName();
    EXPECT_EQ(chain, expected);
    EXPECT_FALSE(Find<QWidget>(w.get(), "Edit1")->focusPolicy() & Qt::TabFocus);
}

TEST_F(ProjectWindowsTest, NewProjectIsTypedSavedWithEnterAndTheEditorClosesWithEsc)
{
    AddCompany(1, "Foo");
    auto w = ShowEditor(0);
    EXPECT_EQ(LineText(w.get(), "Edit1"), "1");
    EXPECT_EQ(Find<QLabel>(w.get(), "Label2")->text(), Q(editor_texts::kLabelCreator) + Q("山田"));
    auto* combo = Find<QComboBox>(w.get(), "ComboBox1");
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), " ");
    EXPECT_EQ(combo->currentText(), "");
    EXPECT_TRUE(HasFocus(combo));

    Type(combo->lineEdit(), "New Client");
    auto* name = Find<ByteLineEdit>(w.get(), "Edit2");
    Type(name, Q("新館計画"));
    Type(name, QString(40, QLatin1Char('x')));  // stops at 32 bytes
    EXPECT_EQ(name->bytes(), Sj("新館計画") + std::string(24, 'x'));
    Type(Find<QWidget>(w.get(), "Edit8"), Q("来年三月末頃予定です"));
    EXPECT_EQ(LineText(w.get(), "Edit8"), Q("来年三月末頃予定"));
    QTest::mouseDClick(Find<QWidget>(w.get(), "Edit9"), Qt::LeftButton);
    EXPECT_EQ(LineText(w.get(), "Edit9"), "20240401");  // the clock port's today
    Type(Find<QWidget>(w.get(), "Edit10"), "20240430");
    Find<QCheckBox>(w.get(), "CheckBox1")->setChecked(true);

    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(ports.messages, (std::vector<QString>{Q(editor_texts::kClientRegisteredMessage),
                                                    Q(editor_texts::kSavedMessage)}));
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "2:New Client");
    const storage::Row row = Project(1);
    EXPECT_EQ(row[2], "2");
    EXPECT_EQ(row[3], Sj("新館計画") + std::string(24, 'x'));
    EXPECT_EQ(row[9], Sj("来年三月末頃予定"));
    EXPECT_EQ(row[10], "20240401");
    EXPECT_EQ(row[15], "1");

    // The window stays as it was: a second Enter meets the existing number.
    ports.messages.clear();
    QTest::keyClick(Find<QWidget>(w.get(), "Edit3"), Qt::Key_Enter);
    EXPECT_EQ(ports.lastMessage(), Q(editor_texts::kNumberExistsMessage));
    EXPECT_TRUE(HasFocus(Find<QWidget>(w.get(), "Edit1")));
    QTest::mouseDClick(Find<QWidget>(w.get(), "Edit1"), Qt::LeftButton);
    EXPECT_EQ(LineText(w.get(), "Edit1"), "2");

    // Enter on another button presses that button, not the save.
    ports.messages.clear();
    QTest::keyClick(Find<QWidget>(w.get(), "Button2"), Qt::Key_Return);
    EXPECT_TRUE(ports.messages.empty());
    EXPECT_EQ(LineText(w.get(), "Edit2"), "");
    EXPECT_EQ(combo->currentText(), "");

    QTest::keyClick(Find<QWidget>(w.get(), "Edit4"), Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(ProjectWindowsTest, EditorInEditModeLoadsItsProjectOrTheTypedNumber)
{
    AddCompany(4, "Foo", "Dept");
    AddMember(2, Sj("佐藤"));
    ASSERT_TRUE(db.InsertRow("ZPROJECT", {"N", "MN", "CN", "PRNAME", "MEMO2", "NDATE", "ENDF"},
                             {"8", "2", "4", "'eight'", "'memo'", "'20240301'", "1"}));

    auto w = ShowEditor(1, 8);
    EXPECT_EQ(LineText(w.get(), "Edit1"), "8");
    EXPECT_EQ(LineText(w.get(), "Edit2"), "eight");
    EXPECT_EQ(LineText(w.get(), "Edit6"), "memo");
    EXPECT_EQ(LineText(w.get(), "Edit13"), "20240301");
    EXPECT_TRUE(Find<QCheckBox>(w.get(), "CheckBox1")->isChecked());
    EXPECT_EQ(Find<QComboBox>(w.get(), "ComboBox1")->currentText(),
              "4:Foo" + Q(editor_texts::kClientSeparator) + "Dept");
    EXPECT_EQ(Find<QLabel>(w.get(), "Label2")->text(), Q(editor_texts::kLabelCreator) + Q("佐藤"));
    EXPECT_TRUE(HasFocus(Find<QWidget>(w.get(), "ComboBox1")));

    // Saving keeps the picked client and the stored creator.
    Find<ByteLineEdit>(w.get(), "Edit3")->setText("title");
    w->Button1Click();
    EXPECT_EQ(ports.lastMessage(), Q(editor_texts::kSavedMessage));
    EXPECT_EQ(Project(8)[2], "4");
    EXPECT_EQ(Project(8)[4], "title");

    // Opened from the menu: no number yet; a typed one loads, a missing one empties.
    auto menu = ShowEditor(1, 0);
    EXPECT_EQ(LineText(menu.get(), "Edit1"), "");
    EXPECT_TRUE(HasFocus(Find<QWidget>(menu.get(), "Edit1")));
    Type(Find<QWidget>(menu.get(), "Edit1"), "8");
    menu->Button4Click();
    EXPECT_EQ(LineText(menu.get(), "Edit2"), "eight");
    Find<ByteLineEdit>(menu.get(), "Edit1")->setText("9");
    menu->Button4Click();
    EXPECT_EQ(LineText(menu.get(), "Edit1"), "");
    EXPECT_EQ(LineText(menu.get(), "Edit2"), "");
    EXPECT_EQ(Find<QComboBox>(menu.get(), "ComboBox1")->currentText(), "");
    EXPECT_FALSE(Find<QCheckBox>(menu.get(), "CheckBox1")->isChecked());
    EXPECT_EQ(ports.messages.size(), 1u);  // loading never speaks
}

TEST_F(ProjectWindowsTest, ListTakesItsLayoutFromTheSettingsAndStoresItUnclampedAtClose)
{
    storage::Settings& s = globals.settings;
    s.ListWidth = 700;
    s.ListHeight = 500;
    s.ListColWidths = {40, 120, 200, 60, 70, 30};
    s.ListPanelHeight = 120;
    auto w = ShowList();
    EXPECT_EQ(w->windowTitle(), Q(list_texts::kCaption));
    EXPECT_EQ(w->size(), QSize(700, 500));
    auto* grid = Find<StringGrid>(w.get(), "SG1");
    EXPECT_EQ(grid->ColumnWidths(), (std::vector<int>{40, 120, 200, 60, 70, 30}));
    EXPECT_EQ(w->detailsPanel()->PanelHeight(), 120);
    EXPECT_EQ(grid->RowCount(), 101);
    EXPECT_EQ(grid->Cell(0, 0), Q(list_texts::kHeader0));
    EXPECT_EQ(grid->Cell(5, 0), Q(list_texts::kHeader5));
    EXPECT_EQ(Find<QComboBox>(w.get(), "ComboBox1")->currentIndex(), -1);
    EXPECT_EQ(Find<QComboBox>(w.get(), "ComboBox2")->count(), 5);
    EXPECT_TRUE(HasFocus(Find<QWidget>(w.get(), "Button1")));

    Find<QPushButton>(w.get(), "Button6")->click();
    EXPECT_EQ(w->detailsPanel()->PanelHeight(), projects::ProjectDetailsPanel::kShortHeight);
    w->resize(650, 430);
    EXPECT_EQ(w->detailsPanel()->PanelHeight(), projects::ProjectDetailsPanel::kShortHeight);
    Find<QPushButton>(w.get(), "Button5")->click();
    EXPECT_EQ(w->detailsPanel()->PanelHeight(), projects::ProjectDetailsPanel::kTallHeight);
    Find<QPushButton>(w.get(), "Button6")->click();
    grid->setColumnWidth(0, 5);
    w->close();
    EXPECT_EQ(s.ListWidth, 650);
    EXPECT_EQ(s.ListHeight, 430);
    EXPECT_EQ(s.ListColWidths[0], 5);  // below the reading limit of 32, stored as it is
    EXPECT_EQ(s.ListColWidths[2], 200);
    EXPECT_EQ(s.ListPanelHeight, projects::ProjectDetailsPanel::kShortHeight);
}

TEST_F(ProjectWindowsTest, ListPagesSortsAndFiltersInTheGrid)
{
    FillProjects(250);
    auto w = ShowList();
    auto* grid = Find<StringGrid>(w.get(), "SG1");
    EXPECT_EQ(grid->Cell(0, 1), "1");
    EXPECT_EQ(grid->Cell(1, 1), "P0001");
    EXPECT_EQ(grid->Cell(2, 1), "T0001");
    EXPECT_EQ(grid->Cell(3, 1), "0250");
    EXPECT_EQ(grid->Cell(4, 1), "20240201");
    EXPECT_EQ(grid->Cell(5, 1), Q(list_texts::kNotDone));
    EXPECT_EQ(grid->Cell(5, 2), Q(list_texts::kDone));
    EXPECT_EQ(grid->Cell(0, 100), "100");

    Find<QPushButton>(w.get(), "Button3")->click();
    Find<QPushButton>(w.get(), "Button3")->click();
    EXPECT_EQ(Column(grid, 0).size(), 50);  // the rows of the last page are emptied
    EXPECT_EQ(grid->Cell(0, 1), "201");
    EXPECT_EQ(grid->Cell(1, 51), "");
    Find<QPushButton>(w.get(), "Button3")->click();
    EXPECT_TRUE(Column(grid, 0).isEmpty());
    Find<QPushButton>(w.get(), "Button2")->click();
    EXPECT_EQ(grid->Cell(0, 1), "151");
    EXPECT_EQ(grid->Cell(0, 100), "250");
    Find<QPushButton>(w.get(), "Button1")->click();
    EXPECT_EQ(grid->Cell(0, 1), "1");

    auto* sort = Find<QComboBox>(w.get(), "ComboBox1");
    sort->setCurrentIndex(1);
    w->ComboBox1Select(1);
    EXPECT_EQ(grid->Cell(0, 1), "250");

    auto* filter = Find<QComboBox>(w.get(), "ComboBox2");
    Find<ByteLineEdit>(w.get(), "Edit1")->setText("P00_5");
    filter->setCurrentIndex(1);
    w->ComboBox2Select(1);
    EXPECT_EQ(Column(grid, 0),
              (QStringList{"95", "85", "75", "65", "55", "45", "35", "25", "15", "5"}));
    // Typing alone changes nothing; a quote is just a character to match.
    Find<ByteLineEdit>(w.get(), "Edit1")->setText("P'");
    Find<QPushButton>(w.get(), "Button4")->click();
    EXPECT_EQ(Column(grid, 0).size(), 10);
    w->ComboBox2Select(1);
    EXPECT_TRUE(Column(grid, 0).isEmpty());
    Find<ByteLineEdit>(w.get(), "Edit1")->setText("");
    w->ComboBox2Select(2);
    EXPECT_EQ(Column(grid, 0).size(), 100);
    w->ComboBox2Select(-1);  // no item: nothing happens
    EXPECT_EQ(Column(grid, 0).size(), 100);
}

TEST_F(ProjectWindowsTest, SelectedRowFillsTheDetailsPanelAndOpensTheEditorOrDetail)
{
    AddCompany(4, Sj("東亜"), Sj("設計部"));
    AddMember(1, Sj("佐藤"));
    FillProjects(120);
    ASSERT_TRUE(db.UpdateSet("ZPROJECT", "CN=4, PDATE1='20240101', MEMO3='m3'", "N=2"));
    auto w = ShowList();
    auto* grid = Find<StringGrid>(w.get(), "SG1");
    projects::ProjectDetailsPanel* panel = w->detailsPanel();
    EXPECT_EQ(Find<QLabel>(panel, "LabelA")->text(), Q(details_texts::kLabelCreator));
    EXPECT_EQ(panel->findChild<QLabel*>("LabelN"), nullptr);  // the list has the grid row

    grid->setCurrentCell(1, 2);
    EXPECT_EQ(LineText(panel, "Edit2"), "P0002");
    EXPECT_EQ(LineText(panel, "Edit3"), Q("東亜") + Q(details_texts::kClientGap) + Q("設計部"));
    EXPECT_EQ(LineText(panel, "Edit4"), "T0002");
    EXPECT_EQ(LineText(panel, "Edit8"), "m3");
    EXPECT_EQ(LineText(panel, "Edit9"), "0119");
    EXPECT_EQ(LineText(panel, "Edit10"), "20240101" + Q(details_texts::kPeriodJoin));
    EXPECT_EQ(LineText(panel, "Edit11"), Q(details_texts::kPeriodJoin));
    EXPECT_EQ(LineText(panel, "Edit12"), "20240301");
    EXPECT_TRUE(Find<QCheckBox>(panel, "CheckBox1")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(panel, "CheckBox1")->isEnabled());
    EXPECT_TRUE(Find<QLineEdit>(panel, "Edit2")->isReadOnly());
    EXPECT_EQ(Find<QLabel>(panel, "LabelA")->text(), Q(details_texts::kLabelCreator) + Q("佐藤"));

    grid->setCurrentCell(0, 1);  // a project without client still shows its creator
    EXPECT_EQ(LineText(panel, "Edit3"), "");
    EXPECT_EQ(Find<QLabel>(panel, "LabelA")->text(), Q(details_texts::kLabelCreator) + Q("佐藤"));

    Find<QPushButton>(panel, "Button7")->click();
    w->SG1DblClick();
    Find<QPushButton>(panel, "Button8")->click();
    ASSERT_EQ(opener.calls.size(), 3u);
    EXPECT_STREQ(opener.calls[0].what, "editor");
    EXPECT_EQ(opener.calls[0].mode, 1);
    EXPECT_EQ(opener.calls[0].number, 1);
    EXPECT_STREQ(opener.calls[1].what, "editor");
    EXPECT_STREQ(opener.calls[2].what, "detail");
    EXPECT_EQ(opener.calls[2].number, 1);

    // A page change keeps the row and the panel: the buttons read the grid row.
    Find<QPushButton>(w.get(), "Button3")->click();
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(LineText(panel, "Edit2"), "P0001");
    Find<QPushButton>(panel, "Button7")->click();
    EXPECT_EQ(opener.calls.back().number, 101);

    // An empty row opens nothing; the detail button needs a project in the panel.
    opener.calls.clear();
    grid->setCurrentCell(50, 0);
    EXPECT_EQ(LineText(panel, "Edit2"), "");
    EXPECT_EQ(LineText(panel, "Edit10"), "");
    Find<QPushButton>(panel, "Button7")->click();
    w->SG1DblClick();
    Find<QPushButton>(panel, "Button8")->click();
    EXPECT_TRUE(opener.calls.empty());

    // A project deleted meanwhile: empty fields, the period marks and the bare label.
    ASSERT_TRUE(db.DeleteRows("ZPROJECT", "N=105"));
    grid->setCurrentCell(4, 0);
    EXPECT_EQ(LineText(panel, "Edit2"), "");
    EXPECT_EQ(LineText(panel, "Edit10"), Q(details_texts::kPeriodJoin));
    EXPECT_EQ(Find<QLabel>(panel, "LabelA")->text(), Q(details_texts::kLabelCreator));
    Find<QPushButton>(panel, "Button8")->click();
    EXPECT_TRUE(opener.calls.empty());
}

// The whole road in the main frame: create, list, choose, open in the editor.
class ProjectRoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        {
            storage::Database maker;
            maker.CreateDatabase(folder.file("ZUMENDB.FDB"));
            ASSERT_TRUE(maker.Connected());
            ASSERT_TRUE(storage::CreateMemberTable(maker));
            ASSERT_TRUE(maker.InsertRow("MEMBER", {"N", "SN", "PNAME"}, {"3", "1", "'Ito'"}));
        }
        storage::Settings s;
        s.DbServer = "";
        s.DbFolder = folder.path();
        s.PcUserNo = 3;
        s.PcUserName = "Ito";
        s.ListWidth = 640;
        s.ListHeight = 420;
        s.Form1 = {0, 0, 1000, 800};  // room for the stored child size
        ASSERT_TRUE(storage::WriteSettings(folder.file("k5x7.dat"), s));
    }

    QList<QMdiSubWindow*> Subs() { return main->mdiArea()->subWindowList(); }

    testing_support::TempFolder folder;
    ScriptedPorts ports;
    std::unique_ptr<app::TForm1> main;
};

TEST_F(ProjectRoadTest, CreateListChooseAndEditAProject)
{
    main = std::make_unique<app::TForm1>(ports, folder.file("k5x7"));
    main->resize(900, 700);
    main->show();
    ASSERT_TRUE(main->database().Connected());

    Find<QAction>(main.get(), "mnuProjectNew")->trigger();
    ASSERT_EQ(Subs().size(), 1);
    auto* editor = qobject_cast<TForm7*>(Subs()[0]->widget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(Subs()[0]->windowTitle(), Q(editor_texts::kCaptionNew));
    EXPECT_FALSE(Subs()[0]->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(LineText(editor, "Edit1"), "1");
    Type(Find<QWidget>(editor, "Edit2"), "Harbour office");
    Type(Find<QWidget>(editor, "Edit3"), "Phase 1");
    editor->Button1Click();
    EXPECT_EQ(ports.lastMessage(), Q(editor_texts::kSavedMessage));

    Find<QAction>(main.get(), "mnuProjectList")->trigger();
    ASSERT_EQ(Subs().size(), 2);
    auto* list = qobject_cast<TForm8*>(Subs()[1]->widget());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Subs()[1]->size(), QSize(640, 420));
    auto* grid = Find<StringGrid>(list, "SG1");
    EXPECT_EQ(grid->Cell(1, 1), "Harbour office");
    grid->setCurrentCell(0, 0);
    EXPECT_EQ(LineText(list->detailsPanel(), "Edit4"), "Phase 1");
    EXPECT_EQ(Find<QLabel>(list->detailsPanel(), "LabelA")->text(),
              Q(details_texts::kLabelCreator) + "Ito");

    // The editor's own Esc closes its sub-window.
    QTest::keyClick(Find<QWidget>(editor, "Edit2"), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(Subs().size(), 1);

    Find<QPushButton>(list->detailsPanel(), "Button7")->click();
    ASSERT_EQ(Subs().size(), 2);
    auto* opened = qobject_cast<TForm7*>(Subs()[1]->widget());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(Subs()[1]->windowTitle(), Q(editor_texts::kCaptionEdit));
    EXPECT_EQ(main->globals().ProjectEditMode, 1);
    EXPECT_EQ(LineText(opened, "Edit1"), "1");
    EXPECT_EQ(LineText(opened, "Edit2"), "Harbour office");

    // Closing the list's sub-window stores its layout.
    Subs()[0]->resize(700, 450);
    Subs()[0]->close();
    EXPECT_EQ(main->globals().settings.ListWidth, 700);
    EXPECT_EQ(main->globals().settings.ListHeight, 450);
    main->close();
}

}  // namespace
