#pragma once
// When a modal dialog or message box closes, the keyboard focus goes back to
// the control that had it, and its window and child window are made active
// again. Without this a bare X server (no window manager) leaves no window
// active after the dialog, and every access key of the child window is dead
// until the user clicks into it.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace app {

class ModalFocusReturn : public QObject {
    Q_OBJECT
public:
    // Watches every window of the application while it lives.
    explicit ModalFocusReturn(QObject* parent = nullptr);
    ~ModalFocusReturn() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Opened {
        QPointer<QWidget> dialog;
        QPointer<QWidget> focus;  // what had the focus before it opened
    };
    std::vector<Opened> opened_;
};

}  // namespace app
