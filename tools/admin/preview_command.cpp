#include "tools/admin/preview_command.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSaveFile>
#include <ostream>

#include "preview/preview_document.h"
#include "preview/sheet_pages.h"
#include "text/platform.h"
#include "tools/admin/admin_texts.h"

namespace admin {

namespace {

constexpr int kSmallest = 16;
constexpr int kLargest = 4096;

std::optional<QSize> ParseSize(const std::string& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,4})[xX](\\d{1,4})$"));
    const auto match = form.match(QString::fromStdString(text));
    if (!match.hasMatch())
        return std::nullopt;
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    if (size.width() < kSmallest || size.height() < kSmallest || size.width() > kLargest ||
        size.height() > kLargest)
        return std::nullopt;
    return size;
}

std::optional<QPageSize> ParsePaper(const std::string& text)
{
    for (const QPageSize::PageSizeId id :
         {QPageSize::A4, QPageSize::A3, QPageSize::A2, QPageSize::A1})
        if (QString::fromStdString(text).compare(QPageSize::name(id), Qt::CaseInsensitive) == 0)
            return QPageSize(id);
    return std::nullopt;
}

int WritePdf(const std::string& input, const std::string& output, const preview::PaperChoice& paper,
             std::ostream& out, std::ostream& err)
{
    const preview::SheetPages sheets = preview::SheetPages::Load(QFile::decodeName(input.c_str()));
    if (!sheets.printable()) {
        err << texts::kProgram << " preview: " << texts::kPreviewNotPrintable << input << ": "
            << sheets.problem().toStdString() << "\n";
        return 1;
    }
    QSaveFile file(QFile::decodeName(output.c_str()));
    if (!file.open(QIODevice::WriteOnly) ||
        !preview::WriteSheetPdf(sheets, file, paper, sheets.fileName()) || !file.commit()) {
        err << texts::kProgram << " preview: " << texts::kPreviewCannotWrite << output << "\n";
        return 1;
    }
    if (!sheets.problem().isEmpty())
        out << input << ": " << sheets.problem().toStdString() << "\n";
    return 0;
}

}  // namespace

int RunPreviewCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> files;
    QSize size(256, 181);
    preview::PaperChoice paper;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-h" || args[i] == "--help") {
            out << texts::kPreviewUsage << "\n";
            return 0;
        }
        if (args[i] == "--size") {
            const auto parsed = i + 1 < args.size() ? ParseSize(args[++i]) : std::nullopt;
            if (!parsed) {
                err << texts::kProgram << " preview: " << texts::kPreviewBadSize << "\n";
                return 2;
            }
            size = *parsed;
            continue;
        }
        if (args[i] == "--fit") {
            paper.fitTo = i + 1 < args.size() ? ParsePaper(args[++i]) : std::nullopt;
            if (!paper.fitTo) {
                err << texts::kProgram << " preview: " << texts::kPreviewBadPaper << "\n";
                return 2;
            }
            continue;
        }
        files.push_back(args[i]);
    }
    if (files.size() != 2) {
        err << texts::kPreviewUsage << "\n";
        return 2;
    }
    if (QString::fromStdString(files[1]).endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        return WritePdf(files[0], files[1], paper, out, err);
    const QString input = QFile::decodeName(files[0].c_str());
    const QString output = QFile::decodeName(files[1].c_str());
    preview::LoadOptions options;
    options.pictureSize = size;
    const preview::PreviewDocument document = preview::LoadPreview(input, options);
    // A file that could not even be looked at has no picture to make.
    if (document.size < 0) {
        err << texts::kProgram << " preview: " << files[0] << ": " << document.problem.toStdString()
            << "\n";
        return 1;
    }
    // "-" writes the picture to standard output (the program's thumbnails take it from there).
    const bool toStdout = files[1] == "-";
    QFile stdoutFile;
    if (toStdout)
        text::UseBinaryStandardOutput();
    const bool written = toStdout
                             ? stdoutFile.open(stdout, QIODevice::WriteOnly) &&
                                   preview::RenderThumbnail(document, size).save(&stdoutFile, "PNG")
                             : preview::RenderThumbnail(document, size).save(output, "PNG");
    if (!written) {
        err << texts::kProgram << " preview: " << texts::kPreviewCannotWrite << files[1] << "\n";
        return 1;
    }
    if (!document.problem.isEmpty())
        (toStdout ? err : out) << files[0] << ": " << document.problem.toStdString() << "\n";
    return 0;
}

}  // namespace admin
