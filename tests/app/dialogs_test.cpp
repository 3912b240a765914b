#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/database_settings_dialog.h"
#include "app/pc_user_dialog.h"
#include "common/database_fixture.h"
#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "text/mbcs.h"

using testing_support::Find;

namespace {

// Shown and active, so that focus can be asked about; FormShow runs here.
void ShowActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    QApplication::processEvents();
}

void PressKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

// Object names in tab order from `first`, focusable widgets only.
QStringList TabOrder(QWidget* first, int count)
{
    QStringList names;
    for (QWidget* w = first; names.size() < count; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            names << w->objectName();
    return names;
}

void ExpectFixedWithDefaultOk(QDialog& dialog)
{
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(Find<QPushButton>(&dialog, "Button1")->isDefault());
}

// exec() with a watchdog. A dialog hidden before its loop started cannot end
// that loop, so the watchdog makes it usable and shows it again first.
int ExecGuarded(QDialog& dialog, bool& timedOut, const std::function<void()>& makeUsable)
{
    QTimer::singleShot(3000, &dialog, [&dialog, &timedOut, makeUsable] {
        timedOut = true;
        makeUsable();
        dialog.show();
        dialog.done(-1);
    });
    return dialog.exec();
}

class DialogTest : public testing_support::EmbeddedDatabaseTest {
protected:
    void SetUp() override
    {
        EmbeddedDatabaseTest::SetUp();
        globals.settings.DbServer = "";
        globals.settings.DbFolder = folder.path();
    }

    storage::AppGlobals globals;
    testing_support::ScriptedPorts ports;
    widgets::ScreenContext context{db, globals, ports};
};

}  // namespace

TEST_F(DialogTest, DatabaseSettingsShowTheSettingsAndOkChecksFocusesAndCreates)
{
    db.DisconnectDatabase();                 // as the main menu does around this dialog
    globals.settings = storage::Settings();  // a first start
    app::TForm2 dialog(context);
    ShowActive(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("データベース設定"));
    ExpectFixedWithDefaultOk(dialog);
    EXPECT_EQ(TabOrder(Find<QWidget>(&dialog, "Edit1"), 6),
              QStringList({"Edit1", "Edit2", "Edit3", "Button1", "Button2", "Edit1"}));
    auto* server = Find<QLineEdit>(&dialog, "Edit1");
    auto* dataFolder = Find<QLineEdit>(&dialog, "Edit2");
    auto* name = Find<QLineEdit>(&dialog, "Edit3");
    EXPECT_EQ(server->text(), QStringLiteral("localhost:"));
    EXPECT_EQ(dataFolder->text(), QString());
    EXPECT_EQ(name->text(), QStringLiteral("ZUMENDB.FDB"));
    EXPECT_EQ(QApplication::focusWidget(), server);
    name->insert(QStringLiteral("\u00E9"));  // no CP932 form: refused
    EXPECT_EQ(name->text(), QStringLiteral("ZUMENDB.FDB"));

    // Enter in an edit is the default button.
    dataFolder->setText(QStringLiteral("   "));
    name->setFocus();
    PressKey(name, Qt::Key_Return);
    EXPECT_EQ(ports.lastMessage(), QStringLiteral("サーバーのデータのフォルダを入力して下さい"));
    EXPECT_EQ(QApplication::focusWidget(), dataFolder);

    server->setText(QString());
    dataFolder->setText(QString::fromStdString(folder.path() + "missing/"));
    name->setText(QStringLiteral("new"));
    Find<QPushButton>(&dialog, "Button1")->click();
    EXPECT_EQ(ports.lastMessage(),
              QStringLiteral("データベースが作成・接続出来ません。設定を確認して下さい。"));
    EXPECT_EQ(QApplication::focusWidget(), server);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ports.messages.size(), 2u);

    dataFolder->setText(QString::fromStdString(folder.path()));
    Find<QPushButton>(&dialog, "Button1")->click();
    EXPECT_EQ(ports.messages.size(), 2u);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(globals.settings.DbFolder, folder.path());
    EXPECT_EQ(globals.settings.DbName, "NEW.FDB");
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(folder.file("NEW.FDB"))));
    EXPECT_FALSE(db.Connected());
}

