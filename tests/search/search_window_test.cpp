#include "search/search_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QHeaderView>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QThread>
#include <QTreeWidget>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "drawings/project_detail_window.h"
#include "search/search_results.h"
#include "search/search_texts.h"
#include "search_fixture.h"
#include "text/cp932.h"
#include "widgets/byte_line_edit.h"
#include "widgets/list_output.h"

using search::SearchWindow;
using testing_support::Find;
using testing_support::ScriptedPorts;
using testing_support::SearchTest;
using testing_support::Sjis;
using namespace std::chrono_literals;

namespace {

// Takes what a list hands over for printing and files.
class RecordingOutput : public widgets::ListOutput {
public:
    void Output(QWidget*, widgets::ListFormat format, const text::TextTable& table) override
    {
        formats.push_back(format);
        rows.clear();
        table.rows([this](const text::TextRow& row) {
            rows.push_back(row);
            return true;
        });
    }
    void IssueRegister(QWidget*, int) override {}
    void IssueSet(QWidget*, int, int) override {}

    std::vector<widgets::ListFormat> formats;
    std::vector<text::TextRow> rows;
};

// Opens detail windows the way the main frame does, standing alone.
class DetailOpener : public widgets::WindowOpener {
public:
    void OpenProjectEditor() override {}
    void OpenProjectDetail() override
    {
        detail = std::make_unique<drawings::TForm10>(*context, nullptr);
        detail->show();
    }

    widgets::ScreenContext* context = nullptr;
    std::unique_ptr<drawings::TForm10> detail;
};

class SearchWindowTest : public SearchTest {
protected:
    void SetUp() override
    {
        SearchTest::SetUp();
        globals.settings.PcUserNo = 3;
        opener.context = &context;
    }

    std::unique_ptr<SearchWindow> open()
    {
        auto window = std::make_unique<SearchWindow>(context);
        window->show();
        return window;
    }

    QString cell(SearchWindow& window, int row, int column)
    {
        return window.model()->index(row, column).data().toString();
    }

    // Takes in the file states the worker sends.
    void settle(SearchWindow& window)
    {
        const QDeadlineTimer limit(5000);
        while (window.CheckingFiles() && !limit.hasExpired()) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
        ASSERT_FALSE(window.CheckingFiles());
    }

    storage::AppGlobals globals;
    ScriptedPorts ports;
    DetailOpener opener;
    RecordingOutput output;
    widgets::ScreenContext context{db, globals, ports, &opener, &output};
};

}  // namespace

TEST_F(SearchWindowTest, FindsADrawingAndADoubleClickShowsItInItsDetailWindow)
{
    addProject(1, Sjis("港北集合住宅"));
    addProject(2, "other");
    addDrawing(1, 1, Sjis("意匠図"));
    addDrawing(2, 1, "A-101 elsewhere", {{"KDATE", "20240101"}});
    // Node 2 hangs under node 1, whose branch starts collapsed.
    ASSERT_TRUE(db.InsertRow("ZPRJ_1", {"N", "NAME", "MN", "PARENT_N"},
                             {"2", text::SqlText(Sjis("平面図")), "3", "1"}));
    ASSERT_TRUE(db.InsertRow("ZMN_1", {"N", "ZUMENN", "MTITLE", "MN"},
                             {"2", text::SqlText("A-101"), text::SqlText(Sjis("平面図")), "3"}));

    std::unique_ptr<SearchWindow> window = open();
    Find<widgets::ByteLineEdit>(window.get(), "EditText")->setBytes(Sjis("ａ－１０１"));
    window->ButtonSearchClick();
    ASSERT_FALSE(window->Searching());
    ASSERT_EQ(window->model()->rowCount(), 2);
    EXPECT_EQ(cell(*window, 0, 1), QString::fromUtf8("港北集合住宅"));
    EXPECT_EQ(cell(*window, 0, 3), QString::fromUtf8("平面図"));
    EXPECT_EQ(cell(*window, 1, 8), "20240101");
    EXPECT_TRUE(Find<QStatusBar>(window.get(), "StatusBar1")->currentMessage().startsWith("2"));

    // The queue of my unchecked drawings leaves the checked one out.
    window->ComboPresetSelect(static_cast<int>(search::Preset::MineUnchecked));
    EXPECT_EQ(Find<QComboBox>(window.get(), "ComboMember")->currentData().toInt(), 3);
    ASSERT_EQ(window->model()->rowCount(), 1);

    window->GridDblClick(0);
    ASSERT_TRUE(opener.detail);
    EXPECT_EQ(opener.detail->ProjectNo(), 1);
    auto* tree = Find<QTreeWidget>(opener.detail.get(), "TreeView1");
    ASSERT_TRUE(tree->currentItem());
    EXPECT_EQ(tree->currentItem()->text(0), QString::fromUtf8("平面図 :2"));
    EXPECT_TRUE(tree->currentItem()->parent()->isExpanded());
    EXPECT_EQ(Find<widgets::ByteLineEdit>(opener.detail.get(), "Edit1")->text(), "2");
    EXPECT_EQ(Find<widgets::ByteLineEdit>(opener.detail.get(), "Edit5")->text(), "A-101");
    EXPECT_EQ(globals.CurrentNodeNo, 0);
}

