// The server dies while a project detail window is open in the running
// application: every button of the window answers in time with its own
// failure or stays quiet, the tree gains nothing that was not stored, and once
// the database settings command has reconnected the same window works on.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QUuid>
#include <chrono>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/database_settings_logic.h"
#include "app/main_window.h"
#include "common/database_fixture.h"
#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "common/temp_folder.h"
#include "common/texts.h"
#include "drawings/detail_texts.h"
#include "drawings/drawing_info_texts.h"
#include "drawings/name_tree_editing.h"
#include "drawings/project_detail_logic.h"
#include "drawings/project_detail_window.h"
#include "drawings/revision_history_texts.h"
#include "reliability/second_server.h"
#include "storage/schema.h"
#include "text/mbcs.h"
#include "widgets/byte_line_edit.h"

using testing_support::Q;

namespace {

using testing_support::Find;
using Messages = std::vector<QString>;

constexpr int kProject = 7;
constexpr double kBoundSeconds = 15.0;

class DetailWindowOutageTest : public testing_support::SecondServerTest {
protected:
    void SetUp() override
    {
        SecondServerTest::SetUp();
        if (!Ready())
            return;
        // Upper case: the settings dialog stores the name so.
        name_ = QUuid::createUuid().toString(QUuid::Id128).toUpper().toStdString() + ".FDB";
        file_ = testing_support::ServerTestFolder() + name_;
        Seed();

        storage::Settings s;
        s.DbServer = "localhost/" + std::to_string(server_->port()) + ":";
        s.DbFolder = testing_support::ServerTestFolder();
        s.DbName = name_;
        s.PcUserNo = 1;
        s.PcUserName = "Sato";
        ASSERT_TRUE(storage::WriteSettings(folder_.file("k5x7.dat"), s));
        main_ = std::make_unique<app::TForm1>(ports_, folder_.file("k5x7"));
        main_->show();
        QApplication::processEvents();
        ASSERT_TRUE(main_->database().Connected());
        main_->globals().CurrentProjectNo = kProject;
        main_->OpenProjectDetail();
        QApplication::processEvents();
        ASSERT_EQ(main_->mdiArea()->subWindowList().size(), 1);
        window_ =
            qobject_cast<drawings::TForm10*>(main_->mdiArea()->subWindowList().front()->widget());
        ASSERT_NE(window_, nullptr);
        tree_ = Find<QTreeWidget>(window_, "TreeView1");
    }

    void TearDown() override
    {
        main_.reset();
        if (server_ && !server_->running())
            server_->Start();
        if (!file_.empty())
            std::remove(file_.c_str());
    }

    // A project with a drawing that has a revision, and a spare leaf.
    void Seed()
    {
        storage::Database db;
        db.CreateDatabase(server_->Path(file_));
        ASSERT_TRUE(db.Connected()) << "cannot create " << file_;
        ASSERT_TRUE(storage::CreateProjectTable(db));
        ASSERT_TRUE(storage::CreateMemberTable(db));
        ASSERT_TRUE(db.InsertRow("ZPROJECT", {"N", "MN", "PRNAME"},
                                 {std::to_string(kProject), "1", text::SqlText("Tower")}));
        ASSERT_TRUE(
            db.InsertRow("MEMBER", {"N", "SN", "PNAME"}, {"1", "0", text::SqlText("Sato")}));
        ASSERT_TRUE(drawings::ProjectDetailLogic(db, kProject).Open().found);
        const drawings::ProjectTables tables(kProject);
        drawings::NameTreeEditor editor(db, tables);
        std::vector<std::string> plan = drawings::EmptyDrawingValues();
        plan[0] = text::SqlText("plan.jww");
        plan[3] = text::SqlText("Ground floor");
        plan[17] = "1";  // RN
        plan[18] = text::SqlText("20240301");
        ASSERT_EQ(editor.CreateNode(0, "Plan", 1, plan).number, 1);
        ASSERT_EQ(editor.CreateNode(0, "Spare", 1, drawings::EmptyDrawingValues()).number, 2);
        ASSERT_TRUE(
            db.InsertRow(tables.revision, {"N", "ZN", "CONT", "RN", "RDATE"},
                         {"1", "1", text::SqlText("first"), "1", text::SqlText("20240301")}));
    }

