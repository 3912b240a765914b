// The information page of the detail window, driven through its buttons.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <tuple>

#include "app/main_window.h"
#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "common/texts.h"
#include "drawings/drawing_info_texts.h"
#include "drawings/name_dialog.h"
#include "drawings/project_detail_window.h"
#include "drawings/revision_history_dialog.h"
#include "drawings/revision_history_texts.h"
#include "preview/preview_window.h"
#include "preview/thumbnail_view.h"
#include "project_fixture.h"
#include "storage/schema.h"
#include "text/cp932.h"
#include "tools/admin/jww_writer.h"
#include "widgets/byte_line_edit.h"

using drawings::TForm10;
using drawings::TForm11;
using drawings::TForm12;
using testing_support::Find;
using testing_support::kHyou;
using testing_support::kKouzou;
using widgets::ByteLineEdit;

namespace info = drawings::drawing_info_texts;
namespace revision = drawings::revision_texts;

using testing_support::DoubleClick;
using testing_support::Q;

namespace {

using Messages = std::vector<QString>;

void WriteFile(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// A Jw_cad drawing file whose header holds the text.
std::string JwwFile(const std::string& text)
{
    return std::string("JwwData.\xff\x00\x00\x01", 12) + static_cast<char>(text.size()) + text;
}

// A project with two drawings (1 "Plan", 2 "Other") and the members 3 Sato and
// 5 表, opened with this PC's user 3, whose name is typed in another case.
class InfoPageTest : public testing_support::ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        globals.settings.DbServer = "";
        globals.settings.DbFolder = folder.path();
        globals.settings.PcUserNo = 3;
        globals.settings.PcUserName = "SATO";
        globals.CurrentProjectNo = kProject;
        ASSERT_TRUE(storage::CreateMemberTable(db));
        for (const auto& [n, name] : {std::pair{3, std::string("Sato")}, {5, kHyou}})
            ASSERT_TRUE(db.InsertRow("MEMBER", {"N", "SN", "PNAME"},
                                     {std::to_string(n), "1", text::SqlText(name)}));
        ASSERT_TRUE(storage::CreateNameTreeTable(db, "ZPRJ_7"));
        ASSERT_TRUE(storage::CreateDrawingTable(db, "ZMN_7"));
        ASSERT_TRUE(storage::CreateRevisionTable(db, "REV_7"));
        addTreeRow(0, "Tower " + kKouzou, 0);
        addTreeRow(1, "Plan", 0);
        addTreeRow(2, "Other", 0);
        // Drawing 1 was checked by 5 long ago; drawing 2 is blank.
        ASSERT_TRUE(db.InsertRow("ZMN_7", {"N", "MTITLE", "MN", "KN", "KDATE", "PN", "RN", "RDATE"},
                                 {"1", "'Old'", "5", "5", "'20200101'", "5", "5", "'20200202'"}));
        ASSERT_TRUE(db.InsertRow("ZMN_7", {"N", "MN", "KN", "AN", "PN", "RN"},
                                 {"2", "0", "0", "0", "0", "0"}));
        sent.clear();
    }

    std::unique_ptr<TForm10> open()
    {
        auto window = std::make_unique<TForm10>(context, &nameDialog, &revisionDialog);
        window->show();
        window->activateWindow();
        QApplication::processEvents();
        return window;
    }

    void select(TForm10* w, const QString& text)
    {
        auto* tree = Find<QTreeWidget>(w, "TreeView1");
        const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        tree->setCurrentItem(found[0]);
        emit tree->itemClicked(found[0], 0);
    }

    ByteLineEdit* edit(TForm10* w, int n)
    {
        return Find<ByteLineEdit>(w, QStringLiteral("Edit%1").arg(n).toLatin1());
    }

    QComboBox* combo(TForm10* w, int n)
    {
        return Find<QComboBox>(w, QStringLiteral("ComboBox%1").arg(n).toLatin1());
    }

    // Clicks a page button and returns what it said.
    Messages press(TForm10* w, int n)
    {
        ports.messages.clear();
        Find<QPushButton>(w, QStringLiteral("Button%1").arg(n).toLatin1())->click();
        return ports.messages;
    }

    // The main window on the test's database, the project's detail window open in it.
    std::unique_ptr<app::TForm1> openInMainWindow()
    {
        storage::Settings s;
        s.DbServer = "";
        s.DbFolder = folder.path();
        EXPECT_TRUE(storage::WriteSettings(folder.file("k5x7.dat"), s));
        auto main = std::make_unique<app::TForm1>(ports, folder.file("k5x7"));
        main->show();
        QApplication::processEvents();
        main->globals().CurrentProjectNo = kProject;
        main->OpenProjectDetail();
        QApplication::processEvents();
        return main;
    }

