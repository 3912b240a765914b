#pragma once
// The register of client companies (COMPANY: N, CNAME, BNAME), opened modally
// from the menu.

#include "registers/register_dialog.h"

namespace registers {

class TForm5 : public RegisterDialog {
    Q_OBJECT
public:
    explicit TForm5(widgets::ScreenContext context, QWidget* parent = nullptr);

protected:
    void ShowRow(const storage::Row& cells) override;

private:
    widgets::ByteLineEdit* Edit2;
    widgets::ByteLineEdit* Edit3;
};

}  // namespace registers