TEST_F(DialogTest, DatabaseSettingsCancelChangesNothingAndTheNextShowingStartsAfresh)
{
    app::TForm2 dialog(context);
    for (int showing = 0; showing < 2; ++showing) {
        ShowActive(dialog);
        auto* dataFolder = Find<QLineEdit>(&dialog, "Edit2");
        EXPECT_EQ(dataFolder->text(), QString::fromStdString(folder.path()));
        dataFolder->setText(QStringLiteral("/elsewhere/"));
        PressKey(dataFolder, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(globals.settings.DbFolder, folder.path());
    }
}

TEST_F(DialogTest, PcUserDialogSelectsTheCurrentUserAndOkNamesTheChosenOne)
{
    ASSERT_TRUE(storage::CreateMemberTable(db));
    for (const auto& [n, name] :
         {std::pair{2, QStringLiteral("鈴木")}, {1, QStringLiteral("山田")}})
        ASSERT_TRUE(db.InsertRow("MEMBER", {"N", "SN", "PNAME"},
                                 {std::to_string(n), "1", text::SqlText(*text::ToCp932(name))}));
    globals.settings.PcUserNo = 2;

    app::TForm6 dialog(context);
    ShowActive(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("PC利用者名の登録"));
    ExpectFixedWithDefaultOk(dialog);
    EXPECT_EQ(TabOrder(Find<QWidget>(&dialog, "ComboBox1"), 4),
              QStringList({"ComboBox1", "Button1", "Button2", "ComboBox1"}));
    auto* combo = Find<QComboBox>(&dialog, "ComboBox1");
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(QApplication::focusWidget(), combo);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("1:山田"));
    EXPECT_EQ(combo->currentIndex(), 1);

    combo->setCurrentIndex(0);
    Find<QPushButton>(&dialog, "Button1")->click();
    EXPECT_TRUE(ports.messages.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(globals.settings.PcUserNo, 1);
    EXPECT_EQ(globals.settings.PcUserName, *text::ToCp932(QStringLiteral("山田")));

    // The member is deleted: the next showing selects nothing and OK asks for a choice.
    ASSERT_TRUE(db.DeleteRows("MEMBER", "N=1"));
    ShowActive(dialog);
    EXPECT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->currentIndex(), -1);
    Find<QPushButton>(&dialog, "Button1")->click();
    EXPECT_EQ(ports.lastMessage(), QStringLiteral("PC利用者名を指定して下さい"));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(DialogTest, PcUserDialogWithoutMembersAsksForThemAndStaysOpen)
{
    app::TForm6 dialog(context);
    ShowActive(dialog);  // no MEMBER table at all
    EXPECT_EQ(Find<QComboBox>(&dialog, "ComboBox1")->count(), 0);
    Find<QPushButton>(&dialog, "Button1")->click();
    EXPECT_EQ(ports.lastMessage(), QStringLiteral("最初にメンバーの登録を行って下さい"));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(DialogTest, PcUserDialogThatCannotBeUsedClosesAtOnceWhenShownModally)
{
    const struct {
        std::string folder;
        bool connected;
        QString message;
    } cases[] = {{"  ", true, QStringLiteral("最初にデータベースの設定を行って下さい。")},
                 {folder.path(), false,
                  QStringLiteral("データベースに接続出来ません。設定を確認して下さい。")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        globals.settings.DbFolder = c.folder;
        if (!c.connected)
            db.DisconnectDatabase();
        ports.messages.clear();
        app::TForm6 dialog(context);
        bool timedOut = false;
        const auto makeUsable = [this] {
            globals.settings.DbFolder = folder.path();
            db.ConnectDatabase(path);
        };
        EXPECT_EQ(ExecGuarded(dialog, timedOut, makeUsable), QDialog::Rejected);
        EXPECT_FALSE(timedOut);
        EXPECT_EQ(ports.messages, std::vector<QString>{c.message});
    }
}