    storage::Row drawingRow(int n)
    {
        return rows("ZMN_7", storage::kDrawingColumns, "N=" + std::to_string(n)).at(0);
    }

    storage::AppGlobals globals;
    testing_support::ScriptedPorts ports;
    widgets::ScreenContext context{db, globals, ports};
    TForm11 nameDialog{context};
    TForm12 revisionDialog{context};
};

}  // namespace

TEST_F(InfoPageTest, StampsChangeThePageUntilSavedThenReopenAsStored)
{
    auto w = open();
    select(w.get(), "Plan :1");
    ASSERT_EQ(combo(w.get(), 2)->currentIndex(), 2);  // 5, as stored

    // The PC user is member 3 whatever the case of the name.
    EXPECT_EQ(press(w.get(), 4), Messages{});
    EXPECT_EQ(combo(w.get(), 2)->currentIndex(), 1);
    EXPECT_EQ(edit(w.get(), 13)->text(), "20240401");
    press(w.get(), 5);
    EXPECT_EQ(combo(w.get(), 3)->currentIndex(), 1);
    EXPECT_EQ(edit(w.get(), 14)->text(), "20240401");

    // A PC user who is no member still stamps the date, with nobody.
    globals.settings.PcUserNo = 9;
    globals.settings.PcUserName = "Sato";
    ports.today = QDate(2024, 4, 2);
    press(w.get(), 6);
    EXPECT_EQ(combo(w.get(), 4)->currentIndex(), 0);
    EXPECT_EQ(edit(w.get(), 15)->text(), "20240402");
    press(w.get(), 4);
    EXPECT_EQ(combo(w.get(), 2)->currentIndex(), 0);
    EXPECT_EQ(edit(w.get(), 13)->text(), "20240402");

    // A double-click dates any date box, chosen member or not.
    edit(w.get(), 12)->setBytes("");
    DoubleClick(edit(w.get(), 12));
    EXPECT_EQ(edit(w.get(), 12)->text(), "20240402");
    edit(w.get(), 6)->setBytes("New " + kKouzou);
    EXPECT_TRUE(sentStartingWith("UPDATE").empty());
    EXPECT_EQ(drawingRow(1)[13], "20200101");

    EXPECT_EQ(press(w.get(), 9), Messages{Q(info::kSaved)});
    const storage::Row stored = drawingRow(1);
    EXPECT_EQ(stored[4], "New " + kKouzou);
    EXPECT_EQ(stored[11], "20240402");  // UDATE
    EXPECT_EQ((storage::Row{stored[12], stored[13]}), (storage::Row{"0", "20240402"}));
    EXPECT_EQ((storage::Row{stored[14], stored[15]}), (storage::Row{"3", "20240401"}));
    EXPECT_EQ((storage::Row{stored[16], stored[17]}), (storage::Row{"0", "20240402"}));
    EXPECT_EQ(stored[10], "");  // DDATE stays NULL
    EXPECT_EQ(stored[9], "5");

    // Away and back: the page shows what was stored.
    select(w.get(), "Other :2");
    EXPECT_EQ(edit(w.get(), 14)->text(), "");
    select(w.get(), "Plan :1");
    EXPECT_EQ(edit(w.get(), 6)->bytes(), "New " + kKouzou);
    EXPECT_EQ(combo(w.get(), 3)->currentIndex(), 1);
    EXPECT_EQ(edit(w.get(), 14)->text(), "20240401");
    EXPECT_EQ(combo(w.get(), 2)->currentIndex(), 0);
    EXPECT_EQ(edit(w.get(), 13)->text(), "20240402");
    EXPECT_EQ(combo(w.get(), 1)->currentIndex(), 2);
}

