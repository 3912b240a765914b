#include "projects/child_window.h"

#include <QMdiSubWindow>

namespace projects {

void CloseFrame(QWidget* child)
{
    FrameOf(child)->close();
}

void UseFixedBorder(QWidget* child)
{
    QWidget* frame = FrameOf(child);
    if (frame->isVisible())
        return;
    const Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                  Qt::WindowCloseButtonHint;
    frame->setWindowFlags((frame == child ? Qt::Window : Qt::SubWindow) | flags);
}

void LockFrameSize(QWidget* child)
{
    QWidget* frame = FrameOf(child);
    frame->adjustSize();
    frame->setFixedSize(frame->size());
}

}  // namespace projects
