#pragma once
// What the registers and the revision editor share: FormShow runs on every
// opening (not when the window comes back from being minimised), and a dialog
// that cannot be used says why and closes.

#include <QDialog>

#include "widgets/ui_ports.h"

namespace widgets {

class RecordDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

public slots:
    virtual void FormShow() = 0;

protected:
    void showEvent(QShowEvent* event) override;
    // The close is queued: a modal exec() has not started its loop while the
    // dialog is being shown.
    void RefuseOpening(UiPorts& ports, const QString& message);
};

}  // namespace widgets
