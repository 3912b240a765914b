#pragma once

#include <gtest/gtest.h>

#include <QApplication>
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
inline void WhenModalOpens(std::function<void(QWidget*)> act, int attempts = 200)
{
    QTimer::singleShot(10, [act, attempts] {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else if (attempts > 0)
            WhenModalOpens(act, attempts - 1);
    });
}

}  // namespace testing_support
