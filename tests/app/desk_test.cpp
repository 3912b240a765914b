// The main frame as a person meets it: the toolkit's own texts in Japanese,
// child windows inside the visible area with a window menu, the sizes they
// store, the active child's access keys and the focus after a modal dialog.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "app/main_window.h"
#include "app/qt_translations.h"
#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "common/temp_folder.h"
#include "storage/schema.h"
#include "text/mbcs.h"

using testing_support::Find;
using testing_support::TempFolder;
using testing_support::WhenModalOpens;

namespace {

TEST(QtTexts, StandardDialogsAndMenusSpeakJapanese)
{
    ASSERT_TRUE(app::InstallQtTranslations(*QCoreApplication::instance()));
    QMessageBox box(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("はい")));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("いいえ")));

    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    EXPECT_TRUE(menu->actions().value(0)->text().startsWith(QStringLiteral("元に戻す")));

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        labels << button->text();
    EXPECT_TRUE(labels.join('|').contains(QStringLiteral("ファイル名")))
        << labels.join('|').toStdString();
    EXPECT_TRUE(labels.join('|').contains(QStringLiteral("キャンセル")));
}

// Scripted, but the file dialog is a real modal one, which the test closes.
class ModalFileDialogPorts : public testing_support::ScriptedPorts {
public:
    QStringList ChooseFiles(QWidget* parent, const widgets::FileDialogRequest& request) override
    {
        fileRequests.push_back(request);
        QDialog dialog(parent);
        dialog.exec();
        return {};
    }
};

class DeskTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        storage::Database maker;
        maker.CreateDatabase(folder.file("ZUMENDB.FDB"));
        ASSERT_TRUE(maker.Connected());
        ASSERT_TRUE(storage::CreateProjectTable(maker));
        ASSERT_TRUE(maker.InsertRow("ZPROJECT", {"N", "MN", "PRNAME"}, {"7", "1", "'Tower'"}));
        maker.DisconnectDatabase();

        ASSERT_TRUE(storage::WriteSettings(folder.file("k5x7.dat"), settings()));
        frame = std::make_unique<app::TForm1>(ports, folder.file("k5x7"));
        frame->show();
        frame->activateWindow();
        QApplication::processEvents();
        ASSERT_TRUE(frame->database().Connected());
    }

    storage::Settings settings() const
    {
        storage::Settings s;
        s.DbServer = "";
        s.DbFolder = folder.path();
        s.PcUserNo = 1;
        s.Form1 = {0, 0, 800, 600};
        s.ListWidth = 3000;  // larger than any area
        s.ListHeight = 2000;
        s.DetailWidth = 500;
        s.DetailHeight = 400;
        return s;
    }

    QMdiSubWindow* openList()
    {
        Find<QAction>(frame.get(), "mnuProjectList")->trigger();
        QApplication::processEvents();
        return frame->mdiArea()->subWindowList().last();
    }

    QMdiSubWindow* openDetail()
    {
        frame->globals().CurrentProjectNo = 7;
        frame->OpenProjectDetail();
        QApplication::processEvents();
        return frame->mdiArea()->subWindowList().last();
    }

    QRect area() const { return frame->mdiArea()->viewport()->rect(); }

    TempFolder folder;
    ModalFileDialogPorts ports;
    std::unique_ptr<app::TForm1> frame;
};

}  // namespace

