#include "storage/project_periods.h"

#include "storage/schema.h"
#include "text/mbcs.h"

namespace storage {

namespace {

enum ProjectColumn { kPdate1 = 10, kPdate2 = 11, kDate1 = 12, kDate2 = 13, kNdate = 14 };

const std::string& At(const Row& row, size_t index)
{
    static const std::string empty;
    return index < row.size() ? row[index] : empty;
}

}  // namespace

std::optional<QDateTime> DateValue(std::string_view yyyymmdd)
{
    if (yyyymmdd.size() < 8)
        return std::nullopt;
    QDate day(text::StrToIntOrZero(yyyymmdd.substr(0, 4)),
              text::StrToIntOrZero(yyyymmdd.substr(4, 2)),
              text::StrToIntOrZero(yyyymmdd.substr(6, 2)));
    if (!day.isValid())
        return std::nullopt;
    return QDateTime(day, QTime(0, 0));
}

ProjectSpans ProjectSpansOf(const Row& project)
{
    ProjectSpans result;
    auto add = [&](const std::string& from, const std::string& to, bool oneDay, std::uint32_t rgb,
                   ProjectPeriod period) {
        if (!result.valid || from.empty() || (!oneDay && to.empty()))
            return;
        auto start = DateValue(from);
        auto end = oneDay ? start : DateValue(to);
        if (!start || !end) {
            result.valid = false;
            return;
        }
        result.spans.push_back({*start, oneDay ? start->addDays(1) : *end, rgb, period});
    };
    add(At(project, kPdate1), At(project, kPdate2), false, kAqua, ProjectPeriod::kPlanned);
    add(At(project, kDate1), At(project, kDate2), false, kBlue, ProjectPeriod::kActual);
    add(At(project, kNdate), {}, true, kGreen, ProjectPeriod::kDelivery);
    return result;
}

}  // namespace storage
