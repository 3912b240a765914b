// Loading and painting every kind of file the preview shows, and the files
// that must not hurt it.

#include "preview/preview_document.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "common/slowdown.h"
#include "common/temp_folder.h"
#include "common/texts.h"
#include "preview/dxf_reader.h"
#include "preview/dxf_sanitizer.h"
#include "preview/jww_reader.h"
#include "preview/preview_texts.h"
#include "text/cp932.h"
#include "tools/admin/jww_writer.h"

using namespace testing_support;
using namespace jww_writer;
using preview::PreviewDocument;

using testing_support::Q;

using testing_support::Write;

namespace {

bool DarkAt(const QImage& image, double x, double y)
{
    return qGray(image.pixel(static_cast<int>(x), static_cast<int>(y))) < 160;
}

// Any dark pixel in the rectangle.
bool AnyDark(const QImage& image, QRect area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (DarkAt(image, x, y))
                return true;
    return false;
}

// RC4, for the standard security handler of a PDF with a password.
QByteArray Rc4(const QByteArray& key, const QByteArray& data)
{
    unsigned char s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + static_cast<unsigned char>(key[i % key.size()])) & 0xFF;
        std::swap(s[i], s[j]);
    }
    QByteArray out = data;
    for (int n = 0, i = 0, j = 0; n < out.size(); ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        out[n] = static_cast<char>(out[n] ^ s[(s[i] + s[j]) & 0xFF]);
    }
    return out;
}

// A one-page PDF that needs the user password "user" to open (revision 2).
std::string LockedPdf()
{
    const QByteArray pad =
        QByteArray::fromHex("28BF4E5E4E758A4164004E56FFFA01082E2E00B6D0683E802F0CA9FE6453697A");
    auto padded = [&pad](QByteArray password) { return (password + pad).left(32); };
    auto md5 = [](const QByteArray& data) {
        return QCryptographicHash::hash(data, QCryptographicHash::Md5);
    };
    const QByteArray id = QByteArray::fromHex("0123456789ABCDEF0123456789ABCDEF");
    const QByteArray owner = Rc4(md5(padded("owner")).left(5), padded("user"));
    const QByteArray permissions("\xfc\xff\xff\xff", 4);
    const QByteArray key = md5(padded("user") + owner + permissions + id).left(5);
    const QByteArray user = Rc4(key, pad);
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    const std::string objects[] = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>",
        "<< /Filter /Standard /V 1 /R 2 /O <" + owner.toHex().toStdString() + "> /U <" +
            user.toHex().toStdString() + "> /P -4 >>"};
    for (std::size_t i = 0; i < std::size(objects); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 5\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    const std::string hex = id.toHex().toStdString();
    pdf += "trailer\n<< /Size 5 /Root 1 0 R /Encrypt 4 0 R /ID [<" + hex + "> <" + hex +
           ">] >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

// A PNG whose header gives the size, with almost none of its pixels.
std::string HugePng(std::uint32_t width, std::uint32_t height)
{
    auto crc = [](const std::string& bytes) {
        std::uint32_t c = 0xFFFFFFFF;
        for (unsigned char b : bytes) {
            c ^= b;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320 ^ (c >> 1) : c >> 1;
        }
        return ~c;
    };
    auto u32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16 & 0xFF),
                           static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)};
    };
    auto chunk = [&](const std::string& type, const std::string& data) {
        return u32(static_cast<std::uint32_t>(data.size())) + type + data + u32(crc(type + data));
    };
    return std::string("\x89PNG\r\n\x1a\n", 8) +
           chunk("IHDR", u32(width) + u32(height) + std::string("\x08\x02\0\0\0", 5)) +
           chunk("IDAT", std::string("\x78\x9c\x03\0\0\0\0\x01", 8)) + chunk("IEND", "");
}

#ifndef _WIN32

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long CurrentKilobytes()
{
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

#endif

}  // namespace