TEST_F(DeskTest, ChildWindowsOpenInsideTheAreaAndTheWindowMenuListsThem)
{
    QMdiSubWindow* list = openList();
    EXPECT_TRUE(area().contains(list->geometry())) << list->width() << "x" << list->height();
    QMdiSubWindow* detail = openDetail();
    EXPECT_TRUE(area().contains(detail->geometry()));
    EXPECT_GT(detail->x(), list->x());  // cascaded from the top left
    EXPECT_EQ(detail->size(), QSize(500, 400));

    QMenu* menu = Find<QMenu>(frame.get(), "mnuWindow");
    EXPECT_EQ(menu->title(), QStringLiteral("ウィンドウ(&W)"));
    emit menu->aboutToShow();
    QStringList entries;
    for (const QAction* action : menu->actions())
        entries << (action->isChecked() ? "*" : "") + action->text();
    EXPECT_EQ(entries,
              (QStringList{QStringLiteral("重ねて表示(&C)"), QStringLiteral("並べて表示(&T)"), "",
                           list->windowTitle(), "*" + detail->windowTitle()}));
    menu->actions()[3]->trigger();
    EXPECT_EQ(frame->mdiArea()->activeSubWindow(), list);
    EXPECT_EQ(frame->menuBar()->actions().indexOf(menu->menuAction()), 2);  // after プロジェクト

    // The list was shrunk for this opening only; the detail window keeps what
    // the user sets, in its normal size even when closed maximised or minimised.
    detail->resize(520, 410);
    detail->showMaximized();
    QApplication::processEvents();
    detail->close();
    list->showMinimized();
    QApplication::processEvents();
    list->close();
    EXPECT_EQ(frame->globals().settings.ListWidth, 3000);
    EXPECT_EQ(frame->globals().settings.ListHeight, 2000);
    EXPECT_EQ(frame->globals().settings.DetailWidth, 520);
    EXPECT_EQ(frame->globals().settings.DetailHeight, 410);
}

TEST_F(DeskTest, AnAccessKeyOfTheActiveChildWinsOverTheMenuBar)
{
    QMdiSubWindow* list = openList();
    auto* previous = Find<QPushButton>(list, "Button2");
    QSignalSpy pressed(previous, &QPushButton::clicked);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // Without a child window the key is the menu's again.
    list->close();
    QApplication::processEvents();
    frame->activateWindow();
    QTest::keyClick(frame.get(), Qt::Key_P, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    EXPECT_EQ(popup, Find<QMenu>(frame.get(), "mnuProject"));
    if (popup)
        popup->close();
    EXPECT_EQ(pressed.count(), 1);

    // F10 reaches the menu by the keyboard too.
    QTest::keyClick(frame.get(), Qt::Key_F10);
    QWidget* first = QApplication::activePopupWidget();
    EXPECT_EQ(first, Find<QMenu>(frame.get(), "mnuFile"));
    if (first)
        first->close();
}

TEST_F(DeskTest, TheFocusComesBackAfterAModalDialogEvenWithNoActiveWindowLeft)
{
    QMdiSubWindow* detail = openDetail();
    auto* add = Find<QPushButton>(detail, "ButtonM4");
    add->setFocus();
    // A bare X server leaves no window active when the dialog goes.
    WhenModalOpens([](QWidget* modal) {
        modal->close();
        QApplication::setActiveWindow(nullptr);
    });
    add->click();
    QTest::qWait(50);
    EXPECT_EQ(QApplication::focusWidget(), add);
    EXPECT_EQ(QApplication::activeWindow(), frame.get());

    // A button pressed by its access key clicks a moment later.
    WhenModalOpens([](QWidget* modal) { modal->close(); });
    QTest::keyClick(add, Qt::Key_A, Qt::AltModifier);
    for (int i = 0; i < 100 && ports.fileRequests.size() < 2; ++i)
        QTest::qWait(10);
    EXPECT_EQ(ports.fileRequests.size(), 2u);
}

TEST_F(DeskTest, AWindowStoredOffEveryScreenComesBackWhereItCanBeGrabbed)
{
    frame->close();
    frame.reset();
    storage::Settings s = settings();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QPoint stored : {QPoint(-5000, 30), QPoint(30, -60), QPoint(30, 40)}) {
        s.Form1 = {stored.x(), stored.y(), 600, 400};
        ASSERT_TRUE(storage::WriteSettings(folder.file("k5x7.dat"), s));
        app::TForm1 window(ports, folder.file("k5x7"));
        window.show();
        QApplication::processEvents();
        // Only a position that would hide the title bar moves.
        EXPECT_EQ(window.pos(), stored.y() == 40 ? stored : screen.topLeft());
    }
}
