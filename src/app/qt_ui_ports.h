#pragma once

#include "widgets/ui_ports.h"

namespace app {

// The real ports: message boxes titled with the application title, the file
// dialog, the desktop's associated programs, the clock.
class QtUiPorts : public widgets::UiPorts {
public:
    void Inform(QWidget* parent, const QString& message) override;
    bool AskYesNo(QWidget* parent, const QString& message) override;
    QStringList ChooseFiles(QWidget* parent, const widgets::FileDialogRequest& request) override;
    bool OpenWithAssociatedProgram(const QString& path) override;
    QDate Today() override;
    bool EscapePressed() override;
    void ResetEscape() override;
};

// The application title "k5x7－図面管理", the caption of every message box.
QString ApplicationTitle();

}  // namespace app
