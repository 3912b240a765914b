#pragma once
// Everything a screen does that would block or reach outside the program goes
// through this interface, so tests can answer it.

#include <QDate>
#include <QString>
#include <QStringList>

class QWidget;

namespace widgets {

struct FileDialogRequest {
    QString title;
    QString initialFolder;
    QString fileName;     // preset in the name box
    QStringList filters;  // "説明 (*.jww *.jwc)" entries, first is selected
    bool multiple = true;
};

class UiPorts {
public:
    virtual ~UiPorts() = default;
    // An information box with one OK button.
    virtual void Inform(QWidget* parent, const QString& message) = 0;
    // Yes/No; closing the box counts as No.
    virtual bool AskYesNo(QWidget* parent, const QString& message) = 0;
    // The chosen files, empty when cancelled.
    virtual QStringList ChooseFiles(QWidget* parent, const FileDialogRequest& request) = 0;
    // Opens a file with the program associated with it; false when that failed.
    virtual bool OpenWithAssociatedProgram(const QString& path) = 0;
    virtual QDate Today() = 0;
    // Whether the user asked to stop a long walk (Esc) since it began.
    virtual bool EscapePressed() = 0;
    virtual void ResetEscape() = 0;
};

}  // namespace widgets
