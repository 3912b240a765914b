// The detail window under a real keyboard: Esc during the list, chart and
// registration loops, and the arrow keys in the name tree.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "common/gui_helpers.h"
#include "common/scripted_ports.h"
#include "drawings/name_dialog.h"
#include "drawings/project_detail_window.h"
#include "project_fixture.h"
#include "widgets/byte_line_edit.h"
#include "widgets/escape_watch.h"
#include "widgets/gantt_view.h"
#include "widgets/string_grid.h"

using testing_support::Find;

namespace {

// Scripted in everything but Esc, which is the application's own watch over
// the real event queue.
class RealEscapePorts : public testing_support::ScriptedPorts {
public:
    bool EscapePressed() override { return widgets::EscapeWatch::Pressed(); }
    void ResetEscape() override { widgets::EscapeWatch::Reset(); }
};

void PostKey(QWidget* target, Qt::Key key)
{
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
}

void PostClick(QWidget* target)
{
    const QPointF at = QRectF(target->rect()).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            target, new QMouseEvent(type, at, target->mapToGlobal(at), Qt::LeftButton,
                                    Qt::LeftButton, Qt::NoModifier));
}

// Past the one-by-one look-up, so the rows come in one pass over the table;
// the last node is a child of the first.
constexpr int kNodes = 150;

class DetailKeyboardTest : public testing_support::ProjectTest {
protected:
    void SetUp() override
    {
        ProjectTest::SetUp();
        drawings::ProjectDetailLogic(db, kProject).Open();
        for (int n = 1; n <= kNodes; ++n) {
            addTreeRow(n, "D" + std::to_string(n), n == kNodes ? 1 : 0);
            ASSERT_TRUE(db.InsertRow(
                "ZMN_7", {"N", "ZUMENN", "DDATE", "UDATE"},
                {std::to_string(n), "'Z" + std::to_string(n) + "'", "'20240101'", "'20240102'"}));
        }
        globals.settings.PcUserNo = 3;
        globals.CurrentProjectNo = kProject;
        window = std::make_unique<drawings::TForm10>(context, &nameDialog);
        window->show();
        window->activateWindow();
        QApplication::processEvents();
    }

    QTreeWidget* tree() { return Find<QTreeWidget>(window.get(), "TreeView1"); }
    widgets::StringGrid* list() { return Find<widgets::StringGrid>(window.get(), "SG1"); }
    void showPage(int page)
    {
        Find<QTabWidget>(window.get(), "PageControl1")->setCurrentIndex(page);
    }
    int listedNodes() { return list()->RowCount() - 2; }

    void clickProjectNode()
    {
        QTreeWidgetItem* project = tree()->topLevelItem(0);
        tree()->setCurrentItem(project);
        emit tree()->itemClicked(project, 0);
    }

    storage::AppGlobals globals;
    RealEscapePorts ports;
    widgets::ScreenContext context{db, globals, ports};
    drawings::TForm11 nameDialog{context};
    std::unique_ptr<drawings::TForm10> window;
};

}  // namespace

TEST_F(DetailKeyboardTest, EscStopsTheListAndChartAndNothingElseRunsMeanwhile)
{
    showPage(1);
    ASSERT_EQ(listedNodes(), kNodes);

    // Pressed before the fill: it stops at the first item. The click on 閉じる
    // and the Esc that would close the window do nothing while it runs.
    PostKey(tree(), Qt::Key_Escape);
    PostClick(Find<QPushButton>(window.get(), "ButtonC"));
    clickProjectNode();
    EXPECT_EQ(listedNodes(), 0);
    EXPECT_TRUE(window->isVisible());

    // Pressed while the drawing rows are read: the nodes read so far stay,
    // each with its row.
    db.SetStatementObserver([this](std::string_view statement) {
        if (statement.find("FROM ZMN_7") != std::string_view::npos)
            PostKey(tree(), Qt::Key_Escape);
    });
    clickProjectNode();
    EXPECT_GT(listedNodes(), 0);
    EXPECT_LT(listedNodes(), kNodes);
    for (int row = 2; row < list()->RowCount(); ++row)
        EXPECT_EQ(list()->Cell(4, row), "Z" + list()->Cell(0, row));
    db.SetStatementObserver({});

    showPage(2);
    const auto* chart = Find<widgets::GanttView>(window.get(), "Chart1");
    ASSERT_EQ(chart->Bars().size(), static_cast<size_t>(kNodes));
    PostKey(tree(), Qt::Key_Escape);
    clickProjectNode();
    EXPECT_EQ(chart->Bars().size(), 0u);

    // Without Esc everything is filled again.
    clickProjectNode();
    EXPECT_EQ(chart->Bars().size(), static_cast<size_t>(kNodes));
}

TEST_F(DetailKeyboardTest, EscStopsARegistrationOfAFewFilesAtTheFileItReached)
{
    const QString files = QString::fromStdString(folder.path());
    QStringList chosen;
    for (int i = 0; i < 5; ++i) {
        QFile file(files + QStringLiteral("f%1.txt").arg(i));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        chosen << file.fileName();
    }
    ports.fileChoices.push_back(chosen);
    tree()->setCurrentItem(tree()->topLevelItem(0));
    PostKey(tree(), Qt::Key_Escape);
    window->ButtonM4Click();
    const int shown = tree()->topLevelItem(0)->childCount() - (kNodes - 1);
    EXPECT_LT(shown, 5);
    EXPECT_EQ(static_cast<int>(rows("ZPRJ_7", 4, "N>0").size()), kNodes + shown);
}

TEST_F(DetailKeyboardTest, ArrowKeysInTheTreeShowTheNodeOnTheActivePage)
{
    tree()->setFocus();
    clickProjectNode();
    tree()->expandAll();
    auto* number = Find<widgets::ByteLineEdit>(window.get(), "Edit1");
    QTest::keyClick(tree(), Qt::Key_Down);
    EXPECT_EQ(number->text(), "1");
    EXPECT_EQ(QApplication::focusWidget(), tree());  // ready for the next key
    QTest::keyClick(tree(), Qt::Key_Down);
    EXPECT_EQ(number->text(), QString::number(kNodes));
    EXPECT_EQ(Find<widgets::ByteLineEdit>(window.get(), "Edit5")->text(), "Z" + number->text());

    // The list of a node: itself, its siblings and what shows below them.
    showPage(1);
    EXPECT_EQ(listedNodes(), 1);
    QTest::keyClick(tree(), Qt::Key_Up);
    EXPECT_EQ(listedNodes(), kNodes);
    QTest::keyClick(tree(), Qt::Key_Down);
    EXPECT_EQ(listedNodes(), 1);
}