    // Runs one user action and returns the messages it showed. `onModal` acts on
    // a modal window the action opens; one left open is closed, so no action can
    // wait for ever.
    Messages Act(const char* name, const std::function<void()>& action,
                 const std::function<void(QWidget*)>& onModal = {})
    {
        ports_.messages.clear();
        QTimer::singleShot(0, [onModal] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                if (onModal)
                    onModal(modal);
                if (modal->isVisible())
                    modal->close();
            }
        });
        const auto start = std::chrono::steady_clock::now();
        action();
        QApplication::processEvents();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(seconds, kBoundSeconds) << name << " hung";
        longest_ = std::max(longest_, seconds);
        ++actions_;
        return ports_.messages;
    }

    void Press(const char* button) { Find<QPushButton>(window_, button)->click(); }

    void Select(const QString& text)
    {
        const auto found = tree_->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        tree_->setCurrentItem(found[0]);
        emit tree_->itemClicked(found[0], 0);
    }

    widgets::ByteLineEdit* Edit(int n)
    {
        return Find<widgets::ByteLineEdit>(window_, QStringLiteral("Edit%1").arg(n).toUtf8());
    }

    QStringList TreeTexts() const
    {
        QStringList texts;
        for (QTreeWidgetItemIterator it(tree_); *it; ++it)
            texts << (*it)->text(0);
        return texts;
    }

    // The database settings command answered with OK; a dialog that stays open
    // after it is then closed as its cancel button would.
    Messages Reconfigure(bool* stayedOpen)
    {
        return Act(
            "database settings", [this] { Find<QAction>(main_.get(), "mnuDBset")->trigger(); },
            [stayedOpen](QWidget* modal) {
                Find<QPushButton>(modal, "Button1")->click();
                *stayedOpen = modal->isVisible();
            });
    }

    static void TypeName(QWidget* modal, const char* name)
    {
        Find<widgets::ByteLineEdit>(modal, "Edit1")->setText(QString::fromLatin1(name));
        Find<QPushButton>(modal, "Button3")->click();
    }

    storage::Row StoredDrawing(storage::Database& db, int node)
    {
        storage::Row row(storage::kDrawingColumns);
        db.SelectColumns("*", drawings::ProjectTables(kProject).drawing,
                         "N=" + std::to_string(node), row);
        return row;
    }

    testing_support::TempFolder folder_;
    testing_support::ScriptedPorts ports_;
    std::string name_;
    std::string file_;
    std::unique_ptr<app::TForm1> main_;
    drawings::TForm10* window_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    double longest_ = 0;
    int actions_ = 0;
};

