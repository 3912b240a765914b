#pragma once
// The four outputs of a list on its grid's context menu, and Ctrl+P printing
// the list while its window has the focus and the grid shows. The table is
// made only when an output is chosen.

#include <QAbstractItemModel>
#include <functional>

#include "text/text_table.h"
#include "widgets/list_output.h"

class QAbstractItemView;

namespace widgets {

using TableMaker = std::function<text::TextTable()>;

// Nothing is added when there is no output.
void AttachListOutput(QAbstractItemView* view, ListOutput* output, TableMaker makeTable);

// What a view's model shows, row by row, for lists that keep no stored bytes
// of their own (texts become CP932; a character without a CP932 form
// becomes '?').
text::TextTable TableOfModel(const QAbstractItemModel& model, const QString& title,
                             const std::vector<int>& columnWidths);

}  // namespace widgets
