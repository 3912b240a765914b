// k5x7-admin preview: the thumbnail as a PNG, also with no display at all.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <sstream>

#include "common/temp_folder.h"
#include "preview/preview_texts.h"
#include "tools/admin/admin_commands.h"
#include "tools/admin/jww_writer.h"

using testing_support::TempFolder;

namespace {

struct AdminRun {
    int code;
    std::string out, err;
};

AdminRun Admin(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = admin::RunAdmin(args, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace

TEST(PreviewCommand, DrawsThePngAtTheSizeAskedAndRefusesBadArguments)
{
    TempFolder folder;
    jww_writer::JwwFile drawing;
    drawing.elements = {jww_writer::Line(-200, 0, 200, 0)};
    const std::string plan = folder.file("plan.jww");
    {
        QFile file(QString::fromStdString(plan));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string bytes = drawing.Bytes();
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    const std::string png = folder.file("plan.png");
    EXPECT_EQ(Admin({"preview", plan, png, "--size", "300x212"}).code, 0);
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(300, 212));
    int darkest = 255;
    for (int y = 100; y < 112; ++y)
        darkest = std::min(darkest, qGray(image.pixel(150, y)));
    EXPECT_LT(darkest, 160);

    const AdminRun missing = Admin({"preview", folder.file("none.jww"), png});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find(preview::texts::kMissing), std::string::npos);
    EXPECT_EQ(Admin({"preview", plan, png, "--size", "10x10"}).code, 2);
    EXPECT_EQ(Admin({"preview", plan, png, "--size"}).code, 2);
    EXPECT_EQ(Admin({"preview", plan}).code, 2);
    EXPECT_EQ(Admin({"preview", plan, folder.file("no/such/dir.png")}).code, 1);

    // The executable itself, where there is no display and no platform named.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    process.setProcessEnvironment(environment);
    const QString again = QString::fromStdString(folder.file("again.png"));
    process.start(K5X7_ADMIN, {"preview", QString::fromStdString(plan), again});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(QImage(again).size(), QSize(256, 181));
}

TEST(PreviewCommand, WritesThePdfOnTheDrawingsPaperOrFittedOntoTheOneAskedFor)
{
    TempFolder folder;
    jww_writer::JwwFile drawing;
    drawing.paper = 3;  // A3
    drawing.elements = {jww_writer::Line(-200, 0, 200, 0)};
    const std::string plan = folder.file("plan.jww");
    {
        QFile file(QString::fromStdString(plan));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string bytes = drawing.Bytes();
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    // pdfinfo's "Page size: W x H pts (name)": the size to a point, and its name.
    const auto pageSize = [](const std::string& pdf) {
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf)});
        info.waitForFinished(30000);
        static const QRegularExpression size(
            QStringLiteral("Page size: +([\\d.]+) x ([\\d.]+) pts \\((\\w+)\\)"));
        const auto match = size.match(QString::fromUtf8(info.readAllStandardOutput()));
        return QStringLiteral("%1x%2 %3")
            .arg(qRound(match.captured(1).toDouble()))
            .arg(qRound(match.captured(2).toDouble()))
            .arg(match.captured(3));
    };
    const std::string own = folder.file("own.pdf");
    ASSERT_EQ(Admin({"preview", plan, own}).code, 0);
    EXPECT_EQ(pageSize(own), QStringLiteral("1191x842 A3"));
    const std::string fitted = folder.file("fitted.pdf");
    ASSERT_EQ(Admin({"preview", plan, fitted, "--fit", "a4"}).code, 0);
    EXPECT_EQ(pageSize(fitted), QStringLiteral("842x595 A4"));
    EXPECT_EQ(Admin({"preview", plan, fitted, "--fit", "B5"}).code, 2);
    const AdminRun text = Admin({"preview", folder.file("none.txt"), folder.file("t.pdf")});
    EXPECT_EQ(text.code, 1);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.file("t.pdf"))));
}
