#pragma once
// What a drawing search asks for, the daily queues as ready criteria, and the
// test of one drawing against everything but its file's state (which needs
// the file system and is judged apart, see file_state.h).

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "search/text_folding.h"

namespace search {

// Projects by their done flag: 未 is ENDF exactly "0", anything else is 済.
enum class ProjectScope { All, Open, Done };
enum class Role { Any, Drafter, Checker, Approver, Issuer, Reviser };
enum class DateKind { None, Made, Updated, Checked, Approved, Issued, Revised };
enum class StampState { Any, Unchecked, CheckedNotApproved, ApprovedNotIssued, Issued, Revised };
enum class FileCondition { Any, Missing, ChangedAfterIssue };

struct SearchCriteria {
    std::string text;  // CP932; words separated by blanks, all must match
    ProjectScope scope = ProjectScope::All;
    int projectNo = 0;  // 0: every project
    int memberNo = 0;   // 0: no member asked for
    Role role = Role::Any;
    DateKind dateKind = DateKind::None;
    std::string dateFrom;  // yyyymmdd or empty, inclusive
    std::string dateTo;
    StampState state = StampState::Any;
    FileCondition file = FileCondition::Any;
};

enum class Preset {
    None,
    MineUnchecked,
    CheckedNotApproved,
    ApprovedNotIssued,
    ChangedAfterIssue,
    MissingFiles,
};

// The criteria of a daily queue; "mine" is the PC user.
SearchCriteria PresetCriteria(Preset preset, int pcUserNo);

// Which date box is wrong, when one is.
enum class DateField { From, To };
std::optional<DateField> InvalidDateField(const SearchCriteria& criteria);

// One drawing as the search reads it: the node and its ZMN row, every text
// as stored (NULL as empty, whatever another program wrote).
struct DrawingRecord {
    std::string_view nodeName;
    std::string_view fileName, folder, number, title, subtitle, memo1, memo2, memo3;
    std::string_view drafter, made, updated;
    std::string_view checker, checked, approver, approved, issuer, issued, reviser, revised;
};

// A stored date that is a real date; anything else counts as no date.
bool HasDate(std::string_view stored);

// Every criterion but the project's and the file's.
class RecordFilter {
public:
    explicit RecordFilter(const SearchCriteria& criteria);
    bool Passes(const DrawingRecord& record) const;

private:
    bool PassesMember(const DrawingRecord& record) const;
    bool PassesDate(const DrawingRecord& record) const;
    bool PassesState(const DrawingRecord& record) const;

    SearchCriteria criteria_;
    TextQuery query_;
};

}  // namespace search
