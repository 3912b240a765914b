#include "drawings/revision_history_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "app/screen_factory.h"
#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "project_fixture.h"
#include "text/cp932.h"
#include "widgets/byte_line_edit.h"
#include "widgets/string_grid.h"

using testing_support::DoubleClick;
using testing_support::Find;
using testing_support::kKouzou;
using widgets::ByteLineEdit;
using widgets::StringGrid;

namespace {

using Messages = std::vector<QString>;
using Rows = std::vector<QStringList>;

void SendMouse(QWidget* target, QEvent::Type type, QPoint at)
{
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void ClickRow(StringGrid* grid, int row)
{
    const QPoint at = grid->visualRect(grid->model()->index(row - 1, 0)).center();
    SendMouse(grid->viewport(), QEvent::MouseButtonPress, at);
    SendMouse(grid->viewport(), QEvent::MouseButtonRelease, at);
}

// Every row of the grid, the header row first.
Rows GridRows(const StringGrid* grid)
{
    Rows rows;
    for (int r = 0; r < grid->RowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << grid->Cell(c, r);
        rows.push_back(cells);
    }
    return rows;
}

const QStringList kHeader{"番号", "改訂内容", "改訂者番号", "改訂日付"};
const QStringList kEmptyRow{"", "", "", ""};

class RevisionDialogTest : public testing_support::ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        globals.settings.DbServer = "";
        globals.settings.DbFolder = folder.path();
        ASSERT_TRUE(storage::CreateRevisionTable(db, "REV_7"));
        ASSERT_TRUE(storage::CreateMemberTable(db));
        ASSERT_TRUE(db.InsertRow("MEMBER", {"N", "SN", "PNAME"}, {"2", "1", "'Sato'"}));
        ASSERT_TRUE(
            db.InsertRow("MEMBER", {"N", "SN", "PNAME"}, {"5", "1", text::SqlText(kKouzou)}));
        // An entry of another drawing of the project.
        ASSERT_TRUE(db.InsertRow("REV_7", {"N", "ZN", "CONT", "RN", "RDATE"},
                                 {"4", "6", "'other'", "2", "'20240101'"}));
        dialog.ProjectNo = kProject;
        dialog.DrawingNo = 5;
    }

    void show()
    {
        dialog.show();
        dialog.activateWindow();
        QApplication::processEvents();
    }

    Messages press(const char* button)
    {
        ports.messages.clear();
        Find<QPushButton>(&dialog, button)->click();
        return ports.messages;
    }

    ByteLineEdit* edit(const char* name) { return Find<ByteLineEdit>(&dialog, name); }
    StringGrid* grid() { return Find<StringGrid>(&dialog, "SG1"); }
    QComboBox* reviser() { return Find<QComboBox>(&dialog, "ComboBox1"); }

    storage::AppGlobals globals;
    testing_support::ScriptedPorts ports;
    widgets::ScreenContext context{db, globals, ports};
    drawings::TForm12 dialog{context};
};

}  // namespace

