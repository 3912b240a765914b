#include "app/modal_focus_return.h"

#include <QApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

namespace app {

namespace {

bool IsModalWindow(const QWidget* widget)
{
    return widget->isWindow() && widget->windowModality() != Qt::NonModal;
}

void GiveFocusBack(QWidget* focus)
{
    if (!focus || !focus->isVisible())
        return;
    QWidget* window = focus->window();
    // An outer dialog still open keeps its own focus; a window behind it cannot take it.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window)
        return;
    window->activateWindow();
    for (QWidget* up = focus->parentWidget(); up; up = up->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(up)) {
            if (sub->mdiArea())
                sub->mdiArea()->setActiveSubWindow(sub);
            break;
        }
    focus->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace

ModalFocusReturn::ModalFocusReturn(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

ModalFocusReturn::~ModalFocusReturn()
{
    qApp->removeEventFilter(this);
}

bool ModalFocusReturn::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Hide)
        return QObject::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !IsModalWindow(widget))
        return QObject::eventFilter(watched, event);

    if (type == QEvent::Show) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus->window() == widget)
            focus = nullptr;  // shown again while it already had the focus
        opened_.push_back({widget, focus});
        return QObject::eventFilter(watched, event);
    }
    for (auto it = opened_.rbegin(); it != opened_.rend(); ++it) {
        if (it->dialog != widget)
            continue;
        QPointer<QWidget> focus = it->focus;
        opened_.erase(std::next(it).base());
        // After the dialog's own loop has ended and it is hidden for good.
        QTimer::singleShot(0, this, [focus] { GiveFocusBack(focus); });
        break;
    }
    std::erase_if(opened_, [](const Opened& o) { return !o.dialog; });
    return QObject::eventFilter(watched, event);
}

}  // namespace app
