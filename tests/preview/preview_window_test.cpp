// The viewer window: loading away from the window, zoom, pan, 全体表示, layer
// groups, and what printing puts on the page.

#include "preview/preview_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPdfWriter>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include "common/gui_helpers.h"
#include "common/temp_folder.h"
#include "tools/admin/jww_writer.h"

using namespace testing_support;
using namespace jww_writer;

namespace {

bool WriteBytes(const QString& path, const std::string& bytes)
{
    QFile out(path);
    return out.open(QIODevice::WriteOnly) &&
           out.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

bool WaitFor(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

bool AnyDark(const QImage& image, QRect area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                return true;
    return false;
}

}  // namespace

TEST(PreviewWindow, ZoomsAroundThePointerFitsOnHomeAndPrintsTheGroupsShown)
{
    TempFolder folder;
    JwwFile file;
    file.paper = 4;
    file.groupNames[1] = QStringLiteral("設備");
    file.elements = {Line(-140, 0, 140, 0), Circle(0, 50, 40, {1, 1, 0, 1})};
    const QString path = QString::fromStdString(folder.file("plan.jww"));
    ASSERT_TRUE(WriteBytes(path, file.Bytes()));
    preview::PreviewWindow window(path);
    window.show();
    ASSERT_TRUE(WaitFor([&] { return window.document() != nullptr; }));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("プレビュー - plan.jww"));
    ASSERT_EQ(window.document()->kind, preview::PreviewDocument::Kind::Drawing);
    auto* view = Find<preview::PreviewView>(&window, "View1");
    auto* group1 = Find<QToolButton>(&window, "LayerGroup1");
    EXPECT_TRUE(group1->isVisible());
    EXPECT_TRUE(group1->toolTip().contains(QStringLiteral("設備")));
    // The scale of the group in use, which draws nothing smaller.
    EXPECT_EQ(Find<QLabel>(&window, "ScaleLabel")->text(), QStringLiteral("縮尺 1/100"));

    // The wheel zooms in about the point under the pointer.
    const double fitted = view->zoom();
    const QPoint at(view->viewport()->width() / 3, view->viewport()->height() / 3);
    const QPointF before = view->mapToScene(at);
    QWheelEvent wheel(QPointF(at), QPointF(view->viewport()->mapToGlobal(at)), QPoint(),
                      QPoint(0, 480), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    EXPECT_GT(view->zoom(), fitted * 1.5);
    const QPointF after = view->mapToScene(at);
    EXPECT_NEAR(after.x(), before.x(), 1.0);
    EXPECT_NEAR(after.y(), before.y(), 1.0);
    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_NEAR(view->zoom(), fitted, fitted * 1e-6);

    // Printing draws what the window shows: group 1 switched off, then on.
    auto printed = [&](const char* name) {
        const QString pdf = QString::fromStdString(folder.file(name));
        {
            QPdfWriter writer(pdf);
            writer.setPageOrientation(QPageLayout::Landscape);
            window.PaintPage(writer);
        }
        return preview::LoadPreview(pdf, {QSize(400, 400)}).picture;
    };
    group1->click();
    EXPECT_FALSE(window.renderOptions().groupsShown[1]);
    const QImage without = printed("without.pdf");
    ASSERT_FALSE(without.isNull());
    const int middle = without.height() / 2;
    const QRect band(without.width() / 4, middle - 3, without.width() / 2, 6);
    const QRect above(0, 0, without.width(), middle - 6);
    EXPECT_TRUE(AnyDark(without, band));
    EXPECT_FALSE(AnyDark(without, above));
    group1->click();
    EXPECT_TRUE(AnyDark(printed("with.pdf"), above));
}

TEST(PreviewWindow, SavesThePdfOnTheDrawingsPaperOrOnTheSmallerPaperChosen)
{
    TempFolder folder;
    JwwFile file;
    file.paper = 3;  // A3
    file.elements = {Line(-100, 0, 100, 0)};
    const QString path = QString::fromStdString(folder.file("plan.jww"));
    ASSERT_TRUE(WriteBytes(path, file.Bytes()));
    preview::PreviewWindow window(path);
    window.show();
    ASSERT_TRUE(WaitFor([&] { return window.document() != nullptr; }));
    QString target = QString::fromStdString(folder.file("saved"));
    std::vector<widgets::SaveRequest> asked;
    window.chooseSaveFile = [&](QWidget*, const widgets::SaveRequest& request) {
        asked.push_back(request);
        return widgets::SaveChoice{target, 0};
    };
    // A3 at scale, or fitted onto A4 only: the larger papers are not offered.
    auto* paper = Find<QComboBox>(&window, "ComboPaper");
    ASSERT_EQ(paper->count(), 2);
    EXPECT_EQ(paper->itemText(0), QStringLiteral("A3 原寸（1:1）"));
    EXPECT_EQ(paper->itemText(1), QStringLiteral("A4 に縮小（71%）"));
    const auto pageOf = [](const QString& pdf) {
        const preview::SheetPages pages = preview::SheetPages::Load(pdf);
        return pages.printable()
                   ? pages.OwnLayout(0).fullRect(QPageLayout::Millimeter).size().toSize()
                   : QSize();
    };
    Find<QPushButton>(&window, "ButtonPdf")->click();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].fileName, QStringLiteral("plan.pdf"));
    EXPECT_EQ(pageOf(target + ".pdf"), QSize(420, 297));

    paper->setCurrentIndex(1);
    EXPECT_EQ(window.PlacementText(), QStringLiteral("A4 に縮小（71%）"));
    target = QString::fromStdString(folder.file("small.pdf"));
    Find<QPushButton>(&window, "ButtonPdf")->click();
    EXPECT_EQ(pageOf(target), QSize(297, 210));
    EXPECT_TRUE(Find<QLabel>(&window, "StatusLabel")->text().contains(QStringLiteral("small.pdf")));
}
