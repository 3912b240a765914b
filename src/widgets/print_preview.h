#pragma once
// Qt's print preview, sized so that a landscape page is readable, shared by
// every screen that prints.

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace widgets {

// Runs the preview to its end; paint draws the pages on the printer it is
// given (the preview's, then the chosen printer's).
void RunPrintPreview(QWidget* parent, QPrinter& printer,
                     const std::function<void(QPrinter&)>& paint, const QString& title = {});

// The preview draws every page before it shows one, so past this many pages
// the window would stand still; the print dialog comes at once instead.
constexpr int kPreviewPageLimit = 200;

// The preview for a document of up to kPreviewPageLimit pages, else the print
// dialog and, when it is accepted, the pages on the chosen printer.
void PreviewOrPrint(QWidget* parent, QPrinter& printer, int pages,
                    const std::function<void(QPrinter&)>& paint);

}  // namespace widgets
