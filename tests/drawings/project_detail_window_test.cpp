#include "drawings/project_detail_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include "app/main_window.h"
#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "common/texts.h"
#include "drawings/detail_texts.h"
#include "drawings/name_dialog.h"
#include "drawings/name_dialog_texts.h"
#include "project_fixture.h"
#include "text/cp932.h"
#include "widgets/byte_line_edit.h"
#include "widgets/string_grid.h"

using drawings::TForm10;
using drawings::TForm11;
using testing_support::Find;
using testing_support::kHyou;
using testing_support::kKouzou;
using widgets::ByteLineEdit;

namespace texts = drawings::detail_texts;

using testing_support::Q;

namespace {

const QColor kGrey(0xDB, 0xDB, 0xDB);

// Types each of `attempts` into the name dialog that opens next and presses OK
// (or Cancel) after each; all but the last are meant to be refused.
void AnswerNameDialog(QStringList attempts, bool ok = true, QString* caption = nullptr,
                      QString* shown = nullptr, std::vector<bool>* stayedOpen = nullptr)
{
    testing_support::WhenModalOpens([=](QWidget* modal) {
        if (caption)
            *caption = modal->windowTitle();
        auto* edit = Find<ByteLineEdit>(modal, "Edit1");
        if (shown)
            *shown = edit->text();
        for (int i = 0; i < attempts.size(); ++i) {
            edit->selectAll();
            edit->insert(attempts[i]);
            Find<QPushButton>(modal, ok ? "Button3" : "Button4")->click();
            if (stayedOpen && i + 1 < attempts.size())
                stayedOpen->push_back(modal->isVisible() && QApplication::focusWidget() == edit);
        }
    });
}

// Runs `act` and reports whether a modal window opened during it (and closes it).
bool OpensModal(const std::function<void()>& act)
{
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    act();
    QApplication::processEvents();
    return opened;
}

class DetailWindowTest : public testing_support::ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        globals.settings.PcUserNo = 3;
        globals.CurrentProjectNo = kProject;
    }

    std::unique_ptr<TForm10> open()
    {
        auto window = std::make_unique<TForm10>(context, &nameDialog);
        window->show();
        window->activateWindow();
        QApplication::processEvents();
        return window;
    }

    QTreeWidget* tree(QWidget* w) { return Find<QTreeWidget>(w, "TreeView1"); }

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

    QString edit(QWidget* w, int n)
    {
        return Find<ByteLineEdit>(w, QStringLiteral("Edit%1").arg(n).toLatin1())->text();
    }

    QStringList itemTexts(QWidget* w)
    {
        QStringList texts;
        for (QTreeWidgetItemIterator it(tree(w)); *it; ++it)
            texts << (*it)->text(0);
        return texts;
    }

    storage::AppGlobals globals;
    testing_support::ScriptedPorts ports;
    widgets::ScreenContext context{db, globals, ports};
    TForm11 nameDialog{context};
};

}  // namespace

TEST_F(DetailWindowTest, OpensFromTheMainWindowForTheCurrentProject)
{
    storage::Settings s;
    s.DbServer = "";
    s.DbFolder = folder.path();
    s.DetailWidth = 640;
    s.DetailHeight = 420;
    s.Form1 = {0, 0, 1000, 800};  // room for the stored child size
    ASSERT_TRUE(storage::WriteSettings(folder.file("k5x7.dat"), s));
    app::TForm1 main(ports, folder.file("k5x7"));
    main.show();
    QApplication::processEvents();
    ASSERT_TRUE(main.database().Connected());
    ASSERT_NE(main.dialogs().form11, nullptr);
    EXPECT_EQ(main.dialogs().form11->objectName(), "TForm11");

    main.globals().CurrentProjectNo = kProject;
    main.OpenProjectDetail();
    QApplication::processEvents();
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1);
    QMdiSubWindow* sub = main.mdiArea()->subWindowList().front();
    auto* window = qobject_cast<TForm10*>(sub->widget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), Q(texts::kCaption));
    EXPECT_EQ(window->ProjectNo(), kProject);
    EXPECT_EQ(sub->size(), QSize(640, 420));
    EXPECT_EQ(itemTexts(window), QStringList{Q("Tower " + kKouzou + " :0")});

    // Its name dialog is the one made at start-up.
    AnswerNameDialog({"First"});
    window->ButtonM1Click();
    EXPECT_EQ(itemTexts(window), (QStringList{Q("Tower " + kKouzou + " :0"), "First :1"}));

    sub->resize(500, 300);
    Find<QPushButton>(window, "ButtonC")->click();
    QApplication::processEvents();
    EXPECT_TRUE(main.mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(main.globals().settings.DetailWidth, 500);
    EXPECT_EQ(main.globals().settings.DetailHeight, 300);
}

