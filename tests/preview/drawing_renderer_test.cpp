// The renderer by its pixels: sheet millimetres whatever the layer group's
// scale, line types to their pitch, texts turned about their start, and
// hostile values that still give a picture.

#include "preview/drawing_renderer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <limits>

#include "common/slowdown.h"
#include "preview/jww_reader.h"
#include "preview/preview_document.h"
#include "tools/admin/jww_writer.h"

using namespace testing_support;
using preview::Drawing;
using preview::Entity;

namespace {

constexpr double kPerMillimetre = 5;

QImage Render(const Drawing& drawing, QSize size, QPointF origin, bool forPrint = false)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    QTransform toDevice;
    toDevice.translate(origin.x(), origin.y());
    toDevice.scale(kPerMillimetre, -kPerMillimetre);
    preview::RenderOptions options = preview::DefaultRenderOptions(drawing);
    options.forPrint = forPrint;
    preview::RenderDrawing(painter, drawing, toDevice, QRectF(image.rect()), options);
    return image;
}

bool Dark(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

QRect DarkBounds(const QImage& image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 200)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

Entity Element(decltype(Entity::shape) shape, int style = 1, int group = 0)
{
    Entity e;
    e.group = group;
    e.penStyle = style;
    e.shape = std::move(shape);
    return e;
}

}  // namespace

TEST(DrawingRenderer, DashesKeepTheirPitchInSheetMillimetresAtAnyScale)
{
    for (double scale : {1.0, 100.0, 200.0}) {
        SCOPED_TRACE(scale);
        Drawing d;
        d.groups[0].scale = scale;
        d.dashes[2] = {2.0, 1.0};
        d.entities = {Element(preview::Line{{0, 0}, {100, 0}}, 2)};
        const QImage image = Render(d, QSize(540, 20), QPointF(10, 10.5));
        // On, off, on...: 10 pixels of dash, 5 of gap, from x = 10 to 510.
        std::vector<int> runs{1};
        bool on = Dark(image, 10, 10);
        EXPECT_TRUE(on);
        for (int x = 11; x < 510; ++x) {
            if (Dark(image, x, 10) == on) {
                ++runs.back();
            } else {
                on = !on;
                runs.push_back(1);
            }
        }
        ASSERT_GE(runs.size(), 60u);
        for (std::size_t i = 0; i + 1 < runs.size(); ++i)
            EXPECT_NEAR(runs[i], i % 2 == 0 ? 10 : 5, 1) << i;
        EXPECT_EQ(DarkBounds(image).right(), 509);
    }
}

TEST(DrawingRenderer, ARotatedTextStandsOnItsStartAtItsStoredSize)
{
    Drawing d;
    d.groups[0].scale = 50;
    // Two full-width characters, 10 mm wide and high, turned a quarter.
    d.entities = {Element(preview::Text{
        {0, 0}, {0, 20}, 10, 10, 0, 90, QStringLiteral("ＭＳ ゴシック"), QStringLiteral("日本")})};
    const QImage image = Render(d, QSize(300, 200), QPointF(150, 160));
    // The baseline runs up from (150, 160) to (150, 60); the characters lie
    // to its left, 50 pixels high.
    const QRect ink = DarkBounds(image);
    EXPECT_TRUE(QRect(QPoint(96, 56), QPoint(153, 163)).contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    EXPECT_GE(ink.width(), 35);
    EXPECT_GE(ink.height(), 80);
    EXPECT_GT(ink.center().y(), 95);
    EXPECT_LT(ink.center().y(), 125);
}

TEST(DrawingRenderer, LayersTheFileHidesOrOnlyShows)
{
    Drawing d;
    d.groups[1].state = 0;            // a hidden group
    d.groups[0].layers[1].state = 0;  // a hidden layer
    d.groups[0].layers[2].state = 1;  // shown, not editable: grey
    d.dashes[9] = {0.5, 0.5};
    Entity hidden = Element(preview::Line{{0, 0}, {50, 0}}, 1, 1);
    Entity hiddenLayer = Element(preview::Line{{0, 5}, {50, 5}});
    hiddenLayer.layer = 1;
    Entity greyed = Element(preview::Line{{0, 10}, {50, 10}});
    greyed.layer = 2;
    // Construction lines show on screen and never print.
    Entity auxiliary = Element(preview::Line{{0, 15}, {50, 15}}, 9);
    d.entities = {hidden, hiddenLayer, greyed, auxiliary};
    const QImage screen = Render(d, QSize(300, 120), QPointF(10, 100.5));
    EXPECT_EQ(DarkBounds(screen).top(), 25);
    EXPECT_EQ(qGray(screen.pixel(100, 50)), qGray(QColor(0x99, 0x99, 0x99).rgb()));
    // On paper the pen has the width the file gives it: 1 mm, 5 pixels.
    d.printWidths[1] = 1.0;
    const QImage printed = Render(d, QSize(300, 120), QPointF(10, 100.5), true);
    EXPECT_EQ(DarkBounds(printed).top(), 48);
    EXPECT_EQ(DarkBounds(printed).bottom(), 52);
    EXPECT_TRUE(Dark(printed, 100, 50));
}

TEST(DrawingRenderer, HostileValuesStillGiveAPicture)
{
    using namespace jww_writer;
    JwwFile file;
    file.paper = 99;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    file.scales = {0, -50, nan, 1e300, std::numeric_limits<double>::infinity()};
    JwwElement thin = Text(0, 20, 40, QStringLiteral("幅0"), 5);
    thin.numbers[4] = 0;
    JwwElement wide = Text(0, 40, 40, QStringLiteral("幅1e9"), 5);
    wide.numbers[4] = 1e9;
    file.elements = {Line(0, 0, 100, 0, {1, 2, 0, 0}),
                     Line(0, 0, 0, 60, {1, 2, 0, 1}),
                     Line(0, 60, 100, 60, {1, 2, 0, 2}),
                     Line(100, 0, 100, 60, {1, 2, 0, 3}),
                     thin,
                     wide,
                     Insert(0, 0, 1),
                     Insert(50, 30, 2000)};
    // A chain a thousand deep, and one that holds itself.
    for (int n = 1; n < 1000; ++n)
        file.definitions.push_back(Definition(n, "chain", {Line(0, 0, 1, 1), Insert(1, 1, n + 1)}));
    file.definitions.push_back(Definition(2000, "self", {Line(0, 0, 1, 1), Insert(1, 0, 2000)}));

    const std::optional<Drawing> d = preview::ReadJwCad(file.Bytes());
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->complete);
    EXPECT_TRUE(d->paper.isEmpty());
    for (int g : {0, 1, 2, 4})
        EXPECT_EQ(d->groups[g].scale, 1) << g;
    EXPECT_EQ(d->groups[3].scale, 1e300);
    // The lines' own rectangle, not one shrunk or blown up by a scale.
    const QRectF extent = preview::DrawingExtent(*d);
    EXPECT_EQ(extent.left(), 0);
    EXPECT_EQ(extent.bottom(), 60);
    EXPECT_LT(extent.right(), 120);

    preview::PreviewDocument document;
    document.kind = preview::PreviewDocument::Kind::Drawing;
    document.drawing = std::make_shared<const Drawing>(*d);
    QElapsedTimer clock;
    clock.start();
    const QImage image = preview::RenderThumbnail(document, QSize(256, 181));
    EXPECT_LT(clock.elapsed(), 2000 * kSlowdown);
    EXPECT_GE(DarkBounds(image).width(), 200);
}
