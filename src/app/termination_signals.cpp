#include "app/termination_signals.h"

#include <QApplication>
#include <QDialog>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include "storage/engine_signals.h"
#include "text/platform.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace app {

namespace {

// A modal loop or a long walk may refuse the close for a moment; it is asked
// again until it goes.
constexpr int kRetryMs = 50;

#ifndef _WIN32
int wakeFds[2] = {-1, -1};

// Only what is safe inside a signal handler: one byte into the pipe.
void Wake()
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(wakeFds[1], &byte, 1);
    errno = saved;
}

void OnSignal(int)
{
    Wake();
}
#endif

}  // namespace

TerminationSignals::TerminationSignals(QWidget* mainWindow) : mainWindow_(mainWindow)
{
#ifndef _WIN32
    if (pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::Received);
    // The client library may put its own handlers over these when it loads
    // its engine; it then tells us through its shutdown callback.
    storage::ForwardEngineSignals(&Wake);
    struct sigaction action {};
    action.sa_handler = &OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
#endif
    retry_ = new QTimer(this);
    retry_->setInterval(kRetryMs);
    connect(retry_, &QTimer::timeout, this, &TerminationSignals::TryClose);
    // The session asks before it ends (Windows: WM_QUERYENDSESSION), and may end
    // soon after the answer: close now, as for a signal.
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { Received(); });
}

TerminationSignals::~TerminationSignals()
{
#ifndef _WIN32
    storage::StopForwardingEngineSignals();
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::signal(signal, SIG_DFL);
    for (int& fd : wakeFds)
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
#endif
}

void TerminationSignals::Received()
{
#ifndef _WIN32
    char bytes[16];
    while (read(wakeFds[0], bytes, sizeof bytes) > 0) {
    }
#endif
    retry_->start();
    TryClose();
}

void TerminationSignals::TryClose()
{
    text::NoteEscapePressed();  // a long walk stops at its next item
    // Dismissed as Esc would: nothing a dialog holds is saved. The main window
    // closes once their loops have ended and the code that opened them is done.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
            dialog->reject();
    if (QApplication::activeModalWidget())
        return;
    if (!mainWindow_ || mainWindow_->close()) {
        retry_->stop();
        QCoreApplication::quit();
    }
}

}  // namespace app
