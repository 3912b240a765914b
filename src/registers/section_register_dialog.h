#pragma once
// The register of sections (SECTION: N, SNAME), opened modally from the menu.

#include "registers/register_dialog.h"

namespace registers {

class TForm3 : public RegisterDialog {
    Q_OBJECT
public:
    explicit TForm3(widgets::ScreenContext context, QWidget* parent = nullptr);

protected:
    void ShowRow(const storage::Row& cells) override;

private:
    widgets::ByteLineEdit* Edit2;
};

}  // namespace registers
