#pragma once
// Paths and texts on the command line are in the system's encoding; Qt's file
// classes take QStrings.

#include <QString>
#include <string>

namespace admin {

inline QString Local(const std::string& s)
{
    return QString::fromLocal8Bit(s);
}

inline std::string FromLocal(const QString& s)
{
    return s.toLocal8Bit().toStdString();
}

}  // namespace admin
