#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace testing_support {

// The child named `name`, or a test failure that lists the names there are.
template <class T>
T* Find(QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(name);
    if (!found) {
        QStringList names;
        for (QObject* child : parent->findChildren<QObject*>())
            if (!child->objectName().isEmpty())
                names << child->objectName();
        ADD_FAILURE() << "no " << name << " in " << parent->objectName().toStdString()
                      << "; found: " << names.join(", ").toStdString();
    }
    return found;
}

// Runs `act` on the modal window that opens next (for code that must call exec()).
// Where no window may open, pass a `scope` that ends with the action: the watch
// ends with it, instead of acting later on another test's window with
// references that have gone.
inline void WhenModalOpens(std::function<void(QWidget*)> act, int attempts = 200,
                           QObject* scope = nullptr)
{
    const auto look = [act, attempts, scope] {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else if (attempts > 0)
            WhenModalOpens(act, attempts - 1, scope);
    };
    if (scope)
        QTimer::singleShot(10, scope, look);
    else
        QTimer::singleShot(10, look);
}

// A double click as the mouse delivers it, near the top left corner.
inline void DoubleClick(QWidget* target)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const QPoint at(5, 5);
        QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
}

}  // namespace testing_support
