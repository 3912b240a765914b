#pragma once
// Screens give their controls the component names tests and handlers look
// them up by; this sets one where the control is made.

#include <QString>

namespace widgets {

template <class T>
T* Named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

template <class T>
T* Named(T* widget, const char* name)
{
    return Named(widget, QString::fromLatin1(name));
}

}  // namespace widgets
