#include "app/frame_keys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTabBar>
#include <algorithm>
#include <vector>

namespace app {

namespace {

bool IsAccessKey(const QString& caption, int key)
{
    return !caption.isEmpty() && QKeySequence::mnemonic(caption) ==
                                     QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(key)));
}

bool Reachable(const QWidget* widget)
{
    return widget->isVisible() && widget->isEnabled();
}

}  // namespace

FrameKeys::FrameKeys(QMenuBar* menuBar, QMdiArea* area)
    : QObject(area), menuBar_(menuBar), area_(area)
{
    qApp->installEventFilter(this);
}

FrameKeys::~FrameKeys()
{
    qApp->removeEventFilter(this);
}

bool FrameKeys::InFrame(QObject* receiver) const
{
    auto* widget = qobject_cast<QWidget*>(receiver);
    QWidget* frame = area_->window();
    return widget && (widget == frame || frame->isAncestorOf(widget));
}

QWidget* FrameKeys::TargetOf(int key, Qt::KeyboardModifiers modifiers) const
{
    if (modifiers != Qt::AltModifier || key < Qt::Key_A || key > Qt::Key_Z)
        return nullptr;
    const QList<QAction*> menus = menuBar_->actions();
    if (std::none_of(menus.begin(), menus.end(),
                     [key](const QAction* menu) { return IsAccessKey(menu->text(), key); }))
        return nullptr;
    QMdiSubWindow* active = area_->activeSubWindow();
    if (!active || !active->widget() || active->isMinimized())
        return nullptr;
    std::vector<QWidget*> targets;
    for (QAbstractButton* button : active->widget()->findChildren<QAbstractButton*>())
        if (Reachable(button) && IsAccessKey(button->text(), key))
            targets.push_back(button);
    for (QTabBar* tabs : active->widget()->findChildren<QTabBar*>())
        if (Reachable(tabs))
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->isTabEnabled(i) && IsAccessKey(tabs->tabText(i), key))
                    targets.push_back(tabs);
    return targets.size() == 1 ? targets.front() : nullptr;
}

bool FrameKeys::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier && InFrame(watched) &&
        !menuBar_->actions().isEmpty()) {
        if (type == QEvent::KeyPress)
            menuBar_->setActiveAction(menuBar_->actions().first());
        event->accept();
        return true;
    }
    QWidget* target = TargetOf(key->key(), key->modifiers());
    if (!target || !InFrame(watched))
        return QObject::eventFilter(watched, event);
    if (type == QEvent::ShortcutOverride) {
        // Accepted, the key skips every shortcut and comes as a key press.
        event->accept();
        return true;
    }
    if (auto* tabs = qobject_cast<QTabBar*>(target)) {
        for (int i = 0; i < tabs->count(); ++i)
            if (IsAccessKey(tabs->tabText(i), key->key()))
                tabs->setCurrentIndex(i);
    } else if (auto* button = qobject_cast<QAbstractButton*>(target)) {
        button->setFocus(Qt::ShortcutFocusReason);
        button->click();
    }
    return true;
}

}  // namespace app