TEST(PreviewRendering, KnownLineCircleAndTextLieWhereTheyShould)
{
    JwwFile file;
    file.paper = 4;  // A4 landscape, 297 x 210
    file.elements = {Line(-100, 0, 100, 0), Circle(0, 0, 50),
                     Text(-140, 60, -60, QStringLiteral("ABCD"), 20)};
    PreviewDocument document;
    document.kind = PreviewDocument::Kind::Drawing;
    document.drawing = std::make_shared<preview::Drawing>(*preview::ReadJwCad(file.Bytes()));

    // One pixel a millimetre, the sheet's centre at (148.5, 105), y downwards.
    const QImage image = preview::RenderThumbnail(document, QSize(297, 210));
    auto at = [&image](double x, double y) { return DarkAt(image, 148.5 + x, 105 - y); };
    EXPECT_TRUE(at(-90, 0));
    EXPECT_TRUE(at(90, 0));
    EXPECT_FALSE(at(-90, 6));
    EXPECT_FALSE(at(-120, 0));
    EXPECT_TRUE(at(0, 50));
    EXPECT_TRUE(at(0, -50));
    EXPECT_TRUE(at(35.36, 35.36));
    EXPECT_FALSE(at(20, 20));
    // The text stands on its point, inside its height.
    EXPECT_TRUE(AnyDark(image, QRect(QPoint(9, 105 - 79), QPoint(88, 105 - 61))));
    EXPECT_FALSE(AnyDark(image, QRect(QPoint(9, 105 - 95), QPoint(88, 105 - 84))));
    EXPECT_FALSE(AnyDark(image, QRect(QPoint(90, 105 - 79), QPoint(97, 105 - 61))));

    // A layer group switched off is not drawn.
    preview::RenderOptions hidden = preview::DefaultRenderOptions(*document.drawing);
    hidden.groupsShown[0] = false;
    QImage blank(297, 210, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&blank);
    preview::PaintPreview(painter, document, QRectF(blank.rect()), &hidden);
    painter.end();
    EXPECT_FALSE(AnyDark(blank, blank.rect()));
}

TEST(PreviewDocument, PdfImageTextAndOtherFiles)
{
    TempFolder folder;
    const QString pdf = QString::fromStdString(folder.file("sheet.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter(&writer);
        painter.fillRect(QRect(0, 0, writer.width() / 2, writer.height() / 2), Qt::black);
    }
    const PreviewDocument page = preview::LoadPreview(pdf, {QSize(200, 200)});
    ASSERT_EQ(page.kind, PreviewDocument::Kind::Picture) << page.problem.toStdString();
    EXPECT_EQ(page.picture.height(), 200);
    EXPECT_TRUE(DarkAt(page.picture, page.picture.width() * 0.25, 50));
    EXPECT_FALSE(DarkAt(page.picture, page.picture.width() * 0.75, 150));

    const PreviewDocument locked = preview::LoadPreview(Write(folder, "locked.pdf", LockedPdf()));
    EXPECT_EQ(locked.kind, PreviewDocument::Kind::Other);
    EXPECT_EQ(locked.problem, Q(preview::texts::kLocked));

    QImage photo(400, 100, QImage::Format_RGB32);
    photo.fill(Qt::white);
    QPainter(&photo).fillRect(0, 0, 100, 100, Qt::black);
    const QString png = QString::fromStdString(folder.file("photo.PNG"));
    ASSERT_TRUE(photo.save(png));
    const PreviewDocument image = preview::LoadPreview(png, {QSize(200, 200)});
    ASSERT_EQ(image.kind, PreviewDocument::Kind::Picture);
    EXPECT_EQ(image.picture.size(), QSize(200, 50));
    EXPECT_TRUE(DarkAt(image.picture, 20, 25));
    EXPECT_FALSE(DarkAt(image.picture, 150, 25));
    // Scanned drawings often come as TIFF, read by the image formats plugins.
    const QString tif = QString::fromStdString(folder.file("scan.tif"));
    ASSERT_TRUE(photo.save(tif, "TIFF"));
    EXPECT_EQ(preview::LoadPreview(tif, {QSize(200, 200)}).picture.size(), QSize(200, 50));

    const PreviewDocument huge =
        preview::LoadPreview(Write(folder, "huge.png", HugePng(20000, 20000)));
    EXPECT_EQ(huge.problem, Q(preview::texts::kTooLarge));

    const PreviewDocument notes = preview::LoadPreview(
        Write(folder, "notes.txt", *text::ToCp932(Q("図面一覧\r\nA-101\t平面図\r\n"))));
    ASSERT_EQ(notes.kind, PreviewDocument::Kind::Text);
    EXPECT_EQ(notes.lines.mid(0, 2), (QStringList{Q("図面一覧"), Q("A-101    平面図")}));

    // Anything else: its name and size only; the name does not hide a drawing.
    const PreviewDocument other =
        preview::LoadPreview(Write(folder, "spec.xyz", std::string(1234, 'x')));
    EXPECT_EQ(other.kind, PreviewDocument::Kind::Other);
    EXPECT_EQ(other.size, 1234);
    EXPECT_TRUE(other.problem.isEmpty());
    // The old format is named as such, not taken for a damaged file.
    const PreviewDocument old =
        preview::LoadPreview(Write(folder, "site.jwc", std::string(300, '\x01')));
    EXPECT_EQ(old.kind, PreviewDocument::Kind::Other);
    EXPECT_EQ((std::pair{old.fileName, old.problem}),
              (std::pair{QStringLiteral("site.jwc"), Q(preview::texts::kOldFormat)}));
    JwwFile renamed;
    renamed.elements = {Line(0, 0, 1, 1)};
    EXPECT_EQ(preview::LoadPreview(Write(folder, "plan.old", renamed.Bytes())).kind,
              PreviewDocument::Kind::Drawing);
}

// A tall, narrow page: its height limits the fit, not its width rounded up to a pixel.
TEST(PreviewDocument, ATallNarrowPdfPageStaysWithinItsBox)
{
    TempFolder folder;
    const QString path = QString::fromStdString(folder.file("tall.pdf"));
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QSizeF(20, 1000), QPageSize::Point));
        writer.setPageMargins(QMarginsF());
        QPainter painter(&writer);
        painter.drawLine(0, 0, 10, 10);
    }
    const QSize box(256, 46);
    const QImage picture = preview::LoadPreview(path, {box}).picture;
    ASSERT_FALSE(picture.isNull());
    EXPECT_LE(picture.height(), box.height());
    EXPECT_LE(picture.width(), box.width());
}

