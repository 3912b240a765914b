#include "tools/admin/preview_command.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <ostream>

#include "preview/preview_document.h"
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

}  // namespace

int RunPreviewCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> files;
    QSize size(256, 181);
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
        files.push_back(args[i]);
    }
    if (files.size() != 2) {
        err << texts::kPreviewUsage << "\n";
        return 2;
    }
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
