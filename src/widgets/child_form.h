#pragma once
// A child window of the main frame: FormShow runs once, when it first shows
// (coming back from minimised is not a new opening), and FormClose when it closes.

#include <QWidget>

namespace widgets {

class ChildForm : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void FormShow() = 0;
    virtual void FormClose() = 0;

protected:
    bool WasShown() const { return shown_; }
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool shown_ = false;
};

// Inside the main frame a child window is the sub-window around the widget:
// its size is what is restored and stored, and closing it closes the window.
// Standing alone (in tests) it is the widget itself.
QWidget* FrameOf(QWidget* child);

}  // namespace widgets