TEST(PreviewDocument, DxfEntitiesThroughDxflib)
{
    const std::string dxf =
        "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n2\n"
        "0\nLAYER\n2\nWALLS\n70\n0\n62\n1\n6\nCONTINUOUS\n"
        "0\nLAYER\n2\nHIDDEN\n70\n0\n62\n-3\n6\nCONTINUOUS\n0\nENDTAB\n0\nENDSEC\n"
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n2\nDOOR\n70\n0\n10\n5\n20\n5\n30\n0\n"
        "0\nLINE\n8\n0\n10\n5\n20\n5\n30\n0\n11\n15\n21\n5\n31\n0\n0\nENDBLK\n0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n"
        "0\nLINE\n8\nWALLS\n62\n256\n10\n0\n20\n0\n30\n0\n11\n100\n21\n0\n31\n0\n"
        "0\nLINE\n8\nHIDDEN\n10\n0\n20\n0\n30\n0\n11\n9\n21\n9\n31\n0\n"
        "0\nCIRCLE\n8\n0\n10\n50\n20\n50\n30\n0\n40\n25\n"
        "0\nARC\n8\n0\n10\n0\n20\n0\n30\n0\n40\n10\n50\n350\n51\n10\n"
        "0\nELLIPSE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n20\n21\n0\n31\n0\n40\n0.5\n41\n0\n42\n"
        "6.283185307\n"
        "0\nLWPOLYLINE\n8\n0\n90\n4\n70\n1\n10\n0\n20\n0\n10\n10\n20\n0\n10\n10\n20\n10\n10\n0\n"
        "20\n10\n"
        "0\nTEXT\n8\n0\n10\n1\n20\n2\n30\n0\n40\n3.5\n1\nA-101 %%c20\n"
        "0\nINSERT\n8\n0\n2\nDOOR\n10\n100\n20\n100\n30\n0\n"
        "0\nSOLID\n8\n0\n10\n0\n20\n0\n30\n0\n11\n10\n21\n0\n31\n0\n12\n0\n22\n10\n32\n0\n13\n10\n"
        "23\n10\n33\n0\n"
        // Counts that would make dxflib write outside what it allocates.
        "0\nLWPOLYLINE\n8\n0\n42\n1\n90\n1073741825\n10\n1\n20\n1\n10\n2\n20\n2\n"
        "0\nSPLINE\n8\n0\n72\n-5\n73\n2147483647\n10\n0\n20\n0\n"
        "0\nENDSEC\n0\nEOF\n";
    const std::optional<preview::Drawing> read = preview::ReadDxf(dxf);
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->complete);
    const auto& e = read->entities;
    ASSERT_EQ(e.size(), 9u);  // the hidden layer's line is left out
    EXPECT_EQ(std::get<preview::Line>(e[0].shape).to, QPointF(100, 0));
    EXPECT_EQ(e[0].colour, 0xFFFF0000u);  // the layer's red
    EXPECT_EQ(std::get<preview::Arc>(e[1].shape).radius, 25);
    const auto& arc = std::get<preview::Arc>(e[2].shape);
    EXPECT_NEAR(arc.sweep, 20 * M_PI / 180, 1e-9);
    EXPECT_NEAR(std::get<preview::Arc>(e[3].shape).flatness, 0.5, 1e-9);
    const auto& outline = std::get<preview::Polyline>(e[4].shape);
    EXPECT_EQ(outline.points.size(), 4u);
    EXPECT_TRUE(outline.closed);
    EXPECT_EQ(std::get<preview::Text>(e[5].shape).text, Q("A-101 φ20"));
    const auto& insert = std::get<preview::Insert>(e[6].shape);
    const preview::Block* door = read->FindBlock(insert.block);
    ASSERT_NE(door, nullptr);
    EXPECT_EQ(door->base, QPointF(5, 5));
    EXPECT_EQ(door->entities.size(), 1u);
    EXPECT_EQ(std::get<preview::Solid>(e[7].shape).corners[2], QPointF(10, 10));
    EXPECT_EQ(std::get<preview::Polyline>(e[8].shape).points.size(), 2u);

    // A polyline of more vertices than dxflib is given room for keeps the first ones.
    std::string many = "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n90\n3\n";
    for (int i = 0; i < 150000; ++i)
        many += "10\n" + std::to_string(i) + "\n20\n1\n";
    const std::optional<preview::Drawing> capped = preview::ReadDxf(many);
    const auto& kept = std::get<preview::Polyline>(capped->entities.at(0).shape);
    EXPECT_EQ(kept.points.size(), 100000u);
    EXPECT_EQ(kept.points.back(), QPointF(99999, 1));

    // Not a DXF; cut in a group; a group code out of range.
    EXPECT_FALSE(preview::ReadDxf("JwwData."));
    EXPECT_FALSE(preview::ReadDxf(dxf.substr(0, 500))->complete);
    EXPECT_FALSE(preview::SanitizeDxf("0\nSECTION\n-7\nX\n").whole);
}