TEST_F(SearchWindowTest, FileQueuesDatesSortingAndCsv)
{
    addProject(1, "files");
    const std::string here = folder.path();
    QFile kept(QString::fromStdString(here + "kept.jww"));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.close();
    addDrawing(1, 1, "kept", {{"FILE_NAME", "kept.jww"}, {"PATH_NAME", here}});
    addDrawing(1, 2, "gone", {{"FILE_NAME", "gone.jww"}, {"PATH_NAME", here}});
    addDrawing(1, 3, "group");

    std::unique_ptr<SearchWindow> window = open();
    window->ButtonSearchClick();
    settle(*window);
    ASSERT_EQ(window->model()->rowCount(), 3);
    EXPECT_EQ(cell(*window, 0, 12), QString::fromUtf8(search::texts::kFileStatePresent));
    EXPECT_EQ(cell(*window, 1, 12), QString::fromUtf8(search::texts::kFileStateMissing));
    EXPECT_EQ(cell(*window, 2, 12), QString());

    auto* grid = Find<QTableView>(window.get(), "Grid");
    grid->horizontalHeader()->setSortIndicator(2, Qt::DescendingOrder);
    EXPECT_EQ(cell(*window, 0, 2), "3");

    window->ComboPresetSelect(static_cast<int>(search::Preset::MissingFiles));
    settle(*window);
    ASSERT_EQ(window->model()->rowCount(), 1);
    EXPECT_EQ(cell(*window, 0, 3), "gone");

    // The CSV button hands the rows shown, in their order, to the shared output.
    window->ButtonCsvClick();
    ASSERT_EQ(output.formats, std::vector<widgets::ListFormat>{widgets::ListFormat::Csv});
    EXPECT_EQ(output.rows, window->model()->Table().rows);

    auto* from = Find<widgets::ByteLineEdit>(window.get(), "EditFrom");
    from->setBytes("2024013");
    window->ButtonSearchClick();
    EXPECT_EQ(ports.lastMessage(), QString::fromUtf8(search::texts::kInvalidDate));
    EXPECT_EQ(window->model()->rowCount(), 1);  // nothing searched
}