TEST_F(DetailWindowTest, ATreeIsBuiltRenamedAndPrunedThroughTheNameDialog)
{
    auto w = open();
    QTreeWidget* view = tree(w.get());
    const QString root = Q("Tower " + kKouzou + " :0");
    EXPECT_EQ(itemTexts(w.get()), QStringList{root});
    EXPECT_EQ(view->currentItem(), view->topLevelItem(0));
    EXPECT_EQ(view->indentation(), 19);

    QString caption;
    AnswerNameDialog({"Plans"}, true, &caption);
    w->ButtonM1Click();
    EXPECT_EQ(caption, Q(texts::kCreateCaption));
    EXPECT_EQ(itemTexts(w.get()), (QStringList{root, "Plans :1"}));
    EXPECT_EQ(view->currentItem(), view->topLevelItem(0));  // the selection stays
    EXPECT_EQ(rows("ZPRJ_7", 4, "N=1"), (std::vector<storage::Row>{{"1", "Plans", "3", "0"}}));

    // Refused names keep the dialog open; the third is taken.
    click(w.get(), item(w.get(), "Plans :1"));
    std::vector<bool> stayedOpen;
    AnswerNameDialog({"   ", "a:b", "  " + Q(kHyou)}, true, nullptr, nullptr, &stayedOpen);
    w->ButtonM1Click();
    EXPECT_EQ(stayedOpen, (std::vector<bool>{true, true}));
    ASSERT_EQ(ports.messages.size(), 2u);
    EXPECT_EQ(ports.messages[0], Q(drawings::name_dialog_texts::kEnterName));
    EXPECT_EQ(ports.messages[1], Q(drawings::name_dialog_texts::kNoQuotesOrColon));
    const QString child = "  " + Q(kHyou) + " :2";
    EXPECT_EQ(item(w.get(), child)->parent(), item(w.get(), "Plans :1"));
    EXPECT_EQ(rows("ZPRJ_7", 4, "N=2")[0][1], "  " + kHyou);

    // Cancelled creation and renaming change nothing.
    AnswerNameDialog({"never"}, false);
    w->ButtonM1Click();
    click(w.get(), item(w.get(), child));
    QString shown;
    AnswerNameDialog({"never"}, false, nullptr, &shown);
    w->ButtonM2Click();
    EXPECT_EQ(shown, "  " + Q(kHyou));
    EXPECT_EQ(itemTexts(w.get()).size(), 3);

    AnswerNameDialog({"Sections"}, true, &caption);
    w->ButtonM2Click();
    EXPECT_EQ(caption, Q(texts::kRenameCaption));
    EXPECT_EQ(itemTexts(w.get()), (QStringList{root, "Plans :1", "Sections :2"}));
    EXPECT_EQ(edit(w.get(), 2), "Sections");
    EXPECT_EQ(rows("ZPRJ_7", 4, "N=2")[0][1], "Sections");

    // A node with children stays; a leaf goes after a Yes.
    click(w.get(), item(w.get(), "Plans :1"));
    ports.messages.clear();
    w->ButtonM3Click();
    EXPECT_EQ(ports.messages, std::vector<QString>{drawings::HasChildrenMessage("Plans", 1)});
    EXPECT_TRUE(ports.questions.empty());

    click(w.get(), item(w.get(), "Sections :2"));
    ports.answers = {false, true};
    w->ButtonM3Click();
    EXPECT_EQ(itemTexts(w.get()).size(), 3);
    w->ButtonM3Click();
    EXPECT_EQ(ports.questions.back(), drawings::DeleteQuestion("Sections", 2));
    EXPECT_EQ(itemTexts(w.get()), (QStringList{root, "Plans :1"}));
    EXPECT_TRUE(rows("ZPRJ_7", 4, "N=2").empty());
    EXPECT_TRUE(rows("ZMN_7", 20, "N=2").empty());
    EXPECT_EQ(view->currentItem(), view->topLevelItem(0));
    EXPECT_EQ(edit(w.get(), 1), "0");

    // The project node is neither renamed nor deleted.
    click(w.get(), view->topLevelItem(0));
    EXPECT_FALSE(OpensModal([&] { w->ButtonM2Click(); }));
    ports.questions.clear();
    w->ButtonM3Click();
    EXPECT_TRUE(ports.questions.empty());
    EXPECT_EQ(itemTexts(w.get()).size(), 2);

    // The next node takes the freed largest number.
    AnswerNameDialog({"Again"});
    w->ButtonM1Click();
    EXPECT_EQ(item(w.get(), "Again :2")->parent(), view->topLevelItem(0));
}