// FIFOs and the process's memory as POSIX reports them.
#ifndef _WIN32
TEST(PreviewDocument, HostileFilesStayWithinTimeAndMemory)
{
    TempFolder folder;
    JwwFile deep;
    deep.elements = {Insert(0, 0, 1)};
    for (int n = 1; n < 10; ++n)
        deep.definitions.push_back(
            Definition(n, "n", std::vector<JwwElement>(50, Insert(1, 1, n + 1))));
    deep.definitions.push_back(Definition(10, "leaf", {Line(0, 0, 1, 1)}));
    std::string junk = "JwwData.";
    junk.resize(40 << 20, '\xff');  // past what is read of a drawing
    std::string lines = "0\nSECTION\n2\nENTITIES\n";
    while (lines.size() < (30 << 20))
        lines += "0\nLINE\n";
    ::mkfifo(folder.file("pipe.jww").c_str(), 0600);
    const QString paths[] = {
        Write(folder, "empty.jww", ""),
        Write(folder, "deep.jww", deep.Bytes()),
        Write(folder, "junk.jww", junk),
        Write(folder, "lines.dxf", lines),
        Write(folder, "huge.png", HugePng(20000, 20000)),
        Write(folder, "cut.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(100, '\0')),
        Write(folder, "cut.pdf", LockedPdf().substr(0, 200)),
        QString::fromStdString(folder.file("pipe.jww")),
        QString::fromStdString(folder.file("missing.jww")),
    };
    const long before = CurrentKilobytes();
    for (const QString& path : paths) {
        QElapsedTimer clock;
        clock.start();
        const QImage thumbnail =
            preview::RenderThumbnail(preview::LoadPreview(path), QSize(256, 181));
        EXPECT_EQ(thumbnail.size(), QSize(256, 181)) << path.toStdString();
        EXPECT_LT(clock.elapsed(), 5000 * kSlowdown) << path.toStdString();
    }
    EXPECT_EQ(preview::LoadPreview(paths[7]).problem, Q(preview::texts::kNotRegular));
    EXPECT_EQ(preview::LoadPreview(paths[0]).problem, Q(preview::texts::kCannotShow));
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(PeakKilobytes() - before, 256 * 1024);
#endif
}
#endif
