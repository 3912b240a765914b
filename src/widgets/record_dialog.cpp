#include "widgets/record_dialog.h"

#include <QShowEvent>

namespace widgets {

void RecordDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void RecordDialog::RefuseOpening(UiPorts& ports, const QString& message)
{
    ports.Inform(this, message);
    QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

}  // namespace widgets
