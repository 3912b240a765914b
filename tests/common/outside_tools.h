#pragma once

#include <QStandardPaths>
#include <QString>

namespace testing_support {

// Whether a reader made by others (poppler-utils' pdfinfo, pdftotext) is here:
// under Wine the Windows tests have none of Linux's programs.
inline bool ToolAvailable(const char* program)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty();
}

}  // namespace testing_support
