#pragma once
// The desktop's save-file dialog, shared by every screen that writes a file.

#include <QString>
#include <QStringList>

class QWidget;

namespace widgets {

struct SaveRequest {
    QString caption;
    QString folder;
    QString fileName;
    QStringList filters;  // the first is selected
};

struct SaveChoice {
    QString path;  // empty when cancelled
    int filter = 0;
};

// A name typed without a suffix takes the chosen filter's first one.
SaveChoice AskSaveFile(QWidget* parent, const SaveRequest& request);

}  // namespace widgets
