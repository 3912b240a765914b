#include "search/search_criteria.h"

#include <array>

#include "text/mbcs.h"

namespace search {

SearchCriteria PresetCriteria(Preset preset, int pcUserNo)
{
    SearchCriteria c;
    switch (preset) {
        case Preset::None:
            break;
        case Preset::MineUnchecked:
            c.memberNo = pcUserNo;
            c.role = Role::Drafter;
            c.state = StampState::Unchecked;
            break;
        case Preset::CheckedNotApproved:
            c.state = StampState::CheckedNotApproved;
            break;
        case Preset::ApprovedNotIssued:
            c.state = StampState::ApprovedNotIssued;
            break;
        case Preset::ChangedAfterIssue:
            c.file = FileCondition::ChangedAfterIssue;
            break;
        case Preset::MissingFiles:
            c.file = FileCondition::Missing;
            break;
    }
    return c;
}

std::optional<DateField> InvalidDateField(const SearchCriteria& criteria)
{
    if (!criteria.dateFrom.empty() && !text::IsValidDateString(criteria.dateFrom))
        return DateField::From;
    if (!criteria.dateTo.empty() && !text::IsValidDateString(criteria.dateTo))
        return DateField::To;
    return std::nullopt;
}

bool HasDate(std::string_view stored)
{
    return text::IsValidDateString(stored);
}

RecordFilter::RecordFilter(const SearchCriteria& criteria)
    : criteria_(criteria), query_(criteria.text)
{}

bool RecordFilter::Passes(const DrawingRecord& r) const
{
    if (!PassesMember(r) || !PassesDate(r) || !PassesState(r))
        return false;
    const std::array<std::string_view, 9> texts{
        r.number, r.title, r.subtitle, r.memo1, r.memo2, r.memo3, r.fileName, r.folder, r.nodeName};
    return query_.MatchesAny(texts);
}

bool RecordFilter::PassesMember(const DrawingRecord& r) const
{
    const int n = criteria_.memberNo;
    if (n == 0)
        return true;
    auto is = [n](std::string_view stored) { return text::StrToIntOrZero(stored) == n; };
    switch (criteria_.role) {
        case Role::Any:
            return is(r.drafter) || is(r.checker) || is(r.approver) || is(r.issuer) ||
                   is(r.reviser);
        case Role::Drafter:
            return is(r.drafter);
        case Role::Checker:
            return is(r.checker);
        case Role::Approver:
            return is(r.approver);
        case Role::Issuer:
            return is(r.issuer);
        case Role::Reviser:
            return is(r.reviser);
    }
    return false;
}

bool RecordFilter::PassesDate(const DrawingRecord& r) const
{
    std::string_view date;
    switch (criteria_.dateKind) {
        case DateKind::None:
            return true;
        case DateKind::Made:
            date = r.made;
            break;
        case DateKind::Updated:
            date = r.updated;
            break;
        case DateKind::Checked:
            date = r.checked;
            break;
        case DateKind::Approved:
            date = r.approved;
            break;
        case DateKind::Issued:
            date = r.issued;
            break;
        case DateKind::Revised:
            date = r.revised;
            break;
    }
    // A date kind without a range asks for drawings that have that date. Valid
    // date strings, all eight digits, order as their dates do.
    if (!HasDate(date))
        return false;
    return (criteria_.dateFrom.empty() || date >= criteria_.dateFrom) &&
           (criteria_.dateTo.empty() || date <= criteria_.dateTo);
}

bool RecordFilter::PassesState(const DrawingRecord& r) const
{
    switch (criteria_.state) {
        case StampState::Any:
            return true;
        case StampState::Unchecked:
            return !HasDate(r.checked);
        case StampState::CheckedNotApproved:
            return HasDate(r.checked) && !HasDate(r.approved);
        case StampState::ApprovedNotIssued:
            return HasDate(r.approved) && !HasDate(r.issued);
        case StampState::Issued:
            return HasDate(r.issued);
        case StampState::Revised:
            return HasDate(r.revised);
    }
    return false;
}

}  // namespace search
