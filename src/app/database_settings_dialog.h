#pragma once
// Where the database lives: server, folder and file name. OK creates the
// database there when it does not exist yet and proves it can be attached.

#include <QDialog>

#include "widgets/screen_context.h"

class QLabel;
class QPushButton;

namespace widgets {
class ByteLineEdit;
}

namespace app {

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(widgets::ScreenContext context, QWidget* parent = nullptr);

public slots:
    void FormShow();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    widgets::ScreenContext context_;
    QLabel* Label1;
    QLabel* Label5;
    widgets::ByteLineEdit* Edit1;
    QLabel* Label2;
    widgets::ByteLineEdit* Edit2;
    QLabel* Label3;
    widgets::ByteLineEdit* Edit3;
    QPushButton* Button1;
    QPushButton* Button2;
};

}  // namespace app
