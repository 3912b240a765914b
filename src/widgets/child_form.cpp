#include "widgets/child_form.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
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

QWidget* FrameOf(QWidget* child)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget()))
        return sub;
    return child;
}

}  // namespace widgets