TEST_F(DetailWindowTest, ANodeThatCannotBeStoredIsNotShown)
{
    auto w = open();
    ASSERT_TRUE(db.ExecuteDdl({"DROP TABLE ZMN_7;"}));
    AnswerNameDialog({"Lost"});
    w->ButtonM1Click();
    EXPECT_EQ(ports.lastMessage(), Q(texts::kCreateFailed));
    EXPECT_EQ(itemTexts(w.get()).size(), 1);
    EXPECT_TRUE(rows("ZPRJ_7", 4, "N>0").empty());
}

// Another program may store a name with the separator in it: its item reads
// as the project node, so what is made under it lands under the project node.
TEST_F(DetailWindowTest, ANodeMadeUnderAnItemReadAsTheProjectNodeIsShownWhereItIsStored)
{
    auto w = open();
    addTreeRow(1, "a :b", 0);
    ASSERT_TRUE(db.InsertRow("ZMN_7", {"N"}, {"1"}));
    w->ButtonM5Click();
    click(w.get(), item(w.get(), "a :b :1"));
    AnswerNameDialog({"Made"});
    w->ButtonM1Click();
    const std::vector<storage::Row> made = rows("ZPRJ_7", 4, "NAME='Made'");
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0][3], "0");
    QTreeWidgetItem* shown = item(w.get(), Q("Made :2"));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->parent(), tree(w.get())->topLevelItem(0));
}

