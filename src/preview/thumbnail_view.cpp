#include "preview/thumbnail_view.h"

#include <QMouseEvent>
#include <QPixmap>

#include "preview/preview_texts.h"
#include "text/cp932.h"

namespace preview {

ThumbnailView::ThumbnailView(QSize size, QWidget* parent) : QLabel(parent)
{
    setFrameShape(QFrame::Box);
    setAlignment(Qt::AlignCenter);
    setFixedSize(size + QSize(2 * frameWidth(), 2 * frameWidth()));
    setCursor(Qt::PointingHandCursor);
}

void ThumbnailView::ShowPending()
{
    hasImage_ = false;
    setPixmap(QPixmap());
    setText(text::Utf8(texts::kLoading));
}

void ThumbnailView::ShowImage(const QImage& image)
{
    hasImage_ = !image.isNull();
    setPixmap(QPixmap::fromImage(image));
}

void ThumbnailView::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

}  // namespace preview
