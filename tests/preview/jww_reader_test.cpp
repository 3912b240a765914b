// The Jw_cad reader against files of the tests' own writer.

#include "preview/jww_reader.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include "common/slowdown.h"
#include "preview/drawing_renderer.h"
#include "tools/admin/jww_writer.h"

using namespace testing_support;
using namespace jww_writer;
using preview::Drawing;
using preview::Entity;

namespace {

std::string_view View(const std::string& bytes)
{
    return bytes;
}

template <class Shape>
const Shape& As(const Entity& entity)
{
    const Shape* shape = std::get_if<Shape>(&entity.shape);
    if (!shape)
        throw std::runtime_error("another kind of element");
    return *shape;
}

preview::Rgb FromColorref(std::uint32_t c)
{
    return 0xFF000000u | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

// A drawing with one of every element kind, on layers and groups of its own.
JwwFile EveryKind(int version, bool unicode, int timeBytes)
{
    JwwFile file;
    file.version = version;
    file.unicode = unicode;
    file.timeBytes = timeBytes;
    file.memo = QStringLiteral("平面図メモ");
    file.paper = 2;
    file.groupStates[3] = 0;
    file.layerStates[1][5] = 0;
    file.scales[1] = 50;
    file.groupNames[1] = QStringLiteral("１階平面図");
    file.elements = {
        Line(-100, 0, 100, 0, {1, 2, 0, 0}),
        Circle(0, 0, 50, {1, 3, 4, 1}),
        EllipticArc(10, 20, 30, 0.5, 1.0, 0.25, 0.5),
        Dot(5, 6),
        Dot(7, 8, true),
        Text(-100, 50, -40, QStringLiteral("図面A-203"), 10, {1, 4, 0, 0}),
        Dimension(0, -50, 100, -50, QStringLiteral("100")),
        Solid({0, 0, 10, 0, 10, 10, 0, 10}, {1, 10, 0, 0}, 0x0000FF),
        Insert(50, 50, 1, 2, 0.5),
    };
    file.definitions = {
        Definition(2, QStringLiteral("枠"), {Circle(0, 0, 3)}),
        Definition(1, QStringLiteral("窓@@SfigorgFlag@@3"), {Line(0, 0, 10, 0), Insert(0, 0, 2)}),
    };
    return file;
}

// Where the element list starts: the header without its two empty lists.
std::size_t ListStart(JwwFile file)
{
    file.elements.clear();
    file.definitions.clear();
    const int images = file.version >= 700 ? 4 : 0;
    return file.Bytes().size() - 4 - images;
}

}  // namespace

TEST(JwwReader, EveryElementKindInBothStringFormsAndTimeWidths)
{
    for (const auto& [version, unicode, time] :
         {std::tuple{600, false, 4}, {800, true, 8}, {420, false, 4}, {351, false, 4}}) {
        SCOPED_TRACE(version);
        const JwwFile file = EveryKind(version, unicode, time);
        const std::optional<Drawing> read = preview::ReadJwCad(file.Bytes());
        ASSERT_TRUE(read);
        const Drawing& d = *read;
        EXPECT_TRUE(d.complete);
        EXPECT_EQ(d.version, version);
        EXPECT_EQ(d.memo, file.memo);
        EXPECT_EQ(d.paper, QRectF(-297, -210, 594, 420));
        EXPECT_EQ(d.background, 0xFFFFFFFFu);
        EXPECT_EQ(d.groups[3].state, 0);
        EXPECT_EQ(d.groups[1].layers[5].state, 0);
        EXPECT_EQ(d.groups[1].layers[6].state, 2);
        EXPECT_EQ(d.groups[1].scale, 50);
        EXPECT_EQ(d.groups[1].name, QStringLiteral("１階平面図"));
        EXPECT_EQ(d.groups[15].layers[15].name, QStringLiteral("L15-15"));
        EXPECT_TRUE(d.dashes.contains(2));
        EXPECT_FALSE(d.dashes.contains(1));

        // Since 4.20 a dimension brings its extension lines and points along.
        const std::size_t dimension = version >= 420 ? 8 : 2;
        ASSERT_EQ(d.entities.size(), 8 + dimension);
        const auto& line = As<preview::Line>(d.entities[0]);
        EXPECT_EQ(line.from, QPointF(-100, 0));
        EXPECT_EQ(line.to, QPointF(100, 0));
        EXPECT_EQ(d.entities[0].colour, FromColorref(file.penColours[2]));
        const auto& circle = As<preview::Arc>(d.entities[1]);
        EXPECT_TRUE(circle.full);
        EXPECT_EQ(circle.radius, 50);
        EXPECT_EQ((std::pair{d.entities[1].layer, d.entities[1].group}), (std::pair{4, 1}));
        const auto& arc = As<preview::Arc>(d.entities[2]);
        EXPECT_EQ((std::array{arc.radius, arc.start, arc.sweep, arc.tilt, arc.flatness}),
                  (std::array{30.0, 0.5, 1.0, 0.25, 0.5}));
        EXPECT_FALSE(As<preview::Dot>(d.entities[3]).temporary);
        EXPECT_TRUE(As<preview::Dot>(d.entities[4]).temporary);
        const auto& text = As<preview::Text>(d.entities[5]);
        EXPECT_EQ(text.text, QStringLiteral("図面A-203"));
        EXPECT_EQ(text.font, QStringLiteral("ＭＳ ゴシック"));
        EXPECT_EQ(text.height, 10);
        EXPECT_EQ(text.to, QPointF(-40, 50));
        EXPECT_EQ(As<preview::Line>(d.entities[6]).to, QPointF(100, -50));
        EXPECT_EQ(As<preview::Text>(d.entities[7]).text, QStringLiteral("100"));
        const auto& solid = As<preview::Solid>(d.entities[6 + dimension]);
        EXPECT_EQ(solid.corners[2], QPointF(10, 10));
        EXPECT_EQ(solid.corners[3], QPointF(0, 10));
        EXPECT_EQ(d.entities[6 + dimension].colour, 0xFFFF0000u);
        const auto& insert = As<preview::Insert>(d.entities[7 + dimension]);
        EXPECT_EQ((std::tuple{insert.block, insert.scaleX, insert.angle}),
                  (std::tuple{1, 2.0, 0.5}));

        // Blocks by number, names without the kind appended to them.
        ASSERT_EQ(d.blocks.size(), 2u);
        const preview::Block* window = d.FindBlock(1);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->name, QStringLiteral("窓"));
        ASSERT_EQ(window->entities.size(), 2u);
        EXPECT_EQ(As<preview::Insert>(window->entities[1]).block, 2);
        EXPECT_EQ(d.FindBlock(2)->name, QStringLiteral("枠"));
    }
}