TEST_F(InfoPageTest, SaveChecksDatesThenQuotesButStoresQuotedFileNames)
{
    auto w = open();
    select(w.get(), "Plan :1");
    edit(w.get(), 7)->setBytes("it's");
    edit(w.get(), 15)->setBytes("20240230");
    EXPECT_EQ(press(w.get(), 9), Messages{Q(info::kBadDate)});
    EXPECT_EQ(QApplication::focusWidget(), edit(w.get(), 15));
    edit(w.get(), 15)->setBytes("");
    EXPECT_EQ(press(w.get(), 9), Messages{Q(info::kNoQuotes)});
    EXPECT_EQ(QApplication::focusWidget(), edit(w.get(), 7));
    EXPECT_TRUE(sentStartingWith("UPDATE").empty());
    EXPECT_EQ(edit(w.get(), 7)->text(), "it's");  // the input stays for correcting

    // Quotes in the file name and folder are kept exactly.
    edit(w.get(), 7)->setBytes("");
    edit(w.get(), 3)->setBytes("O'Neil \"" + kHyou + "\".jww");
    edit(w.get(), 4)->setBytes("/data/it's/");
    EXPECT_EQ(press(w.get(), 9), Messages{Q(info::kSaved)});
    const storage::Row stored = drawingRow(1);
    EXPECT_EQ(stored[1], "O'Neil \"" + kHyou + "\".jww");
    EXPECT_EQ(stored[2], "/data/it's/");
    EXPECT_EQ(stored[5], "");
    select(w.get(), "Other :2");
    select(w.get(), "Plan :1");
    EXPECT_EQ(edit(w.get(), 3)->bytes(), "O'Neil \"" + kHyou + "\".jww");

    // A drawing deleted by another PC meanwhile is not reported as saved.
    ASSERT_TRUE(db.DeleteRows("ZMN_7", "N=1"));
    EXPECT_EQ(press(w.get(), 9), Messages{Q(info::kSaveFailed)});
    EXPECT_TRUE(rows("ZMN_7", storage::kDrawingColumns, "N=1").empty());
}

TEST_F(InfoPageTest, SavingIsNotOfferedForTheProjectNode)
{
    auto w = open();
    auto* save = Find<QPushButton>(w.get(), "Button9");
    EXPECT_EQ(edit(w.get(), 1)->text(), "0");
    EXPECT_TRUE(save->isVisible());
    EXPECT_FALSE(save->isEnabled());
    EXPECT_EQ(press(w.get(), 9), Messages{});
    w->Button9Click();
    EXPECT_TRUE(ports.messages.empty());
    EXPECT_TRUE(sentStartingWith("UPDATE").empty());

    select(w.get(), "Other :2");
    EXPECT_TRUE(save->isEnabled());
    select(w.get(), "Tower " + text::FromCp932(kKouzou) + " :0");
    EXPECT_FALSE(save->isEnabled());
}

TEST_F(InfoPageTest, TheRevisionHistoryIsEditedFromThePageAndTheNewestTaken)
{
    ASSERT_TRUE(db.InsertRow("REV_7", {"N", "ZN", "CONT", "RN", "RDATE"},
                             {"4", "2", "'other drawing'", "3", "'20240101'"}));
    auto w = open();
    select(w.get(), "Plan :1");
    auto* memo = Find<QPlainTextEdit>(w.get(), "Memo1");
    EXPECT_EQ(memo->toPlainText(), "");

    // No revisions: the stored reviser and date are cleared.
    EXPECT_EQ(combo(w.get(), 5)->currentIndex(), 2);
    EXPECT_EQ(press(w.get(), 7), Messages{});
    EXPECT_EQ(combo(w.get(), 5)->currentIndex(), 0);
    EXPECT_EQ(edit(w.get(), 16)->text(), "");

    // Two entries on one date; the other drawing's entry is not taken over.
    int shownFor = 0;
    Messages said;
    testing_support::WhenModalOpens([&](QWidget* modal) {
        EXPECT_EQ(modal, &revisionDialog);
        shownFor = revisionDialog.DrawingNo;
        auto* number = Find<ByteLineEdit>(modal, "Edit1");
        auto* content = Find<ByteLineEdit>(modal, "Edit2");
        auto* reviser = Find<QComboBox>(modal, "ComboBox1");
        auto* date = Find<ByteLineEdit>(modal, "Edit3");
        const std::tuple<const char*, std::string, int> entries[] = {{"1", "first " + kKouzou, 2},
                                                                     {"2", "second", 1}};
        for (const auto& [n, cont, member] : entries) {
            number->setText(n);
            content->setBytes(cont);
            reviser->setCurrentIndex(member);
            date->setText("20240301");
            Find<QPushButton>(modal, "Button1")->click();
        }
        number->setText("4");
        Find<QPushButton>(modal, "Button4")->click();
        said = ports.messages;
        Find<QPushButton>(modal, "Button3")->click();
    });
    ports.messages.clear();
    press(w.get(), 8);
    EXPECT_EQ(shownFor, 1);
    EXPECT_EQ(revisionDialog.ProjectNo, kProject);
    EXPECT_EQ(said,
              (Messages{Q(revision::kAddOk), Q(revision::kAddOk), Q(revision::kNumberUnused)}));
    EXPECT_EQ(memo->toPlainText(),
              "20240301(5):first " + text::FromCp932(kKouzou) + "\n20240301(3):second");
    EXPECT_EQ(rows("REV_7", 5, "N=4")[0][1], "2");

    // Same date: the larger number is the newest. Still nothing saved.
    press(w.get(), 7);
    EXPECT_EQ(combo(w.get(), 5)->currentIndex(), 1);
    EXPECT_EQ(edit(w.get(), 16)->text(), "20240301");
    EXPECT_EQ(drawingRow(1)[19], "20200202");
    press(w.get(), 9);
    EXPECT_EQ((storage::Row{drawingRow(1)[18], drawingRow(1)[19]}),
              (storage::Row{"3", "20240301"}));
}

