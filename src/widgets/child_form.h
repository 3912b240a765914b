#pragma once
// A child window of the main frame: FormShow runs once, when it first shows
// (coming back from minimised is not a new opening), and FormClose when it closes.
// It keeps the size to store: the frame's normal size, whether it is closed
// minimised or maximised, and the stored size it was opened with while it is
// only shrunk to fit the frame's area.

#include <QSize>
#include <QWidget>

namespace widgets {

class ChildForm : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void FormShow() = 0;
    virtual void FormClose() = 0;

    // The size from the settings, for the frame at its opening.
    void ResizeFrame(QSize asked);
    // Puts the frame inside `area` (the main frame's visible area) with its top
    // left at topLeft, or at the area's top left when it would stick out from
    // there; shrinks it for this opening when it is larger than the area.
    void FitFrameInside(const QRect& area, QPoint topLeft);
    // What the settings keep when the window closes.
    QSize StoredFrameSize() const;

protected:
    bool WasShown() const { return shown_; }
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchFrame();

    bool shown_ = false;
    QWidget* watchedFrame_ = nullptr;
    QSize normalSize_;  // the frame's last size neither minimised nor maximised
    QSize askedSize_;   // the stored size it opened with
    QSize fittedSize_;  // askedSize_ shrunk to the area; invalid when not shrunk
};

// Inside the main frame a child window is the sub-window around the widget:
// its size is what is restored and stored, and closing it closes the window.
// Standing alone (in tests) it is the widget itself.
QWidget* FrameOf(QWidget* child);

}  // namespace widgets
