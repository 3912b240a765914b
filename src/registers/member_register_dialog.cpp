#include "registers/member_register_dialog.h"

#include <QComboBox>
#include <cstring>

#include "registers/register_texts.h"
#include "text/cp932.h"
#include "text/mbcs.h"
#include "widgets/byte_line_edit.h"

namespace registers {

TForm4::TForm4(widgets::ScreenContext context, QWidget* parent)
    : RegisterDialog(context, MemberRegister(), {"TForm4", texts::kNumberLabel}, parent)
{
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    widgets::SwitchOffInputMethod(ComboBox1);
    AddField("Label2", texts::kSectionLabel, ComboBox1);
    Edit2 = AddEdit("Label4", texts::kMemberNameLabel, "Edit2", 16);
    FinishLayout();
}

void TForm4::PrepareFields()
{
    sectionItems_ = LoadSectionItems(context_.db);
    ComboBox1->clear();
    for (const std::string& item : sectionItems_)
        ComboBox1->addItem(text::FromCp932(item));
    ComboBox1->setCurrentIndex(0);
}

std::string TForm4::FieldText(const ValueColumn& column) const
{
    if (std::strcmp(column.field, "ComboBox1") != 0)
        return RegisterDialog::FieldText(column);
    const auto index = static_cast<std::size_t>(ComboBox1->currentIndex());
    return index < sectionItems_.size() ? sectionItems_[index] : std::string();
}

void TForm4::ShowRow(const storage::Row& cells)
{
    Edit1->setBytes(cells[0]);
    Edit2->setBytes(cells[3]);
    ComboBox1->setCurrentIndex(FindSectionItem(sectionItems_, text::StrToIntOrZero(cells[1])));
}

}  // namespace registers
