#pragma once
// How a screen's list leaves the screen: to the printer, a PDF, CSV or Excel.
// Screens hand over what they list; the application gives them the one that
// writes it (the screens cannot reach it themselves, it sits above them).

#include "text/text_table.h"

class QWidget;

namespace widgets {

enum class ListFormat { Csv, Excel, Print, Pdf };

class ListOutput {
public:
    virtual ~ListOutput() = default;
    // Asks where (or on which printer), then writes the table with progress
    // and a way to stop, and says what came of it.
    virtual void Output(QWidget* parent, ListFormat format, const text::TextTable& table) = 0;
    // The drawing issue register of a project: asks the range, then outputs it.
    virtual void IssueRegister(QWidget* parent, int projectNo) = 0;
    // The issue set of a branch (node 0: the whole project) as one PDF: asks
    // where, writes it with progress and a way to stop, and says what came of it.
    virtual void IssueSet(QWidget* parent, int projectNo, int node) = 0;
};

}  // namespace widgets
