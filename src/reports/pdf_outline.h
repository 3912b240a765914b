#pragma once
// Bookmarks and page order for a PDF that QPdfWriter wrote, which can do
// neither. Added as an incremental update (a new catalog, page tree and
// outline appended after the file, with a cross-reference section that points
// back to the first one), so nothing Qt wrote is read into memory or moved.
// Only the classic cross-reference table that QPdfWriter writes is read.

#include <QIODevice>
#include <QString>
#include <vector>

namespace reports {

struct OutlineItem {
    QString title;
    int page = 0;  // in the new order, from 0
};

// order[i] is the page (as written, from 0) that becomes page i; it must name
// every page once. False, with the device's bytes as written so far or
// partly appended, when the file is not one this can read or a write fails.
bool AppendOutline(QIODevice& pdf, const std::vector<int>& order,
                   const std::vector<OutlineItem>& items);

}  // namespace reports
