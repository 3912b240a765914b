#pragma once
// The register of members (MEMBER: N, SN, PNAME), opened modally from the
// menu. The section is picked from a list of the sections as numbered items,
// rebuilt at every opening.

#include <string>
#include <vector>

#include "registers/register_dialog.h"

class QComboBox;

namespace registers {

class TForm4 : public RegisterDialog {
    Q_OBJECT
public:
    explicit TForm4(widgets::ScreenContext context, QWidget* parent = nullptr);

protected:
    void PrepareFields() override;
    std::string FieldText(const ValueColumn& column) const override;
    void ShowRow(const storage::Row& cells) override;

private:
    QComboBox* ComboBox1;
    widgets::ByteLineEdit* Edit2;
    std::vector<std::string> sectionItems_;  // CP932, one per ComboBox1 entry
};

}  // namespace registers
