#include "registers/company_register_dialog.h"

#include "registers/register_texts.h"
#include "widgets/byte_line_edit.h"

namespace registers {

TForm5::TForm5(widgets::ScreenContext context, QWidget* parent)
    : RegisterDialog(context, CompanyRegister(), {"TForm5", texts::kCompanyNumberLabel}, parent)
{
    Edit2 = AddEdit("Label2", texts::kCompanyNameLabel, "Edit2", 32);
    Edit3 = AddEdit("Label4", texts::kDepartmentLabel, "Edit3", 32);
    FinishLayout();
}

void TForm5::ShowRow(const storage::Row& cells)
{
    Edit1->setBytes(cells[0]);
    Edit2->setBytes(cells[1]);
    Edit3->setBytes(cells[2]);
}

}  // namespace registers
