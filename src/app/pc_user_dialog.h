#pragma once
// Which registered member works at this PC: sets PcUserNo and PcUserName.

#include <QDialog>
#include <string>
#include <vector>

#include "widgets/screen_context.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace app {

class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(widgets::ScreenContext context, QWidget* parent = nullptr);

public slots:
    // When the dialog cannot be used it says why and closes; the close is queued,
    // since a modal exec() has not started its loop while the dialog is shown.
    void FormShow();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    widgets::ScreenContext context_;
    std::vector<std::string> items_;  // CP932, one per ComboBox1 entry
    QLabel* Label1;
    QComboBox* ComboBox1;
    QPushButton* Button1;
    QPushButton* Button2;
};

}  // namespace app
