#include "widgets/child_form.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace widgets {

void ChildForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    FormShow();
}

void ChildForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    QWidget::closeEvent(event);
}

}  // namespace widgets
