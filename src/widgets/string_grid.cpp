#include "widgets/string_grid.h"

#include <QHeaderView>
#include <QSignalBlocker>

#include "text/cp932.h"

namespace widgets {

StringGrid::StringGrid(int columns, QWidget* parent) : QTableWidget(1, columns, parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(1);  // some columns are kept all but hidden
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setWordWrap(false);
}

void StringGrid::SetHeaders(const QStringList& headers)
{
    setHorizontalHeaderLabels(headers);
}

void StringGrid::SetColumnWidths(const std::vector<int>& widths)
{
    for (int c = 0; c < columnCount() && c < static_cast<int>(widths.size()); ++c)
        setColumnWidth(c, widths[c]);
}

std::vector<int> StringGrid::ColumnWidths() const
{
    std::vector<int> widths;
    for (int c = 0; c < columnCount(); ++c)
        widths.push_back(columnWidth(c));
    return widths;
}

void StringGrid::SetRowCount(int rows)
{
    setRowCount(std::max(rows, 2) - 1);
}

QString StringGrid::Cell(int column, int row) const
{
    if (row == 0) {
        const QTableWidgetItem* header = horizontalHeaderItem(column);
        return header ? header->text() : QString();
    }
    const QTableWidgetItem* cell = item(row - 1, column);
    return cell ? cell->text() : QString();
}

void StringGrid::SetCell(int column, int row, const QString& text)
{
    if (row < 1 || column < 0 || column >= columnCount())
        return;
    if (row >= RowCount())
        SetRowCount(row + 1);
    if (QTableWidgetItem* cell = item(row - 1, column))
        cell->setText(text);
    else
        setItem(row - 1, column, new QTableWidgetItem(text));
}

void StringGrid::ClearRow(int row)
{
    if (row < 1 || row >= RowCount())
        return;
    for (int c = 0; c < columnCount(); ++c)
        if (QTableWidgetItem* cell = item(row - 1, c))
            cell->setText(QString());
}

void StringGrid::ClearDataRows()
{
    for (int r = 1; r < RowCount(); ++r)
        ClearRow(r);
}

void StringGrid::ShowCp932Rows(const std::vector<std::vector<std::string>>& rows)
{
    SetRowCount(2);
    ClearRow(1);
    if (!rows.empty())
        SetRowCount(static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            SetCell(static_cast<int>(c), static_cast<int>(r) + 1, text::FromCp932(rows[r][c]));
}

int StringGrid::Row() const
{
    return currentRow() < 0 ? 1 : currentRow() + 1;
}

void StringGrid::focusInEvent(QFocusEvent* event)
{
    const bool hadCurrent = currentIndex().isValid();
    const QSignalBlocker blocker(selectionModel());
    QTableWidget::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid())
        selectionModel()->clearCurrentIndex();
}

void StringGrid::SetRow(int row)
{
    if (row >= 1 && row < RowCount())
        selectRow(row - 1);
}

}  // namespace widgets
