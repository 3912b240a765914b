// Any bytes as a file of one previewed format (K5X7_FUZZ_SUFFIX: the name's
// ending chooses the reader, as in the program): loading and drawing its
// thumbnail must end, within the thumbnail's size.

#include <QGuiApplication>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz_temp_folder.h"
#include "preview/preview_document.h"

namespace {

const QSize kThumbnail(64, 45);

QString Input()
{
    static const QString path =
        QString::fromStdString(fuzzing::TempFolder() + "input." K5X7_FUZZ_SUFFIX);
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    // Fonts and image plug-ins are loaded once here, not counted against an input.
    fuzzing::WriteFile(Input().toStdString(), "warm up");
    (void)preview::RenderThumbnail(preview::LoadPreview(Input()), kThumbnail);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::WriteFile(Input().toStdString(),
                       std::string_view(reinterpret_cast<const char*>(data), size));
    preview::LoadOptions options;
    options.pictureSize = kThumbnail;
    const preview::PreviewDocument document = preview::LoadPreview(Input(), options);
    // A page's size in points is rounded once more when drawn.
    if (document.picture.width() > kThumbnail.width() + 1 ||
        document.picture.height() > kThumbnail.height() + 1)
        std::abort();
    if (preview::RenderThumbnail(document, kThumbnail).size() != kThumbnail)
        std::abort();
    return 0;
}
