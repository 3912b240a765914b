#include "widgets/print_preview.h"

#include <QGuiApplication>
#include <QPrintDialog>
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

void PreviewOrPrint(QWidget* parent, QPrinter& printer, int pages,
                    const std::function<void(QPrinter&)>& paint)
{
    if (pages <= kPreviewPageLimit) {
        RunPrintPreview(parent, printer, paint);
        return;
    }
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() == QDialog::Accepted)
        paint(printer);
}

}  // namespace widgets
