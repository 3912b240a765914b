#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

#include "app/main_menu_logic.h"
#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "common/temp_folder.h"

using app::TForm1;
using testing_support::Find;
using testing_support::ScriptedPorts;
using testing_support::TempFolder;

namespace {

// Opens a plain child window for every project command, so the main window's
// side of opening can be seen before the real windows exist.
class CountingFactory : public app::ScreenFactory {
public:
    using ScreenFactory::ScreenFactory;
    QWidget* NewProjectEditor(QWidget*) override { return new QWidget; }
    QWidget* NewProjectList(QWidget*) override { return new QWidget; }
    QWidget* NewProjectChart(QWidget*) override { return new QWidget; }
    QWidget* NewProjectDetail(QWidget*) override { return new QWidget; }
};

class MainWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<TForm1> makeWindow(bool counting = false)
    {
        TForm1::FactoryMaker maker;
        if (counting)
            maker = [](widgets::ScreenContext c) { return std::make_unique<CountingFactory>(c); };
        return std::make_unique<TForm1>(ports, folder.file("k5x7"), maker);
    }

    void writeSettings(const std::string& folderPath, int pcUser = 0)
    {
        storage::Settings s;
        s.DbServer = "";
        s.DbFolder = folderPath;
        s.PcUserNo = pcUser;
        s.Form1 = {30, 40, 600, 450};
        s.Form2 = {55, 66};
        ASSERT_TRUE(storage::WriteSettings(folder.file("k5x7.dat"), s));
    }

    void createDatabase()
    {
        storage::Database maker;
        maker.CreateDatabase(folder.file("ZUMENDB.FDB"));
        ASSERT_TRUE(maker.Connected());
    }

    void trigger(TForm1& w, const char* action) { Find<QAction>(&w, action)->trigger(); }

    TempFolder folder;
    ScriptedPorts ports;
};

TEST_F(MainWindowTest, MenuCarriesEveryCommandInOrder)
{
    auto w = makeWindow();
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("図面管理"));
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    ASSERT_NE(Find<QStatusBar>(w.get(), "StatusBar1"), nullptr);

    QMenu* file = Find<QMenu>(w.get(), "mnuFile");
    QMenu* project = Find<QMenu>(w.get(), "mnuProject");
    ASSERT_TRUE(file && project);
    EXPECT_EQ(file->title(), QString::fromUtf8("初期設定(&I)"));
    EXPECT_EQ(project->title(), QString::fromUtf8("プロジェクト(&P)"));
    QStringList names;
    for (QAction* a : file->actions())
        names << a->objectName();
    EXPECT_EQ(names,
              (QStringList{"mnuDBset", "MnuDmy1", "mnuAddTable1", "mnuAddTable2", "mnuAddTable3",
                           "MnuDmy2", "mnuPCnameSet", "MnuDmy3", "mnuExit"}));
    EXPECT_TRUE(Find<QAction>(w.get(), "MnuDmy2")->isSeparator());
    EXPECT_EQ(Find<QAction>(w.get(), "mnuDBset")->text(),
              QString::fromUtf8("データベース設定(&D)..."));
    EXPECT_EQ(Find<QAction>(w.get(), "mnuAddTable2")->text(),
              QString::fromUtf8("メンバー（MEMBER）の登録(&M)"));
    names.clear();
    for (QAction* a : project->actions())
        names << a->text();
    EXPECT_EQ(names,
              (QStringList{QString::fromUtf8("新規作成(&M)"), QString::fromUtf8("編集(&E)"),
                           QString::fromUtf8("一覧表示(&L)"), QString::fromUtf8("チャート表示(&C)"),
                           QString::fromUtf8("図面検索(&S)...")}));
}

TEST_F(MainWindowTest, FirstStartShowsNothingAndCommandsDoNothing)
{
    auto w = makeWindow(true);
    w->show();
    EXPECT_TRUE(ports.messages.empty());
    EXPECT_FALSE(w->database().Connected());
    EXPECT_EQ(w->pos(), QPoint(192, 107));
    for (const char* action : {"mnuAddTable1", "mnuPCnameSet", "mnuProjectNew", "mnuProjectList"})
        trigger(*w, action);
    EXPECT_TRUE(w->mdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(ports.messages.empty());

    w->close();  // the settings file appears only now
    storage::Settings read;
    storage::ReadSettings(folder.file("k5x7.dat"), "", read);
    EXPECT_EQ(read.DbServer, "localhost:");
    EXPECT_EQ(read.Form1.left, 192);
}

TEST_F(MainWindowTest, UnreachableDatabaseIsReportedOnceAtStart)
{
    writeSettings(folder.path() + "missing/");
    auto w = makeWindow();
    w->show();
    ASSERT_EQ(ports.messages.size(), 1u);
    EXPECT_EQ(ports.messages[0],
              QString::fromUtf8("データベース接続が出来ません。設定を確認して下さい。"));
    EXPECT_FALSE(w->database().Connected());
    EXPECT_EQ(w->pos(), QPoint(30, 40));
    EXPECT_EQ(w->size(), QSize(600, 450));
    ASSERT_NE(w->dialogs().form2, nullptr);
    EXPECT_EQ(w->dialogs().form2->pos(), QPoint(55, 66));
}

TEST_F(MainWindowTest, ProjectCommandsOpenIndependentChildWindows)
{
    createDatabase();
    writeSettings(folder.path(), 3);
    auto w = makeWindow(true);
    w->show();
    ASSERT_TRUE(w->database().Connected());
    trigger(*w, "mnuProjectEdit");  // no ZPROJECT yet: nothing
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 0);
    trigger(*w, "mnuDrawingSearch");  // only reads: opens, and makes no table
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 1);
    EXPECT_FALSE(w->database().TableExists("ZPROJECT"));
    trigger(*w, "mnuProjectList");
    trigger(*w, "mnuProjectList");
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 3);
    trigger(*w, "mnuProjectNew");
    auto windows = w->mdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 4);
    EXPECT_EQ(windows.last()->widget()->windowTitle(), QString::fromUtf8("プロジェクト新規作成"));
    trigger(*w, "mnuProjectEdit");
    EXPECT_EQ(w->mdiArea()->subWindowList().last()->widget()->windowTitle(),
              QString::fromUtf8("プロジェクト編集"));
    EXPECT_EQ(w->globals().ProjectEditMode, 1);

    w->globals().settings.PcUserNo = 0;
    trigger(*w, "mnuProjectNew");
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 5);

    // Child windows open others through the frame, captioned by the edit mode.
    w->globals().ProjectEditMode = 0;
    w->OpenProjectEditor();
    EXPECT_EQ(w->mdiArea()->subWindowList().last()->widget()->windowTitle(),
              QString::fromUtf8("プロジェクト新規作成"));
    w->OpenProjectDetail();
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 7);
}

TEST_F(MainWindowTest, CancellingDatabaseSettingsReconnectsUnchanged)
{
    createDatabase();
    writeSettings(folder.path());
    auto w = makeWindow();
    w->show();
    ASSERT_TRUE(w->database().Connected());
    testing_support::WhenModalOpens(
        [](QWidget* modal) { Find<QPushButton>(modal, "Button2")->click(); });
    trigger(*w, "mnuDBset");
    EXPECT_TRUE(w->database().Connected());
    EXPECT_EQ(w->globals().settings.DbFolder, folder.path());
    EXPECT_TRUE(ports.messages.empty());
}

}  // namespace
