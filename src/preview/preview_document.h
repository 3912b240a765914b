#pragma once
// A registered file made ready to show: a drawing (Jw_cad, DXF), a picture (a
// PDF's first page, an image), the first lines of a text, or only its name
// and size. Loading never touches the database and may run on any thread;
// painting draws any of them into a rectangle: a thumbnail, a viewer, a page.

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

#include "preview/drawing_model.h"
#include "preview/drawing_renderer.h"

class QPainter;

namespace preview {

struct PreviewDocument {
    enum class Kind { Drawing, Picture, Text, Other };
    Kind kind = Kind::Other;
    QString fileName;
    qint64 size = -1;  // bytes; -1 when the file could not be looked at
    std::shared_ptr<const Drawing> drawing;
    QImage picture;     // at most the size asked for
    QStringList lines;  // of a text file
    // Why the file is not shown, or what of it is left out; empty when whole.
    QString problem;
};

struct LoadOptions {
    QSize pictureSize{256, 181};  // pictures are made no larger than this
    const std::atomic<bool>* cancel = nullptr;
};

PreviewDocument LoadPreview(const QString& path, const LoadOptions& options = {});

// Fits the document into `target`. `render` chooses the layer groups of a
// drawing (its own when null); `forPrint` draws on white paper.
void PaintPreview(QPainter& painter, const PreviewDocument& document, const QRectF& target,
                  const RenderOptions* render = nullptr, bool forPrint = false);

QImage RenderThumbnail(const PreviewDocument& document, QSize size,
                       const std::atomic<bool>* cancel = nullptr);

}  // namespace preview
