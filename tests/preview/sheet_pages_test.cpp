// Printed pages at scale: the page is the drawing's paper and a known line
// measures its length in millimetres, read back by Poppler (its tools and its
// renderer), not by us.

#include "preview/sheet_pages.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>

#include "common/outside_tools.h"
#include "common/temp_folder.h"
#include "tools/admin/jww_writer.h"

using namespace testing_support;

namespace {

constexpr double kPxPerMm = 10;

QString SavePdf(const preview::SheetPages& pages, const QString& path,
                const preview::PaperChoice& choice = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        !preview::WriteSheetPdf(pages, file, choice, QStringLiteral("t")))
        return {};
    return path;
}

// Page sizes in millimetres as pdfinfo reports them.
std::vector<QSizeF> PageSizes(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                              QStringLiteral("-l"), QStringLiteral("99"), pdf});
    process.waitForFinished(30000);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression size(
        QStringLiteral("Page +\\d+ size: +([\\d.]+) x ([\\d.]+) pts"));
    std::vector<QSizeF> sizes;
    for (auto it = size.globalMatch(out); it.hasNext();) {
        const auto match = it.next();
        sizes.emplace_back(match.captured(1).toDouble() * 25.4 / 72,
                           match.captured(2).toDouble() * 25.4 / 72);
    }
    return sizes;
}

// The first page at kPxPerMm.
QImage Rendered(const QString& pdf, QSizeF millimetres)
{
    const QSize size = (millimetres * kPxPerMm).toSize();
    return preview::LoadPreview(pdf, {size}).picture;
}

// The longest run of dark pixels along row y (or column x).
int DarkRun(const QImage& image, int at, bool row)
{
    int best = 0, run = 0;
    const int length = row ? image.width() : image.height();
    for (int i = 0; i < length; ++i) {
        const QRgb pixel = row ? image.pixel(i, at) : image.pixel(at, i);
        run = qGray(pixel) < 128 ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best;
}

// Best over a few rows or columns around `at`, so a line on a pixel border counts.
int DarkRunNear(const QImage& image, int at, bool row)
{
    int best = 0;
    for (int d = -2; d <= 2; ++d)
        best = std::max(best, DarkRun(image, at + d, row));
    return best;
}

void ExpectSize(const QSizeF& actual, double width, double height)
{
    EXPECT_NEAR(actual.width(), width, 0.5);
    EXPECT_NEAR(actual.height(), height, 0.5);
}

}  // namespace

TEST(SheetPages, DrawingsGoOnTheirPaperAtScaleAndFitOnlyOntoAChosenSmallerPaper)
{
    if (!testing_support::ToolAvailable("pdfinfo"))
        GTEST_SKIP() << "pdfinfo is not on this machine";
    TempFolder folder;
    jww_writer::JwwFile plan;
    plan.paper = 3;  // A3, landscape
    // 100 mm across at y = +40, 50 mm down at x = -100: sheet millimetres.
    plan.elements = {jww_writer::Line(-50, 40, 50, 40), jww_writer::Line(-100, 0, -100, -50)};
    const preview::SheetPages sheets =
        preview::SheetPages::Load(Write(folder, "plan.jww", plan.Bytes()));
    ASSERT_TRUE(sheets.printable()) << sheets.problem().toStdString();
    ASSERT_EQ(sheets.pages(), 1);

    const QString own = SavePdf(sheets, QString::fromStdString(folder.file("own.pdf")));
    const std::vector<QSizeF> ownSizes = PageSizes(own);
    ASSERT_EQ(ownSizes.size(), 1u);
    ExpectSize(ownSizes[0], 420, 297);
    const QImage a3 = Rendered(own, ownSizes[0]);
    ASSERT_FALSE(a3.isNull());
    // The sheet's origin is the page's centre; y up on the sheet is up on the page.
    const int row = qRound(a3.height() / 2.0 - 40 * kPxPerMm);
    EXPECT_NEAR(DarkRunNear(a3, row, true), 100 * kPxPerMm, 4);
    const int column = qRound(a3.width() / 2.0 - 100 * kPxPerMm);
    EXPECT_NEAR(DarkRunNear(a3, column, false), 50 * kPxPerMm, 4);
    EXPECT_TRUE(sheets.Place(0, {}).atScale);

    // Fitted onto A4 only when chosen; a larger choice keeps it at scale.
    const preview::PaperChoice a4{QPageSize(QPageSize::A4)};
    const preview::PagePlacement fitted = sheets.Place(0, a4);
    EXPECT_FALSE(fitted.atScale);
    EXPECT_NEAR(fitted.scale, 297.0 / 420.0, 1e-3);
    const QString small = SavePdf(sheets, QString::fromStdString(folder.file("a4.pdf")), a4);
    const std::vector<QSizeF> smallSizes = PageSizes(small);
    ASSERT_EQ(smallSizes.size(), 1u);
    ExpectSize(smallSizes[0], 297, 210);
    const QImage onA4 = Rendered(small, smallSizes[0]);
    EXPECT_NEAR(DarkRunNear(onA4, qRound(onA4.height() / 2.0 - 40 * fitted.scale * kPxPerMm), true),
                100 * fitted.scale * kPxPerMm, 4);
    EXPECT_TRUE(sheets.Place(0, {QPageSize(QPageSize::A2)}).atScale);
    ExpectSize(
        sheets.Place(0, {QPageSize(QPageSize::A2)}).layout.fullRect(QPageLayout::Millimeter).size(),
        420, 297);
}