TEST_F(SearchWindowTest, RowsAreUsableWhileAShareDoesNotAnswer)
{
    addProject(1, "share");
    const std::string here = folder.path();
    QFile kept(QString::fromStdString(here + "kept.jww"));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.close();
    addDrawing(1, 1, "dead1", {{"FILE_NAME", "1.jww"}, {"PATH_NAME", "//nas/dead/a/"}});
    addDrawing(1, 2, "dead2", {{"FILE_NAME", "2.jww"}, {"PATH_NAME", "//nas/dead/a/"}});
    addDrawing(1, 3, "kept", {{"FILE_NAME", "kept.jww"}, {"PATH_NAME", here}});

    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto probe = [released](const std::string& path) {
        if (path.rfind("//nas/dead/", 0) == 0)
            released.wait();  // a share whose stat never returns
        return search::LookAtFile(path);
    };
    std::unique_ptr<SearchWindow> window = open();
    window->LookAtFilesWith(probe, 400ms);
    window->ButtonSearchClick();
    ASSERT_EQ(window->model()->rowCount(), 3);
    EXPECT_FALSE(window->Searching());
    EXPECT_TRUE(window->CheckingFiles());
    EXPECT_EQ(cell(*window, 0, 12), QString::fromUtf8(search::texts::kFileStatePending));

    // Meanwhile the rows sort, go to CSV and open their drawing.
    Find<QTableView>(window.get(), "Grid")
        ->horizontalHeader()
        ->setSortIndicator(2, Qt::DescendingOrder);
    EXPECT_EQ(cell(*window, 0, 3), "kept");
    window->ButtonCsvClick();
    EXPECT_EQ(output.rows.size(), 3u);
    window->GridDblClick(0);
    ASSERT_TRUE(opener.detail);
    EXPECT_EQ(Find<widgets::ByteLineEdit>(opener.detail.get(), "Edit1")->text(), "3");

    // The folder that does not answer gives up on its files; the next folder is looked at.
    settle(*window);
    EXPECT_EQ(cell(*window, 0, 12), QString::fromUtf8(search::texts::kFileStatePresent));
    EXPECT_EQ(cell(*window, 1, 12), QString::fromUtf8(search::texts::kFileStateNoAnswer));
    EXPECT_EQ(cell(*window, 2, 12), QString::fromUtf8(search::texts::kFileStateNoAnswer));

    // Closing does not wait for a look that still hangs.
    window->ButtonSearchClick();
    ASSERT_TRUE(window->CheckingFiles());
    const auto started = std::chrono::steady_clock::now();
    Find<QPushButton>(window.get(), "ButtonClose")->click();
    window.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 300ms);
    release.set_value();
}

namespace {

// The first project reads slowly enough for the progress box to come up,
// whose 中止 is then pressed.
class StoppingPorts : public ScriptedPorts {
public:
    bool EscapePressed() override
    {
        if (checks++ == 0)
            std::this_thread::sleep_for(400ms);
        else if (auto* box = window->findChild<QProgressDialog*>())
            for (auto* button : box->findChildren<QPushButton*>())
                if (button->text() == QString::fromUtf8(search::texts::kCancel))
                    button->click();
        return false;
    }
    void ResetEscape() override { checks = 0; }

    SearchWindow* window = nullptr;
    int checks = 0;
};

}  // namespace

TEST_F(SearchWindowTest, StopAndEscapeKeepTheRowsSoFarAndTheWindow)
{
    for (int p = 1; p <= 8; ++p) {
        addProject(p, "p" + std::to_string(p));
        addDrawing(p, 1, "d");
    }
    const QString stopped = QString::fromUtf8(search::texts::kStopped);

    std::unique_ptr<SearchWindow> window = open();
    ports.escapeAfter = 1;  // once the first project is read
    window->ButtonSearchClick();
    EXPECT_FALSE(window->Searching());
    EXPECT_EQ(window->model()->rowCount(), 1);
    EXPECT_TRUE(Find<QStatusBar>(window.get(), "StatusBar1")->currentMessage().contains(stopped));
    EXPECT_TRUE(window->isVisible());

    StoppingPorts stopping;
    widgets::ScreenContext slow{db, globals, stopping, &opener, &output};
    SearchWindow boxed(slow);
    boxed.show();
    stopping.window = &boxed;
    boxed.ButtonSearchClick();
    EXPECT_FALSE(boxed.Searching());
    EXPECT_GT(boxed.model()->rowCount(), 0);
    EXPECT_LT(boxed.model()->rowCount(), 8);
    EXPECT_TRUE(Find<QStatusBar>(&boxed, "StatusBar1")->currentMessage().contains(stopped));
    EXPECT_TRUE(boxed.isVisible());
}
