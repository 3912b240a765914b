#pragma once
// The name dialog: asks for the name of a tree node. Created once and reused;
// the caller sets CaptionText and NameText, shows it modally, and reads
// Accepted and, when that is true, NameText.

#include <QDialog>
#include <string>

#include "widgets/screen_context.h"

class QLabel;
class QPushButton;

namespace widgets {
class ByteLineEdit;
}

namespace drawings {

class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(widgets::ScreenContext context, QWidget* parent = nullptr);

    bool Accepted = false;  // true only after OK with a valid name
    QString CaptionText;
    std::string NameText;  // CP932: in, the name to show; out, the accepted name

public slots:
    void FormShow();
    void Button3Click();
    void Button4Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    widgets::ScreenContext context_;
    QLabel* Label1;
    widgets::ByteLineEdit* Edit1;
    QPushButton* Button3;
    QPushButton* Button4;
};

}  // namespace drawings
