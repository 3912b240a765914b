#include "search/search_results.h"

#include <algorithm>
#include <numeric>

#include "search/search_texts.h"
#include "text/cp932.h"
#include "text/csv.h"

namespace search {

namespace {

enum Column {
    kProjectNo,
    kProjectName,
    kNodeNo,
    kNodeName,
    kNumber,
    kTitle,
    kFileName,
    kFolder,
    kChecked,
    kApproved,
    kIssued,
    kRevised,
    kFileState,
};

std::string Cp932Of(const char* utf8)
{
    return text::ToCp932Lossy(text::Utf8(utf8));
}

const std::string& Field(const SearchHit& hit, int column)
{
    static const std::string kNone;
    switch (column) {
        case kProjectName:
            return hit.projectName;
        case kNodeName:
            return hit.nodeName;
        case kNumber:
            return hit.number;
        case kTitle:
            return hit.title;
        case kFileName:
            return hit.fileName;
        case kFolder:
            return hit.folder;
        case kChecked:
            return hit.checked;
        case kApproved:
            return hit.approved;
        case kIssued:
            return hit.issued;
        case kRevised:
            return hit.revised;
        default:
            return kNone;
    }
}

}  // namespace

std::string FileStateText(FileState state)
{
    switch (state) {
        case FileState::None:
            return {};
        case FileState::Pending:
            return Cp932Of(texts::kFileStatePending);
        case FileState::Present:
            return Cp932Of(texts::kFileStatePresent);
        case FileState::Missing:
            return Cp932Of(texts::kFileStateMissing);
        case FileState::ChangedAfterIssue:
            return Cp932Of(texts::kFileStateChanged);
        case FileState::NoAnswer:
            return Cp932Of(texts::kFileStateNoAnswer);
    }
    return {};
}

std::string CellText(const SearchHit& hit, int column)
{
    switch (column) {
        case kProjectNo:
            return std::to_string(hit.projectNo);
        case kNodeNo:
            return std::to_string(hit.nodeNo);
        case kFileState:
            return FileStateText(hit.fileState);
        default:
            return Field(hit, column);
    }
}

ResultTable TableOf(const std::vector<SearchHit>& hits)
{
    ResultTable table;
    for (const char* header : texts::kHeaders)
        table.headers.push_back(Cp932Of(header));
    table.rows.reserve(hits.size());
    for (const SearchHit& hit : hits) {
        std::vector<std::string> row;
        row.reserve(kResultColumns);
        for (int c = 0; c < kResultColumns; ++c)
            row.push_back(CellText(hit, c));
        table.rows.push_back(std::move(row));
    }
    return table;
}

text::TextTable ListTableOf(ResultTable table, std::vector<int> columnWidths)
{
    text::TextTable list;
    list.title = text::ToCp932Lossy(text::Utf8(texts::kCaption));
    list.headers = std::move(table.headers);
    list.columnWidths = std::move(columnWidths);
    list.numberColumns = {true, false, true};
    list.rowCount = static_cast<int>(table.rows.size());
    list.rows = text::RowsOf(std::move(table.rows));
    return list;
}

std::string CsvOf(const ResultTable& table, CsvEncoding encoding)
{
    auto line = [encoding](const std::vector<std::string>& cells) {
        if (encoding == CsvEncoding::Cp932)
            return text::CsvLine(cells);
        std::vector<std::string> utf8;
        utf8.reserve(cells.size());
        for (const std::string& cell : cells)
            utf8.push_back(text::FromCp932(cell).toStdString());
        return text::CsvLine(utf8);
    };
    std::string csv = line(table.headers);
    for (const auto& row : table.rows)
        csv += line(row);
    return csv;
}

int SearchResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int SearchResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kResultColumns;
}

QVariant SearchResultModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole &&
        (index.column() == kProjectNo || index.column() == kNodeNo))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    return text::FromCp932(CellText(HitAt(index.row()), index.column()));
}

QVariant SearchResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= kResultColumns)
        return {};
    return text::Utf8(texts::kHeaders[section]);
}

void SearchResultModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= kResultColumns)
        return;
    auto less = [this, column](int a, int b) {
        const SearchHit& x = hits_[static_cast<std::size_t>(a)];
        const SearchHit& y = hits_[static_cast<std::size_t>(b)];
        switch (column) {
            case kProjectNo:
                return x.projectNo < y.projectNo;
            case kNodeNo:
                return x.nodeNo < y.nodeNo;
            case kFileState:
                return FileStateText(x.fileState) < FileStateText(y.fileState);
            default:
                return Field(x, column) < Field(y, column);
        }
    };
    beginResetModel();
    // The search order (project, node) breaks ties in either direction.
    std::iota(order_.begin(), order_.end(), 0);
    if (order == Qt::AscendingOrder)
        std::stable_sort(order_.begin(), order_.end(), less);
    else
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) { return less(b, a); });
    for (std::size_t row = 0; row < order_.size(); ++row)
        rowOf_[static_cast<std::size_t>(order_[row])] = static_cast<int>(row);
    endResetModel();
}

void SearchResultModel::Clear()
{
    beginResetModel();
    hits_.clear();
    order_.clear();
    rowOf_.clear();
    endResetModel();
}

int SearchResultModel::Append(std::vector<SearchHit> hits)
{
    const int first = HitCount();
    if (hits.empty())
        return first;
    const int rows = rowCount();
    beginInsertRows({}, rows, rows + static_cast<int>(hits.size()) - 1);
    for (SearchHit& hit : hits) {
        rowOf_.push_back(static_cast<int>(order_.size()));
        order_.push_back(static_cast<int>(hits_.size()));
        hits_.push_back(std::move(hit));
    }
    endInsertRows();
    return first;
}

void SearchResultModel::SetFileState(int hit, FileState state)
{
    if (hit < 0 || hit >= HitCount())
        return;
    hits_[static_cast<std::size_t>(hit)].fileState = state;
    const int row = rowOf_[static_cast<std::size_t>(hit)];
    emit dataChanged(index(row, kFileState), index(row, kFileState), {Qt::DisplayRole});
}

const SearchHit& SearchResultModel::HitAt(int row) const
{
    return hits_[static_cast<std::size_t>(order_[static_cast<std::size_t>(row)])];
}

ResultTable SearchResultModel::Table() const
{
    std::vector<SearchHit> shown;
    shown.reserve(order_.size());
    for (int hit : order_)
        shown.push_back(hits_[static_cast<std::size_t>(hit)]);
    return TableOf(shown);
}

}  // namespace search
