#include "widgets/child_form.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QShowEvent>

namespace widgets {

namespace {

bool IsNormal(const QWidget* frame)
{
    return !(frame->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
}

}  // namespace

void ChildForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    WatchFrame();
    if (shown_)
        return;
    shown_ = true;
    FormShow();
}

void ChildForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    QWidget::closeEvent(event);
}

// The frame changes when the widget moves into its sub-window, so it is
// looked for again at every showing.
void ChildForm::WatchFrame()
{
    QWidget* frame = FrameOf(this);
    if (frame == watchedFrame_)
        return;
    if (watchedFrame_)
        watchedFrame_->removeEventFilter(this);
    watchedFrame_ = frame;
    if (frame != this)
        frame->installEventFilter(this);
    if (IsNormal(frame))
        normalSize_ = frame->size();
}

bool ChildForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == watchedFrame_ && event->type() == QEvent::Resize && IsNormal(watchedFrame_))
        normalSize_ = static_cast<QResizeEvent*>(event)->size();
    return QWidget::eventFilter(watched, event);
}

void ChildForm::ResizeFrame(QSize asked)
{
    askedSize_ = asked;
    fittedSize_ = QSize();
    QWidget* frame = FrameOf(this);
    frame->resize(asked);
    if (IsNormal(frame))
        normalSize_ = frame->size();
}

void ChildForm::FitFrameInside(const QRect& area, QPoint topLeft)
{
    QWidget* frame = FrameOf(this);
    const QSize size = frame->size().boundedTo(area.size());
    if (size != frame->size()) {
        frame->resize(size);
        fittedSize_ = frame->size();  // a fixed frame may refuse to shrink
    }
    const QRect wanted(topLeft, frame->size());
    frame->move(area.contains(wanted) ? topLeft : area.topLeft());
}

QSize ChildForm::StoredFrameSize() const
{
    const QWidget* frame = watchedFrame_ ? watchedFrame_ : this;
    const QSize normal = IsNormal(frame) || !normalSize_.isValid() ? frame->size() : normalSize_;
    if (fittedSize_.isValid() && normal == fittedSize_ && askedSize_.isValid())
        return askedSize_;
    return normal;
}

QWidget* FrameOf(QWidget* child)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget()))
        return sub;
    return child;
}

}  // namespace widgets
