#pragma once
// The frame's keys beside the toolkit's own. An access key that a button or
// tab of the active child window has (前頁(&P) of the project list) would be
// ambiguous with the menu's (プロジェクト(&P)), and the toolkit gives such a key
// to the menu; here the child's control wins. F10 opens the menu bar, so it
// stays reachable from the keyboard.

#include <QObject>

class QMdiArea;
class QMenuBar;
class QWidget;

namespace app {

class FrameKeys : public QObject {
    Q_OBJECT
public:
    // Watches every key of the application while it lives.
    FrameKeys(QMenuBar* menuBar, QMdiArea* area);
    ~FrameKeys() override;

    // The one button or tab bar of the active child window whose access key is
    // also the menu bar's; null for any other key, and when several controls
    // of the child share it (the toolkit then moves between them).
    QWidget* TargetOf(int key, Qt::KeyboardModifiers modifiers) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A widget of the frame itself, not of a dialog over it.
    bool InFrame(QObject* receiver) const;

    QMenuBar* menuBar_;
    QMdiArea* area_;
};

}  // namespace app