TEST_F(DetailWindowTest, TheInformationPageShowsTheProjectOrTheDrawingRecord)
{
    ASSERT_TRUE(storage::CreateMemberTable(db));
    for (const auto& [n, name] : {std::pair{3, std::string("Sato")}, {5, kHyou}})
        ASSERT_TRUE(db.InsertRow("MEMBER", {"N", "SN", "PNAME"},
                                 {std::to_string(n), "1", text::SqlText(name)}));
    ASSERT_TRUE(db.UpdateRow("ZPROJECT", {"PDATE1", "PDATE2", "MTITLE", "NOUKI", "ENDF"},
                             {"'20240101'", "'20240301'", "'Title'", "'soon'", "0"}, "N=7"));
    auto w = open();
    AnswerNameDialog({"Drawing"});
    w->ButtonM1Click();
    ASSERT_TRUE(db.UpdateRow("ZMN_7", {"FILE_NAME", "MTITLE", "MN", "KN", "AN", "DDATE"},
                             {"'a.jww'", text::SqlText(kKouzou), "5", "3", "9", "'20240105'"},
                             "N=1"));
    ASSERT_TRUE(db.InsertRow("REV_7", {"N", "ZN", "CONT", "RN", "RDATE"},
                             {"1", "1", "'first'", "5", "'20240110'"}));

    auto label = [&](int n) {
        return Find<QLabel>(w.get(), QStringLiteral("Label%1").arg(n).toLatin1());
    };
    auto line = [&](int n) {
        return Find<ByteLineEdit>(w.get(), QStringLiteral("Edit%1").arg(n).toLatin1());
    };
    auto combo = [&](int n) {
        return Find<QComboBox>(w.get(), QStringLiteral("ComboBox%1").arg(n).toLatin1());
    };
    auto* memo = Find<QPlainTextEdit>(w.get(), "Memo1");

    // The project node, as shown on opening (the window active again after the dialog).
    w->activateWindow();
    QApplication::processEvents();
    w->ButtonM5Click();
    EXPECT_EQ(edit(w.get(), 1), "0");
    EXPECT_EQ(edit(w.get(), 2), Q("Tower " + kKouzou));
    EXPECT_EQ(label(3)->text(), Q(texts::kProjectLabel3));
    EXPECT_EQ(label(5)->text(), Q(texts::kProjectLabel5));
    EXPECT_EQ(edit(w.get(), 3), "20240101" + Q(texts::kPeriodJoin) + "20240301");
    EXPECT_EQ(edit(w.get(), 5),
              "soon" + Q(texts::kDeliveryDate) + Q(texts::kStateSeparator) + Q(texts::kNotDone));
    EXPECT_EQ(edit(w.get(), 6), "Title");
    EXPECT_TRUE(line(3)->isReadOnly());
    EXPECT_EQ(line(3)->palette().color(QPalette::Base), kGrey);
    EXPECT_FALSE(label(9)->isVisible());
    EXPECT_FALSE(combo(1)->isVisible());
    EXPECT_FALSE(line(11)->isVisible());
    EXPECT_FALSE(Find<QPushButton>(w.get(), "Button8")->isVisible());
    EXPECT_FALSE(memo->isVisible());
    EXPECT_TRUE(Find<QPushButton>(w.get(), "Button9")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), line(1));
    EXPECT_EQ(combo(1)->count(), 3);
    EXPECT_EQ(combo(3)->itemText(2), "5:" + Q(kHyou));

    // A drawing node.
    click(w.get(), item(w.get(), "Drawing :1"));
    EXPECT_EQ(edit(w.get(), 1), "1");
    EXPECT_EQ(edit(w.get(), 2), "Drawing");
    EXPECT_EQ(label(3)->text(), Q(texts::kDrawingLabel3));
    EXPECT_EQ(label(4)->text(), Q(texts::kDrawingLabel4));
    EXPECT_EQ(label(5)->text(), Q(texts::kDrawingLabel5));
    EXPECT_EQ(edit(w.get(), 3), "a.jww");
    EXPECT_EQ(edit(w.get(), 6), Q(kKouzou));
    EXPECT_EQ(line(6)->bytes(), kKouzou);
    EXPECT_EQ(edit(w.get(), 11), "20240105");
    EXPECT_FALSE(line(3)->isReadOnly());
    EXPECT_EQ(line(3)->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_TRUE(line(1)->isReadOnly());
    EXPECT_TRUE(label(9)->isVisible());
    EXPECT_TRUE(line(16)->isVisible());
    EXPECT_TRUE(memo->isVisible());
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(combo(1)->currentIndex(), 2);  // 5
    EXPECT_EQ(combo(2)->currentIndex(), 1);  // 3
    EXPECT_EQ(combo(3)->currentIndex(), 0);  // 9 is no member
    EXPECT_EQ(combo(4)->currentIndex(), 0);
    EXPECT_EQ(memo->toPlainText(), "20240110(5):first");
    EXPECT_EQ(QApplication::focusWidget(), line(1));

    // Changing the page shows the node afresh when the information page returns.
    ASSERT_TRUE(db.UpdateSet("ZMN_7", "MTITLE='changed'", "N=1"));
    auto* pages = Find<QTabWidget>(w.get(), "PageControl1");
    pages->setCurrentIndex(1);
    EXPECT_EQ(edit(w.get(), 6), Q(kKouzou));
    pages->setCurrentIndex(0);
    EXPECT_EQ(edit(w.get(), 6), "changed");
}