TEST_F(InfoPageTest, TheFileIsChosenOpenedAndItsHeaderRead)
{
    const QString dir = QString::fromStdString(folder.path());
    WriteFile(dir + "plan.jww", JwwFile("outline " + kKouzou));
    {
        QFile file(dir + "plan.jww");
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2021, 3, 4), QTime(12, 0)),
                                     QFileDevice::FileModificationTime));
    }
    WriteFile(dir + "notes.txt", "plain text");
    globals.settings.LastDrawingFolder = folder.path() + "last/";
    auto w = open();
    select(w.get(), "Other :2");

    // Nothing to open yet; the dialog starts at the last drawing folder.
    EXPECT_EQ(press(w.get(), 2), Messages{Q(info::kNoPathOrFile)});
    EXPECT_EQ(press(w.get(), 1), Messages{});
    ASSERT_EQ(ports.fileRequests.size(), 1u);
    EXPECT_EQ(ports.fileRequests[0].initialFolder, dir + "last/");
    EXPECT_FALSE(ports.fileRequests[0].multiple);
    EXPECT_EQ(ports.fileRequests[0].filters.size(), 11);
    EXPECT_EQ(edit(w.get(), 3)->text(), "");  // cancelled: nothing taken

    ports.fileChoices = {{dir + "plan.jww"}};
    edit(w.get(), 3)->setBytes("wanted.jww");
    press(w.get(), 1);
    EXPECT_EQ(ports.fileRequests[1].fileName, "wanted.jww");
    EXPECT_EQ(edit(w.get(), 3)->text(), "plan.jww");
    EXPECT_EQ(edit(w.get(), 4)->text(), dir);
    EXPECT_EQ(edit(w.get(), 12)->text(), "20210304");
    EXPECT_TRUE(text::IsValidDateString(edit(w.get(), 11)->bytes()));
    // The folder now shown is where the dialog starts next time.
    press(w.get(), 1);
    EXPECT_EQ(ports.fileRequests[2].initialFolder, dir);
    EXPECT_EQ(ports.fileRequests[2].fileName, "plan.jww");

    EXPECT_EQ(press(w.get(), 2), Messages{});
    EXPECT_EQ(ports.opened, std::vector<QString>{dir + "plan.jww"});
    EXPECT_EQ(press(w.get(), 3), Messages{});
    EXPECT_EQ(edit(w.get(), 8)->bytes(), "outline " + kKouzou);
    // A memo in MFC's Unicode form comes in as CP932.
    WriteFile(dir + "new.jww",
              std::string("JwwData.\x20\x03\0\0\xff\xfe\xff\x02\xf3\x56\x62\x97", 20));
    edit(w.get(), 3)->setBytes("new.jww");
    press(w.get(), 3);
    EXPECT_EQ(edit(w.get(), 8)->bytes(), "\x90\x7d\x96\xca");
    edit(w.get(), 3)->setBytes("plan.jww");

    // A file without a header empties the memo line; a missing one changes nothing.
    edit(w.get(), 3)->setBytes("notes.txt");
    press(w.get(), 3);
    EXPECT_EQ(edit(w.get(), 8)->text(), "");
    edit(w.get(), 8)->setBytes("kept");
    edit(w.get(), 3)->setBytes("plan.jww");
    edit(w.get(), 4)->setBytes(folder.path().substr(0, folder.path().size() - 1));
    EXPECT_EQ(press(w.get(), 2), Messages{Q(info::kFileMissing)});
    EXPECT_EQ(press(w.get(), 3), Messages{});
    EXPECT_EQ(edit(w.get(), 8)->text(), "kept");
    EXPECT_EQ(ports.opened.size(), 1u);
}

