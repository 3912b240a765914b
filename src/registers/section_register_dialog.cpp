#include "registers/section_register_dialog.h"

#include "registers/register_texts.h"
#include "widgets/byte_line_edit.h"

namespace registers {

TForm3::TForm3(widgets::ScreenContext context, QWidget* parent)
    : RegisterDialog(context, SectionRegister(), {"TForm3", texts::kNumberLabel}, parent)
{
    Edit2 = AddEdit("Label4", texts::kNameLabel, "Edit2", 32);
    FinishLayout();
}

void TForm3::ShowRow(const storage::Row& cells)
{
    Edit1->setBytes(cells[0]);
    Edit2->setBytes(cells[1]);
}

}  // namespace registers