TEST_F(DetailWindowTest, LayoutIsStoredAtCloseAndRestoredByTheNextWindow)
{
    globals.settings.DetailWidth = 700;
    globals.settings.DetailHeight = 480;
    globals.settings.DetailTreeWidth = 150;
    globals.settings.DetailColWidths.fill(40);
    auto w = open();
    EXPECT_EQ(w->size(), QSize(700, 480));
    EXPECT_EQ(tree(w.get())->width(), 150);
    auto* grid = Find<widgets::StringGrid>(w.get(), "SG1");
    EXPECT_EQ(grid->ColumnWidths(), std::vector<int>(13, 40));
    EXPECT_EQ(grid->Cell(12, 0), Q(texts::kListHeaders[12]));
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(Find<QTabWidget>(w.get(), "PageControl1")->currentIndex(), 0);

    w->resize(620, 400);
    Find<QSplitter>(w.get(), "Splitter1")->setSizes({210, 410});
    grid->setColumnWidth(3, 90);
    ASSERT_EQ(tree(w.get())->width(), 210);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(tree(w.get()), &escape);  // Esc presses ButtonC
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(globals.settings.DetailWidth, 620);
    EXPECT_EQ(globals.settings.DetailHeight, 400);
    EXPECT_EQ(globals.settings.DetailTreeWidth, 210);
    EXPECT_EQ(globals.settings.DetailColWidths[3], 90);
    EXPECT_EQ(tree(w.get())->topLevelItemCount(), 0);

    auto next = open();
    EXPECT_EQ(next->size(), QSize(620, 400));
    EXPECT_EQ(tree(next.get())->width(), 210);
    EXPECT_EQ(Find<widgets::StringGrid>(next.get(), "SG1")->columnWidth(3), 90);
}

TEST(NameDialog, ShowsTheCallersCaptionAndNameAndTakesAValidNameOnly)
{
    testing_support::ScriptedPorts ports;
    storage::Database db;
    storage::AppGlobals globals;
    TForm11 dialog({db, globals, ports});
    dialog.CaptionText = "Caption";
    dialog.NameText = "  " + kHyou;
    dialog.Accepted = true;
    dialog.show();
    dialog.activateWindow();
    QApplication::processEvents();
    auto* edit = Find<ByteLineEdit>(&dialog, "Edit1");
    EXPECT_EQ(dialog.windowTitle(), "Caption");
    EXPECT_EQ(edit->bytes(), "  " + kHyou);
    EXPECT_FALSE(dialog.Accepted);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_TRUE(Find<QPushButton>(&dialog, "Button3")->isDefault());
    EXPECT_EQ(Find<QLabel>(&dialog, "Label1")->text(), Q(drawings::name_dialog_texts::kLabel1));

    // 32 bytes at most: a two-byte character that would pass the limit is refused.
    edit->setBytes("");
    edit->insert(QString(31, 'x'));
    edit->insert(Q(kHyou));
    EXPECT_EQ(edit->bytes(), std::string(31, 'x'));
    edit->insert("y");
    edit->insert(Q(kHyou));
    EXPECT_EQ(edit->bytes().size(), 32u);

    edit->setBytes("\tname'");
    dialog.Button3Click();
    EXPECT_EQ(ports.lastMessage(), Q(drawings::name_dialog_texts::kNoQuotesOrColon));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.Accepted);

    edit->setBytes("\tname");
    dialog.Button3Click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.Accepted);
    EXPECT_EQ(dialog.NameText, "name");

    dialog.show();
    dialog.Button4Click();
    EXPECT_FALSE(dialog.Accepted);
}
