#include "widgets/escape_watch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <chrono>

#include "text/platform.h"

namespace widgets {

namespace {

using Clock = std::chrono::steady_clock;

// Well inside the tenth of a second a user waits for Esc to take.
constexpr auto kPumpInterval = std::chrono::milliseconds(30);

Clock::time_point lastPump;
bool pumping = false;

bool IsInput(QEvent::Type type)
{
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Drop:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

bool InsideActiveModal(QObject* receiver)
{
    QWidget* modal = QApplication::activeModalWidget();
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!modal || !widget)
        return false;
    return modal == widget || modal->isAncestorOf(widget);
}

class InputBlocker : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (!IsInput(event->type()))
            return false;
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            text::NoteEscapePressed();
        if (InsideActiveModal(receiver))
            return false;
        // A close that is eaten but left accepted would still close the window,
        // past its own close handling.
        event->ignore();
        return true;
    }
};

void LetEventsThrough()
{
    pumping = true;
    InputBlocker blocker;
    QCoreApplication::instance()->installEventFilter(&blocker);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::instance()->removeEventFilter(&blocker);
    pumping = false;
    lastPump = Clock::now();
}

}  // namespace

void EscapeWatch::Reset()
{
    text::ResetEscapePressed();
    lastPump = Clock::time_point{};
}

bool EscapeWatch::Pressed()
{
    // The first question after Reset lets events through at once, so a press
    // that came before the loop began is seen at its first item.
    if (!pumping && QCoreApplication::instance() && Clock::now() - lastPump >= kPumpInterval)
        LetEventsThrough();
    return text::IsEscapePressed();
}

}  // namespace widgets