TEST_F(InfoPageTest, TheMainWindowGivesTheDetailWindowItsRevisionEditor)
{
    const auto main = openInMainWindow();
    ASSERT_TRUE(main->database().Connected());
    ASSERT_EQ(main->mdiArea()->subWindowList().size(), 1);
    auto* window = qobject_cast<TForm10*>(main->mdiArea()->subWindowList().front()->widget());
    ASSERT_NE(window, nullptr);
    select(window, "Plan :1");

    QWidget* shown = nullptr;
    testing_support::WhenModalOpens([&](QWidget* modal) {
        shown = modal;
        modal->close();
    });
    window->Button8Click();
    auto* editor = qobject_cast<TForm12*>(main->dialogs().form12);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(shown, editor);
    EXPECT_EQ(editor->ProjectNo, kProject);
    EXPECT_EQ(editor->DrawingNo, 1);
}

TEST_F(InfoPageTest, TheThumbnailComesAfterTheClickAndOpensTheViewerInTheFrame)
{
    jww_writer::JwwFile drawing;
    drawing.elements = {jww_writer::Line(-200, 0, 200, 0)};
    WriteFile(QString::fromStdString(folder.file("plan.jww")), drawing.Bytes());
    ASSERT_TRUE(db.UpdateSet(
        "ZMN_7", "FILE_NAME='plan.jww',PATH_NAME=" + text::SqlText(folder.path()), "N=1"));
    const auto owner = openInMainWindow();
    app::TForm1& main = *owner;
    auto* window = qobject_cast<TForm10*>(main.mdiArea()->subWindowList().front()->widget());
    ASSERT_NE(window, nullptr);
    auto* thumbnail = Find<preview::ThumbnailView>(window, "Image1");
    auto waitFor = [](const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    };

    // The whole thumbnail shows without scrolling, at the window's first
    // size as at a larger one.
    auto* scroll = Find<QScrollArea>(window, "ScrollBox1");
    auto wholeInView = [&] {
        QApplication::processEvents();
        const QRect placed(thumbnail->mapTo(scroll->viewport(), QPoint()), thumbnail->size());
        return scroll->viewport()->rect().contains(placed);
    };

    // The click returns before the picture is there; it comes afterwards.
    select(window, "Plan :1");
    EXPECT_TRUE(wholeInView());
    EXPECT_TRUE(thumbnail->isVisible());
    EXPECT_FALSE(thumbnail->HasImage());
    EXPECT_EQ(edit(window, 3)->cursorPosition(), 0);  // the file name shows from its start
    ASSERT_TRUE(waitFor([&] { return thumbnail->HasImage(); }));
    for (const QSize frame : {QSize(), QSize(900, 600)}) {
        if (frame.isValid())
            widgets::FrameOf(window)->resize(frame);
        EXPECT_TRUE(wholeInView()) << window->width() << "x" << window->height();
        const QImage shown = thumbnail->pixmap().toImage();
        int darkest = 255;
        for (int y = shown.height() / 2 - 5; y <= shown.height() / 2 + 5; ++y)
            darkest = std::min(darkest, qGray(shown.pixel(shown.width() / 2, y)));
        // The line across the middle; paler where the picture was made smaller.
        EXPECT_LT(darkest, frame.isValid() ? 160 : 235);
    }
    EXPECT_EQ(thumbnail->pixmap().size(), QSize(256, 181));

    // None for the project node or a drawing without a file.
    select(window, "Tower " + text::FromCp932(kKouzou) + " :0");
    EXPECT_FALSE(thumbnail->isVisible());
    select(window, "Other :2");
    EXPECT_FALSE(thumbnail->isVisible());

    select(window, "Plan :1");
    ASSERT_TRUE(waitFor([&] { return thumbnail->HasImage(); }));
    QTest::mouseClick(thumbnail, Qt::LeftButton);
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 2);
    auto* viewer =
        qobject_cast<preview::PreviewWindow*>(main.mdiArea()->subWindowList().back()->widget());
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(main.mdiArea()->viewport()->rect().contains(
        main.mdiArea()->subWindowList().back()->geometry()));
    ASSERT_TRUE(waitFor([&] { return viewer->document() != nullptr; }));
    EXPECT_EQ(viewer->document()->kind, preview::PreviewDocument::Kind::Drawing);

    // Esc closes the child window that has the focus, not the viewer beside it.
    main.activateWindow();
    QApplication::setActiveWindow(&main);
    main.mdiArea()->setActiveSubWindow(main.mdiArea()->subWindowList().front());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QApplication::processEvents();
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(main.mdiArea()->subWindowList().front()->widget(), viewer);
}
