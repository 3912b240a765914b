#pragma once
// A thumbnail beside a record's fields: shows "loading" until the picture
// comes, and tells a click so that the file can be opened in the viewer.

#include <QImage>
#include <QLabel>

namespace preview {

class ThumbnailView : public QLabel {
    Q_OBJECT
public:
    ThumbnailView(QSize size, QWidget* parent = nullptr);

    void ShowPending();
    void ShowImage(const QImage& image);
    bool HasImage() const { return hasImage_; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool hasImage_ = false;
};

}  // namespace preview
