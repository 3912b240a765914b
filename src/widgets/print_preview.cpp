#include "widgets/print_preview.h"

#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

namespace widgets {

void RunPrintPreview(QWidget* parent, QPrinter& printer,
                     const std::function<void(QPrinter&)>& paint, const QString& title)
{
    QPrintPreviewDialog preview(&printer, parent);
    if (!title.isEmpty())
        preview.setWindowTitle(title);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        preview.resize(screen->availableSize() * 0.85);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&paint](QPrinter* target) { paint(*target); });
    preview.exec();
}

}  // namespace widgets
