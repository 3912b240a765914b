#pragma once
// The drawing issue register (出図表) of one project: the drawings issued in
// a date range, and on request those not issued yet, in the order the tree
// lists them, each with its issuer and its latest revision. It goes with a
// delivery, so its heading names the project, the client and the range, and
// its foot has room for the receiver's stamp.

#include <QString>
#include <string>
#include <vector>

#include "storage/database.h"
#include "text/text_table.h"

namespace reports {

struct IssueRange {
    std::string from;  // yyyymmdd, empty for open
    std::string to;    // yyyymmdd, empty for open
    bool includeUnissued = false;
    std::vector<int> nodes;  // only these nodes (a branch); empty for the whole tree
};

// Why the range cannot be used (a date that is not one, or the start after the
// end) and which of the two to correct ("from" or "to"); an empty message when
// it can.
struct RangeCheck {
    QString message;
    const char* field = nullptr;
};
RangeCheck CheckIssueRange(const IssueRange& range);

// One line of the register; texts are CP932 as stored, members by name.
struct IssueEntry {
    int node = 0;
    std::string drawingNumber;
    std::string title;
    std::string subtitle;
    std::string issueDate;
    std::string issuer;
    std::string revisionDate;
    std::string revisionContent;
    std::string reviser;
    std::string memo;
};

// A drawing is issued when its issue date is filled in. With a range, only
// issued drawings whose date is a real date inside it are listed; drawings
// not issued are listed when asked for and when they name a drawing at all (a
// file or a drawing number), so the tree's mere groups stay out.
//
// The latest revision is the history entry with the latest real date (then
// the highest number); when the drawing's own revision stamp is later, or it
// has no history, the stamp is shown without a content.
std::vector<IssueEntry> ReadIssueEntries(storage::Database& db, int projectNo,
                                         const IssueRange& range);

// The widths the register is printed with.
std::vector<int> IssueRegisterWidths();

text::TextTable IssueRegisterTable(storage::Database& db, int projectNo, const IssueRange& range);

}  // namespace reports
