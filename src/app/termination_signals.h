#pragma once
// A log-out, a shutdown (the session manager's request to save, Windows'
// WM_QUERYENDSESSION) or a kill from a terminal (SIGTERM, SIGINT, SIGHUP)
// closes the application the way 終了(&X) does: open dialogs are dismissed,
// the main window's close runs (database detached, settings written), and the
// process ends.

#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QTimer;
class QWidget;

namespace app {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; one instance for the whole run.
    explicit TerminationSignals(QWidget* mainWindow);
    ~TerminationSignals() override;

private:
    void Received();
    void TryClose();

    QPointer<QWidget> mainWindow_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* retry_ = nullptr;
};

}  // namespace app
