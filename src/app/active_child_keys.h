#pragma once
// Keys of the active child window before the frame's menu bar. An access key
// that a button or tab of the active child window has (前頁(&P) of the
// project list) would be ambiguous with the menu's (プロジェクト(&P)), and the
// toolkit gives such a key to the menu; here the child's control wins, and the
// menu stays reachable with F10 or the mouse.

#include <QObject>

class QMdiArea;
class QMenuBar;
class QWidget;

namespace app {

class ActiveChildKeys : public QObject {
    Q_OBJECT
public:
    // Watches every key of the application while it lives.
    ActiveChildKeys(QMenuBar* menuBar, QMdiArea* area);
    ~ActiveChildKeys() override;

    // The one button or tab bar of the active child window whose access key is
    // also the menu bar's; null for any other key, and when several controls
    // of the child share it (the toolkit then moves between them).
    QWidget* TargetOf(int key, Qt::KeyboardModifiers modifiers) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenuBar* menuBar_;
    QMdiArea* area_;
};

}  // namespace app