TEST_F(RevisionDialogTest, AddsChangesAndDeletesTheEntriesOfOneDrawing)
{
    show();
    EXPECT_EQ(dialog.windowTitle(), "改訂履歴内容の編集");
    EXPECT_EQ(Find<QLabel>(&dialog, "Label1")->text(), "現在の登録内容");
    EXPECT_EQ(Find<QLabel>(&dialog, "Label4")->text(), "改訂者：");
    EXPECT_EQ(Find<QPushButton>(&dialog, "Button4")->text(), "データ変更(&E)");
    EXPECT_EQ(grid()->ColumnWidths(), (std::vector<int>{50, 283, 39, 82}));
    EXPECT_EQ(edit("Edit1")->maxBytes(), 16);
    EXPECT_EQ(QApplication::focusWidget(), grid());
    ASSERT_EQ(reviser()->count(), 3);
    EXPECT_EQ(reviser()->itemText(0), "0:指定無し");
    EXPECT_EQ(reviser()->itemText(2), text::FromCp932("5:" + kKouzou));

    // No entries of this drawing: one empty row that neither fills nor deletes.
    EXPECT_EQ(GridRows(grid()), (Rows{kHeader, kEmptyRow}));
    edit("Edit1")->setText("kept");
    ClickRow(grid(), 1);
    EXPECT_EQ(edit("Edit1")->text(), "kept");
    EXPECT_EQ(press("Button2"), Messages{});
    EXPECT_TRUE(ports.questions.empty());

    // The proposal looks past the other drawing's entry; the date comes from the clock.
    DoubleClick(edit("Edit1"));
    EXPECT_EQ(edit("Edit1")->text(), "5");
    edit("Edit2")->setText("ABC");
    reviser()->setCurrentIndex(2);
    DoubleClick(edit("Edit3"));
    EXPECT_EQ(edit("Edit3")->text(), "20240401");
    EXPECT_EQ(press("Button1"), Messages{"登録OK"});
    EXPECT_EQ(GridRows(grid()), (Rows{kHeader, {"5", "ABC", "5", "20240401"}}));

    // The other drawing's number is neither added again nor taken over.
    edit("Edit1")->setText("4");
    EXPECT_EQ(press("Button1"), Messages{"登録失敗"});
    EXPECT_EQ(press("Button4"),
              Messages{"入力した番号は未使用ですので変更は出来ません。再入力して下さい"});
    EXPECT_EQ(QApplication::focusWidget(), edit("Edit1"));
    EXPECT_EQ(db.SelectAllWhere("REV_7", "N=4 AND ZN=6"), 1);

    // A click fills the fields from the row; a change rewrites it.
    reviser()->setCurrentIndex(0);
    ClickRow(grid(), 1);
    EXPECT_EQ(edit("Edit1")->text(), "5");
    EXPECT_EQ(edit("Edit2")->text(), "ABC");
    EXPECT_EQ(reviser()->currentIndex(), 2);
    edit("Edit2")->setText("it's");
    EXPECT_EQ(press("Button4"), Messages{"引用符「'」「\"」を入力しないで下さい"});
    EXPECT_EQ(QApplication::focusWidget(), edit("Edit2"));
    edit("Edit2")->setText("ABD");
    reviser()->setCurrentIndex(1);
    EXPECT_EQ(press("Button4"), Messages{"変更OK"});
    EXPECT_EQ(GridRows(grid()), (Rows{kHeader, {"5", "ABD", "2", "20240401"}}));

    // Delete asks about the selected row: No keeps it, Yes removes it.
    ports.answers = {false, true};
    EXPECT_EQ(press("Button2"), Messages{});
    EXPECT_EQ(GridRows(grid()).size(), 2u);
    EXPECT_EQ(press("Button2"), Messages{"削除OK"});
    const QString question = "「No.5：ABD」を削除します。\r\nよろしいですか？";
    EXPECT_EQ(ports.questions, (Messages{question, question}));
    EXPECT_EQ(GridRows(grid()), (Rows{kHeader, kEmptyRow}));
    EXPECT_EQ(db.SelectAllWhere("REV_7", ""), 1);
}

TEST_F(RevisionDialogTest, EachOpeningReadsAfreshAndKeepsTheTypedFields)
{
    ASSERT_TRUE(db.InsertRow("REV_7", {"N", "ZN", "CONT", "RN", "RDATE"},
                             {"1", "5", "'gone reviser'", "9", "NULL"}));
    dialog.DrawingNo = 6;
    show();
    edit("Edit2")->setText("typed");
    EXPECT_EQ(GridRows(grid()), (Rows{kHeader, {"4", "other", "2", "20240101"}}));
    press("Button3");
    EXPECT_FALSE(dialog.isVisible());

    ASSERT_TRUE(db.InsertRow("MEMBER", {"N", "SN", "PNAME"}, {"7", "1", "'New'"}));
    dialog.DrawingNo = 5;
    show();
    EXPECT_EQ(reviser()->count(), 4);
    EXPECT_EQ(edit("Edit2")->text(), "typed");
    // A reviser deleted meanwhile shows as none and is written as 0.
    reviser()->setCurrentIndex(1);
    ClickRow(grid(), 1);
    EXPECT_EQ(reviser()->currentIndex(), 0);
    EXPECT_EQ(press("Button4"), Messages{"変更OK"});
    EXPECT_EQ(rows("REV_7", 5, "N=1"),
              (std::vector<storage::Row>{{"1", "5", "gone reviser", "0", ""}}));
}

TEST_F(RevisionDialogTest, WithoutSettingsOrAConnectionItSaysSoAndCloses)
{
    const auto closesAtOnce = [this] {
        bool timedOut = false;
        QTimer::singleShot(3000, &dialog, [this, &timedOut] {
            timedOut = true;
            dialog.done(-1);
        });
        dialog.exec();
        return !timedOut;
    };
    globals.settings.DbName = "  ";
    EXPECT_TRUE(closesAtOnce());
    globals.settings.DbName = "ZUMENDB.FDB";
    db.DisconnectDatabase();
    EXPECT_TRUE(closesAtOnce());
    EXPECT_EQ(ports.messages, (Messages{"最初にデータベースの設定を行って下さい。",
                                        "データベースに接続出来ません。設定を確認して下さい。"}));
}

TEST_F(RevisionDialogTest, IsMadeAtStartUpBetweenTheMemberRegisterAndThePcUserDialog)
{
    QWidget main;
    const app::Dialogs dialogs = app::ScreenFactory(context).CreateDialogs(&main);
    ASSERT_NE(dialogs.form12, nullptr);
    EXPECT_EQ(dialogs.form12->objectName(), "TForm12");
    QStringList order;
    for (QObject* child : main.children())
        order << child->objectName();
    EXPECT_EQ(order.indexOf("TForm12"), order.indexOf("TForm4") + 1);
    EXPECT_EQ(order.indexOf("TForm6"), order.indexOf("TForm12") + 1);
}