TEST(JwwReader, DamagedFilesGiveWhatCameBeforeTheDamage)
{
    EXPECT_FALSE(preview::ReadJwCad(""));
    EXPECT_FALSE(preview::ReadJwCad("JwwData"));
    EXPECT_TRUE(preview::ReadJwCad("JwwData.")->entities.empty());

    const std::string whole = EveryKind(600, false, 4).Bytes();
    const std::size_t all = preview::ReadJwCad(whole)->entities.size();
    std::size_t last = 0;
    for (std::size_t cut = 8; cut < whole.size(); cut += 3) {
        const std::optional<Drawing> read = preview::ReadJwCad(View(whole).substr(0, cut));
        ASSERT_TRUE(read) << cut;
        ASSERT_FALSE(read->complete) << cut;
        ASSERT_LE(read->entities.size(), all) << cut;
        last = std::max(last, read->entities.size());
    }
    EXPECT_EQ(last, all);

    // A count of 2^31 in front of one line: the line, then the end of the file.
    JwwFile one;
    one.elements = {Line(1, 2, 3, 4)};
    std::string huge = one.Bytes();
    const std::size_t at = ListStart(one);
    ASSERT_EQ(huge.substr(at, 2), std::string("\x01\x00", 2));
    huge.replace(at, 2, std::string("\xff\xff\x00\x00\x00\x80", 6));
    QElapsedTimer clock;
    clock.start();
    const std::optional<Drawing> counted = preview::ReadJwCad(huge);
    EXPECT_LT(clock.elapsed(), 200 * kSlowdown);
    EXPECT_EQ(counted->entities.size(), 1u);
    EXPECT_FALSE(counted->complete);

    // A class this reader does not know ends the list where it stands.
    JwwFile unknown;
    const JwwElement future = Element(JwwElement::Kind::Unknown, {}, {1, 2, 3});
    unknown.elements = {Line(1, 2, 3, 4), future, Line(5, 6, 7, 8)};
    const std::optional<Drawing> partial = preview::ReadJwCad(unknown.Bytes());
    EXPECT_EQ(partial->entities.size(), 1u);
    EXPECT_FALSE(partial->complete);
}

