#include "preview/thumbnail_helper.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "preview/preview_document.h"
#include "preview/preview_texts.h"
#include "text/cp932.h"
#include "text/platform.h"

namespace preview {

namespace {

#ifdef _WIN32
constexpr char kHelperName[] = "k5x7-admin.exe";
#else
constexpr char kHelperName[] = "k5x7-admin";
#endif

bool Runnable(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

}  // namespace

QString FindAdminHelper(const char* overrideVariable)
{
    const QString chosen = qEnvironmentVariable(overrideVariable);
    if (!chosen.isEmpty())
        return Runnable(chosen) ? chosen : QString();
    const QString beside =
        QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(kHelperName));
    if (Runnable(beside))
        return beside;
#ifdef K5X7_BUILT_HELPER
    if (Runnable(QStringLiteral(K5X7_BUILT_HELPER)))
        return QStringLiteral(K5X7_BUILT_HELPER);
#endif
    return {};
}

QString FindPreviewHelper()
{
    return FindAdminHelper("K5X7_PREVIEW_HELPER");
}

std::unique_ptr<QProcess> StartPreviewHelper(const QString& helper, const QString& path, QSize size)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    // Its complaints say nothing the thumbnail does not.
    process->setStandardErrorFile(QProcess::nullDevice());
    // It draws, never shows: no connection to the display to make.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (const char* platform = text::WindowlessQtPlatform())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(platform));
    process->setProcessEnvironment(environment);
    text::LimitHelperProcess(*process, kHelperMemoryBytes);
    process->start(helper,
                   {QStringLiteral("preview"), path, QStringLiteral("-"), QStringLiteral("--size"),
                    QStringLiteral("%1x%2").arg(size.width()).arg(size.height())});
    return process;
}

QImage HelperPicture(QProcess& process)
{
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QImage::fromData(process.readAllStandardOutput(), "PNG");
}

QImage CannotShowThumbnail(const QString& path, qint64 bytes, QSize size)
{
    PreviewDocument document;
    document.fileName = QFileInfo(path).fileName();
    document.size = bytes;
    document.problem = text::Utf8(texts::kCannotShow);
    return RenderThumbnail(document, size);
}

QImage DrawInHelper(const QString& helper, const QString& path, QSize size,
                    std::chrono::milliseconds limit)
{
    const std::unique_ptr<QProcess> process = StartPreviewHelper(helper, path, size);
    if (!process->waitForFinished(static_cast<int>(limit.count()))) {
        process->kill();
        process->waitForFinished(1000);
        return {};
    }
    return HelperPicture(*process);
}

}  // namespace preview
