// Drawings that Jw_cad and a vendor's CAD wrote, read from the shared test
// data (never copied here): they read whole, lie on their sheet, their texts
// measure what their own sizes say, and the thumbnail has ink where they are.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstring>

#include "preview/drawing_renderer.h"
#include "preview/jww_reader.h"
#include "preview/preview_document.h"
#include "text/cp932.h"

using preview::Drawing;

namespace {

const QString kFolder = QStringLiteral(K5X7_TESTDATA_DIR);
const QSize kThumbnail(512, 362);
// The largest sheet Jw_cad draws on in an office, A0, centred on the origin.
const QRectF kA0(-1189 / 2.0, -841 / 2.0, 1189, 841);

#define SKIP_WITHOUT_TEST_DATA() \
    if (!QDir(kFolder).exists()) \
    GTEST_SKIP() << "the real drawings are not here: " << kFolder.toStdString()

QStringList FigureFiles()
{
    return QDir(kFolder).entryList({QStringLiteral("*.jws"), QStringLiteral("*.JWS")}, QDir::Files,
                                   QDir::Name);
}

QByteArray Bytes(const QString& name)
{
    QFile file(kFolder + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string_view View(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Jw_cad writes the figure's extent among a figure file's settings, 220
// bytes after its version: an account of the elements independent of ours.
QRectF StoredExtent(const QByteArray& bytes)
{
    double box[4];
    if (bytes.size() < 452)
        return {};
    std::memcpy(box, bytes.constData() + 420, sizeof box);
    return QRectF(QPointF(box[0], box[1]), QPointF(box[2], box[3])).normalized();
}

// Texts of the drawing and of its blocks.
std::vector<const preview::Text*> Texts(const Drawing& drawing)
{
    std::vector<const preview::Text*> texts;
    auto take = [&texts](const std::vector<preview::Entity>& entities) {
        for (const preview::Entity& e : entities)
            if (const auto* t = std::get_if<preview::Text>(&e.shape))
                texts.push_back(t);
    };
    take(drawing.entities);
    for (const preview::Block& block : drawing.blocks)
        take(block.entities);
    return texts;
}

std::size_t BlockElements(const Drawing& drawing)
{
    std::size_t n = 0;
    for (const preview::Block& block : drawing.blocks)
        n += block.entities.size();
    return n;
}

// The bounding box of every pixel that is not the background.
QRect Ink(const QImage& image)
{
    const QRgb background = image.pixel(image.width() / 2, 0) == qRgb(255, 255, 255)
                                ? qRgb(255, 255, 255)
                                : image.pixel(0, 0);
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The thumbnail has ink where the elements are: neither a clump inside
// their extent nor a spill beyond it (by more than a line's width).
void ExpectInkCovers(const QImage& image, const Drawing& drawing)
{
    const QTransform fit =
        preview::FitTransform(preview::DrawingExtent(drawing), QRectF(QPointF(), kThumbnail));
    const QRectF expected = fit.mapRect(preview::ElementExtent(drawing));
    const double reach = 4 + 0.5 * fit.m11();
    const QRectF ink = QRectF(Ink(image));
    ASSERT_FALSE(ink.isEmpty()) << "a blank thumbnail";
    EXPECT_GE(ink.width(), 0.85 * expected.width());
    EXPECT_GE(ink.height(), 0.85 * expected.height());
    EXPECT_TRUE(expected.adjusted(-reach, -reach, reach, reach).contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height() << " outside "
        << expected.x() << "," << expected.y() << " " << expected.width() << "x"
        << expected.height();
}

}  // namespace

TEST(RealDrawings, FigureFilesReadWholeOntoTheSheetAndTheirThumbnailsShowThem)
{
    SKIP_WITHOUT_TEST_DATA();
    const QStringList files = FigureFiles();
    EXPECT_EQ(files.size(), 43);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = Bytes(name);
        const std::optional<Drawing> read = preview::ReadJwCad(View(bytes));
        ASSERT_TRUE(read);
        const Drawing& d = *read;
        EXPECT_TRUE(d.complete);
        EXPECT_TRUE(d.version == 351 || d.version == 600 || d.version == 700) << d.version;
        ASSERT_FALSE(d.entities.empty());

        // Sheet millimetres: on an A0 sheet at most, where Jw_cad says.
        const QRectF extent = preview::ElementExtent(d);
        EXPECT_TRUE(kA0.contains(extent));
        // Jw_cad counts a text by its baseline, this by its character box.
        const QRectF stored = StoredExtent(bytes);
        double tallest = 0;
        for (const preview::Text* t : Texts(d))
            tallest = std::max(tallest, t->height);
        const double slack = 0.02 * std::max(stored.width(), stored.height()) + 0.5 + tallest;
        EXPECT_TRUE(extent.adjusted(-slack, -slack, slack, slack).contains(stored));
        EXPECT_TRUE(stored.adjusted(-slack, -slack, slack, slack).contains(extent));

        // A text spans its half-width cells at half its width and half its
        // spacing each, less the spacing after the last character, whatever
        // the layer group's scale.
        for (const preview::Text* t : Texts(d)) {
            const double cells = static_cast<double>(text::ToCp932Lossy(t->text).size());
            const double last = static_cast<double>(text::ToCp932Lossy(t->text.right(1)).size());
            const double wanted = (cells * (t->width + t->spacing) - last * t->spacing) / 2;
            const double length = std::hypot(t->to.x() - t->from.x(), t->to.y() - t->from.y());
            EXPECT_NEAR(length, wanted, 0.01 * wanted) << t->text.toStdString();
        }

        const preview::PreviewDocument document =
            preview::LoadPreview(kFolder + u'/' + name, {kThumbnail, nullptr});
        ASSERT_EQ(document.kind, preview::PreviewDocument::Kind::Drawing);
        ExpectInkCovers(preview::RenderThumbnail(document, kThumbnail), *document.drawing);
    }
}

TEST(RealDrawings, GoldenCountsOfDrawingsLookedAt)
{
    SKIP_WITHOUT_TEST_DATA();
    struct Golden {
        const char16_t* name;
        std::size_t entities, blocks, blockElements, texts;
        double scale;
    };
    for (const Golden& g : std::initializer_list<Golden>{
             {u"平面_HU.jws", 1, 33, 4049, 2, 100},
             {u"立面_親綱06.jws", 1, 66, 9182, 2, 100},
             {u"文字部品_jKUU.jws", 1, 33, 1240, 7, 100},
             {u"立面_A-上(3800).JWS", 169, 0, 0, 0, 40},
         }) {
        const QString name = QString::fromUtf16(g.name);
        SCOPED_TRACE(name.toStdString());
        const std::optional<Drawing> d = preview::ReadJwCad(View(Bytes(name)));
        ASSERT_TRUE(d);
        EXPECT_EQ(d->entities.size(), g.entities);
        EXPECT_EQ(d->blocks.size(), g.blocks);
        EXPECT_EQ(BlockElements(*d), g.blockElements);
        EXPECT_EQ(Texts(*d).size(), g.texts);
        EXPECT_EQ(d->groups[d->MainGroup()].scale, g.scale);
    }
}

TEST(RealDrawings, TheVendorsDxfAndPdfShowWhereTheirInkIs)
{
    SKIP_WITHOUT_TEST_DATA();
    const QStringList dxf = QDir(kFolder).entryList({QStringLiteral("*.dxf")}, QDir::Files);
    ASSERT_EQ(dxf.size(), 1);
    const preview::PreviewDocument drawing =
        preview::LoadPreview(kFolder + u'/' + dxf[0], {kThumbnail, nullptr});
    ASSERT_EQ(drawing.kind, preview::PreviewDocument::Kind::Drawing);
    EXPECT_TRUE(drawing.problem.isEmpty()) << drawing.problem.toStdString();
    EXPECT_TRUE(drawing.drawing->complete);
    ExpectInkCovers(preview::RenderThumbnail(drawing, kThumbnail), *drawing.drawing);

    const QStringList pdf = QDir(kFolder).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    ASSERT_EQ(pdf.size(), 1);
    const preview::PreviewDocument page =
        preview::LoadPreview(kFolder + u'/' + pdf[0], {kThumbnail, nullptr});
    ASSERT_EQ(page.kind, preview::PreviewDocument::Kind::Picture);
    const QRect ink = Ink(preview::RenderThumbnail(page, kThumbnail));
    EXPECT_GE(ink.width() * ink.height(), kThumbnail.width() * kThumbnail.height() / 8);
}