TEST_F(DetailWindowOutageTest, OpenWindowFailsSoundlyThenWorksOnAfterReconnecting)
{
    namespace info = drawings::drawing_info_texts;
    const Messages createFailed{Q(drawings::detail_texts::kCreateFailed)};
    const Messages saveFailed{Q(info::kSaveFailed)};
    const QStringList seededTree{"Tower :0", "Plan :1", "Spare :2"};
    ASSERT_EQ(TreeTexts(), seededTree);
    Select("Plan :1");
    ASSERT_EQ(Edit(3)->text(), "plan.jww");
    ASSERT_EQ(Edit(16)->text(), "20240301");

    server_->Kill();

    // A save meets the dead connection; what was typed and stamped stays on the page.
    Edit(6)->setText("outage title");
    EXPECT_EQ(Act("check stamp", [this] { Press("Button4"); }), Messages{});
    EXPECT_EQ(Act("save", [this] { Press("Button9"); }), saveFailed);
    EXPECT_FALSE(main_->database().Connected());
    EXPECT_EQ(Edit(6)->text(), "outage title");
    EXPECT_EQ(Edit(13)->text(), "20240401");

    // The newest revision cannot be read: the page keeps the one it shows.
    EXPECT_EQ(Act("latest revision", [this] { Press("Button7"); }), Messages{});
    EXPECT_EQ(Edit(16)->text(), "20240301");
    EXPECT_EQ(Find<QComboBox>(window_, "ComboBox5")->currentIndex(), 1);

    EXPECT_EQ(Act("revision editor", [this] { Press("Button8"); }),
              Messages{Q(drawings::revision_texts::kCannotConnect)});

    EXPECT_EQ(Act(
                  "create node", [this] { Press("ButtonM1"); },
                  [](QWidget* modal) { TypeName(modal, "Outage"); }),
              createFailed);
    Select("Spare :2");
    EXPECT_EQ(Act(
                  "rename node", [this] { Press("ButtonM2"); },
                  [](QWidget* modal) { TypeName(modal, "Renamed"); }),
              Messages{});
    Select("Spare :2");
    ports_.answers.push_back(true);
    EXPECT_EQ(Act("delete node", [this] { Press("ButtonM3"); }), Messages{});
    EXPECT_EQ(ports_.questions.size(), 1u);

    testing_support::TempFolder files;
    QFile drawing(QString::fromStdString(files.file("new.jww")));
    ASSERT_TRUE(drawing.open(QIODevice::WriteOnly));
    drawing.close();
    Select("Plan :1");
    ports_.fileChoices.push_back({drawing.fileName()});
    EXPECT_EQ(Act("register file", [this] { Press("ButtonM4"); }), createFailed);
    EXPECT_EQ(TreeTexts(), seededTree);

    auto* pages = Find<QTabWidget>(window_, "PageControl1");
    for (int page : {1, 2, 0})
        EXPECT_EQ(Act("switch page", [&] { pages->setCurrentIndex(page); }), Messages{});

    // The menu's commands need the connection: they open nothing and say nothing.
    for (const char* command : {"mnuAddTable1", "mnuPCnameSet", "mnuProjectList"})
        EXPECT_EQ(Act(command, [&] { Find<QAction>(main_.get(), command)->trigger(); }), Messages{})
            << command;
    EXPECT_EQ(main_->mdiArea()->subWindowList().size(), 1);

    // The settings dialog cannot reach the database and stays open until cancelled.
    bool stayedOpen = false;
    EXPECT_EQ(Reconfigure(&stayedOpen), Messages{Q(app::kCreateOrConnectFailedMessage)});
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(main_->database().Connected());
    std::cout << "[ figures  ] " << actions_ << " actions during the outage, longest " << longest_
              << " s\n";

    ASSERT_TRUE(server_->Start()) << "second server did not start again";
    EXPECT_EQ(Reconfigure(&stayedOpen), Messages{});
    EXPECT_FALSE(stayedOpen);
    ASSERT_TRUE(main_->database().Connected());

    // The page on screen was never read: saving it would blank the stored record.
    EXPECT_EQ(Edit(3)->text(), "");
    EXPECT_EQ(Act("save unread page", [this] { Press("Button9"); }), saveFailed);

    Select("Plan :1");
    EXPECT_EQ(Edit(6)->text(), "Ground floor");
    Act("check stamp", [this] { Press("Button4"); });
    EXPECT_EQ(Act("save", [this] { Press("Button9"); }), Messages{Q(info::kSaved)});
    EXPECT_EQ(Act(
                  "create node", [this] { Press("ButtonM1"); },
                  [](QWidget* modal) { TypeName(modal, "After"); }),
              Messages{});
    EXPECT_EQ(TreeTexts(), (QStringList{"Tower :0", "Plan :1", "After :3", "Spare :2"}));
    EXPECT_EQ(Act(
                  "revision editor", [this] { Press("Button8"); },
                  [](QWidget* modal) {
                      Find<widgets::ByteLineEdit>(modal, "Edit1")->setText("2");
                      Find<widgets::ByteLineEdit>(modal, "Edit2")->setText("second");
                      Find<QPushButton>(modal, "Button1")->click();
                  }),
              Messages{Q(drawings::revision_texts::kAddOk)});
    EXPECT_EQ(Find<QPlainTextEdit>(window_, "Memo1")->toPlainText().count('\n'), 1);

    // A connection of its own sees what was reported stored, and only that.
    storage::Database check;
    check.ConnectDatabase(server_->Path(file_));
    ASSERT_TRUE(check.Connected());
    const drawings::ProjectTables tables(kProject);
    const storage::Row plan = StoredDrawing(check, 1);
    EXPECT_EQ(plan[1], "plan.jww");
    EXPECT_EQ(plan[4], "Ground floor");
    EXPECT_EQ(plan[12], "1");  // KN
    EXPECT_EQ(plan[13], "20240401");
    EXPECT_EQ(plan[19], "20240301");
    EXPECT_EQ(check.SelectAllWhere(tables.tree, "N>0"), 3);
    EXPECT_EQ(check.SelectAllWhere(tables.tree, "N=2 AND NAME='Spare'"), 1);
    EXPECT_EQ(check.SelectAllWhere(tables.drawing, ""), 3);
    EXPECT_EQ(check.SelectAllWhere(tables.revision, ""), 2);
    EXPECT_EQ(check.SelectAllWhere("SECTION", ""), -1);  // the register command made nothing
}

}  // namespace
