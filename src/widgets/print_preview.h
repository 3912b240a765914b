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

}  // namespace widgets
