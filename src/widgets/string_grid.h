#pragma once
// A grid of texts addressed as the screens think of it: row 0 is the header
// row, data rows start at 1, and there is always a current row. Taking the
// focus chooses no cell: only a click or a key does, so a screen that follows
// the current cell never acts on a row nobody chose.

#include <QTableWidget>
#include <string>
#include <vector>

namespace widgets {

class StringGrid : public QTableWidget {
    Q_OBJECT
public:
    StringGrid(int columns, QWidget* parent = nullptr);

    void SetHeaders(const QStringList& headers);
    void SetColumnWidths(const std::vector<int>& widths);
    std::vector<int> ColumnWidths() const;

    // Rows including the header row; never below 2, like a grid with one fixed row.
    int RowCount() const { return rowCount() + 1; }
    void SetRowCount(int rows);

    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);
    void ClearRow(int row);
    void ClearDataRows();
    // One data row per row of CP932 texts; none leaves one blank data row.
    void ShowCp932Rows(const std::vector<std::vector<std::string>>& rows);

    // The selected data row, 1 when nothing was chosen yet.
    int Row() const;
    void SetRow(int row);

protected:
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace widgets
