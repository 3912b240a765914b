#pragma once
// The results of a search as a table: the model the window's grid shows
// (sortable, growing while the search runs, file states filled in as they
// come), and the plain table of texts that CSV files and reports take.

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "search/search_hit.h"
#include "text/text_table.h"

namespace search {

inline constexpr int kResultColumns = 13;

// Headers and rows of texts, CP932, in the order shown.
struct ResultTable {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
};

// The text of one cell, CP932.
std::string CellText(const SearchHit& hit, int column);
std::string FileStateText(FileState state);
ResultTable TableOf(const std::vector<SearchHit>& hits);

// The results as every list leaves the screen: printed, PDF, CSV, Excel.
text::TextTable ListTableOf(ResultTable table, std::vector<int> columnWidths);

enum class CsvEncoding { Cp932, Utf8 };
// RFC 4180 lines, CR LF; UTF-8 without a byte order mark (for scripts).
std::string CsvOf(const ResultTable& table, CsvEncoding encoding);

class SearchResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Numbers sort as numbers, texts by their bytes, ties keep the search order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    void Clear();
    // Appends in the order given; returns the index of the first hit added.
    int Append(std::vector<SearchHit> hits);
    void SetFileState(int hit, FileState state);
    // The hit shown in a row, and the count.
    const SearchHit& HitAt(int row) const;
    const SearchHit& Hit(int hit) const { return hits_[static_cast<std::size_t>(hit)]; }
    int HitCount() const { return static_cast<int>(hits_.size()); }
    // Every row in the order shown.
    ResultTable Table() const;

private:
    std::vector<SearchHit> hits_;
    std::vector<int> order_;  // row -> hit
    std::vector<int> rowOf_;  // hit -> row
};

}  // namespace search