TEST(JwwReader, UnexpectedLayoutsAreStillRead)
{
    // Settings this reader does not know, after the described ones.
    JwwFile later = EveryKind(800, true, 8);
    later.extraHeader = std::string(37, '\x5a');
    const std::optional<Drawing> read = preview::ReadJwCad(later.Bytes());
    EXPECT_TRUE(read->complete);
    EXPECT_EQ(read->entities.size(), 16u);
    EXPECT_EQ(read->blocks.size(), 2u);

    // A 6.x file from a build that wrote 64-bit times.
    const std::optional<Drawing> wide = preview::ReadJwCad(EveryKind(600, false, 8).Bytes());
    EXPECT_TRUE(wide->complete);
    EXPECT_EQ(wide->FindBlock(1)->entities.size(), 2u);

    // A figure file: its element list after a few settings of its own.
    const JwwFile figure = EveryKind(700, false, 8);
    const std::string bytes = figure.Bytes();
    const std::string jws =
        "JwsData." + bytes.substr(8, 4) + std::string(21, '\x01') + bytes.substr(ListStart(figure));
    const std::optional<Drawing> shape = preview::ReadJwCad(jws);
    ASSERT_TRUE(shape);
    EXPECT_TRUE(shape->complete);
    EXPECT_EQ(shape->entities.size(), 16u);
    EXPECT_TRUE(shape->paper.isEmpty());
    EXPECT_GE(preview::DrawingExtent(*shape).width(), 200);
}

TEST(JwwReader, HostileBlocksAndLongTextsDrawInBoundedTime)
{
    JwwFile file;
    const QString long65535(65535, QChar(0x3042));
    file.elements = {Insert(0, 0, 1), Insert(0, 0, 2), Text(0, 0, 100, long65535)};
    // One that holds itself; one that holds 40 of the next, ten deep.
    file.definitions = {Definition(1, "self", {Line(0, 0, 1, 1), Insert(0, 0, 1)})};
    for (int n = 2; n < 12; ++n)
        file.definitions.push_back(
            Definition(n, "deep", std::vector<JwwElement>(40, Insert(1, 1, n + 1))));
    const std::optional<Drawing> read = preview::ReadJwCad(file.Bytes());
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->complete);
    EXPECT_EQ(As<preview::Text>(read->entities[2]).text.size(), 65535);

    QImage image(512, 362, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    QElapsedTimer clock;
    clock.start();
    preview::RenderDrawing(painter, *read, preview::FitTransform(read->paper, QRectF(image.rect())),
                           QRectF(image.rect()), preview::DefaultRenderOptions(*read));
    EXPECT_LT(clock.elapsed(), 5000 * kSlowdown);
}