TEST(SheetPages, DxfGetsTheSmallestSheetItFitsPdfKeepsItsPagesAndImagesFitA4)
{
    if (!testing_support::ToolAvailable("pdfinfo"))
        GTEST_SKIP() << "pdfinfo is not on this machine";
    TempFolder folder;
    // A 380 x 200 mm rectangle away from the origin: A3 landscape, at scale.
    std::string dxf = "0\nSECTION\n2\nENTITIES\n";
    const double corners[5][2] = {{1000, 500}, {1380, 500}, {1380, 700}, {1000, 700}, {1000, 500}};
    for (int i = 0; i < 4; ++i)
        dxf += "0\nLINE\n8\n0\n10\n" + std::to_string(corners[i][0]) + "\n20\n" +
               std::to_string(corners[i][1]) + "\n11\n" + std::to_string(corners[i + 1][0]) +
               "\n21\n" + std::to_string(corners[i + 1][1]) + "\n";
    dxf += "0\nENDSEC\n0\nEOF\n";
    const preview::SheetPages box = preview::SheetPages::Load(Write(folder, "box.dxf", dxf));
    ASSERT_TRUE(box.printable()) << box.problem().toStdString();
    const QString boxPdf = SavePdf(box, QString::fromStdString(folder.file("box.pdf")));
    const std::vector<QSizeF> boxSizes = PageSizes(boxPdf);
    ASSERT_EQ(boxSizes.size(), 1u);
    ExpectSize(boxSizes[0], 420, 297);
    const QImage boxImage = Rendered(boxPdf, boxSizes[0]);
    EXPECT_NEAR(DarkRunNear(boxImage, qRound(boxImage.height() / 2.0 - 100 * kPxPerMm), true),
                380 * kPxPerMm, 4);

    // A PDF of an A4 portrait page and an A3 landscape one prints both as they are.
    const QString source = QString::fromStdString(folder.file("source.pdf"));
    {
        QPdfWriter writer(source);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        painter.fillRect(QRect(0, 0, writer.width() / 2, writer.height() / 2), Qt::black);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A3), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
        writer.newPage();
        painter.fillRect(QRect(0, 0, writer.width() / 2, writer.height() / 2), Qt::black);
    }
    const preview::SheetPages pdf = preview::SheetPages::Load(source);
    ASSERT_EQ(pdf.pages(), 2);
    const QString copy = SavePdf(pdf, QString::fromStdString(folder.file("copy.pdf")));
    const std::vector<QSizeF> copySizes = PageSizes(copy);
    ASSERT_EQ(copySizes.size(), 2u);
    ExpectSize(copySizes[0], 210, 297);
    ExpectSize(copySizes[1], 420, 297);
    // The first page's black quarter came along.
    const QImage first = Rendered(copy, copySizes[0]);
    EXPECT_LT(qGray(first.pixel(first.width() / 4, first.height() / 4)), 60);
    EXPECT_GT(qGray(first.pixel(first.width() * 3 / 4, first.height() * 3 / 4)), 200);

    // A wide image on A4 landscape; a text file prints nothing and says why.
    QImage wide(400, 100, QImage::Format_RGB32);
    wide.fill(Qt::black);
    const QString png = QString::fromStdString(folder.file("wide.png"));
    ASSERT_TRUE(wide.save(png));
    const preview::SheetPages image = preview::SheetPages::Load(png);
    ASSERT_TRUE(image.printable());
    ExpectSize(image.Place(0, {}).layout.fullRect(QPageLayout::Millimeter).size(), 297, 210);
    const preview::SheetPages note =
        preview::SheetPages::Load(Write(folder, "note.txt", "hello\n"));
    EXPECT_FALSE(note.printable());
    EXPECT_FALSE(note.problem().isEmpty());
}
