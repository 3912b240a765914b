#include "drawings/drawing_chart_logic.h"

#include <cmath>

#include "storage/project_periods.h"
#include "text/cp932.h"

namespace drawings {

namespace {

enum DrawingColumn {
    kFileName = 1,
    kPathName = 2,
    kZumenn = 3,
    kMtitle = 4,
    kMemo1 = 6,
    kDdate = 10,
    kUdate = 11,
    kKdate = 13,
    kAdate = 15,
    kPdate = 17,
    kRdate = 19,
};

const std::string& At(const storage::Row& row, size_t index)
{
    static const std::string empty;
    return index < row.size() ? row[index] : empty;
}

// A day with a fraction, as the stagger arithmetic needs it.
std::optional<double> DayNumber(const std::string& text)
{
    auto day = storage::DateValue(text);
    if (!day)
        return std::nullopt;
    return static_cast<double>(day->date().toJulianDay());
}

QDateTime FromDayNumber(double day)
{
    double whole = std::floor(day);
    QDateTime start(QDate::fromJulianDay(static_cast<qint64>(whole)), QTime(0, 0));
    return start.addMSecs(std::llround((day - whole) * 86400000.0));
}

}  // namespace

std::vector<DrawingBar> DrawingBarsOf(const storage::Row& drawing)
{
    std::vector<DrawingBar> bars;
    auto oneDay = [&bars](std::optional<double> day, std::uint32_t rgb, DrawingStage stage) {
        if (day)
            bars.push_back({FromDayNumber(*day), FromDayNumber(*day + 1), rgb, stage});
    };

    const std::string& d = At(drawing, kDdate);
    const std::string& u = At(drawing, kUdate);
    if (!d.empty() && !u.empty() && d != u) {
        auto start = DayNumber(d), end = DayNumber(u);
        if (start && end)
            bars.push_back({FromDayNumber(*start), FromDayNumber(*end), storage::kAqua,
                            DrawingStage::kPeriod});
    } else if (!d.empty() || !u.empty()) {
        oneDay(DayNumber(d.empty() ? u : d), storage::kAqua, DrawingStage::kPeriod);
    }

    const std::string& kt = At(drawing, kKdate);
    const std::string& at = At(drawing, kAdate);
    const std::string& pt = At(drawing, kPdate);
    const std::string& rt = At(drawing, kRdate);
    auto k = DayNumber(kt), a = DayNumber(at), p = DayNumber(pt), r = DayNumber(rt);
    if (!at.empty() && at == kt && a)
        *a += 0.5;
    if (!pt.empty() && pt == at && p) {
        if (at == kt && k) {
            a = *k + 0.33;
            p = *k + 0.66;
        } else {
            *p += 0.5;
        }
    }
    if (!rt.empty() && rt == pt && r) {
        if (pt == at) {
            if (at == kt && k) {
                a = *k + 0.25;
                p = *k + 0.5;
                r = *k + 0.75;
            } else if (a) {
                p = *a + 0.33;
                r = *a + 0.66;
            }
        } else {
            *r += 0.5;
        }
    }
    oneDay(kt.empty() ? std::nullopt : k, storage::kLime, DrawingStage::kCheck);
    oneDay(at.empty() ? std::nullopt : a, storage::kRed, DrawingStage::kApproval);
    oneDay(pt.empty() ? std::nullopt : p, storage::kYellow, DrawingStage::kIssue);
    oneDay(rt.empty() ? std::nullopt : r, storage::kFuchsia, DrawingStage::kRevision);
    return bars;
}

int ChartRowAxisMaximum(int heightPixels)
{
    return std::max(heightPixels / 20, 3) + 1;
}

ListRow ProjectListRow(const storage::Row& project)
{
    static const std::string kDue = text::ToCp932Lossy(QString::fromUtf8("納期："));
    // ZPROJECT: 3 PRNAME, 4 MTITLE, 6 MEMO1, 9 NOUKI, 10 PDATE1, 11 PDATE2,
    // 12 DATE1, 13 DATE2, 14 NDATE.
    return {"0",
            At(project, 3),
            kDue + At(project, 9),
            "",
            "",
            At(project, 4),
            At(project, 6),
            At(project, 10),
            At(project, 11),
            At(project, 12),
            At(project, 13),
            At(project, 14),
            ""};
}

ListRow DrawingListCells(const storage::Row& drawing)
{
    return {"",
            "",
            At(drawing, kFileName),
            At(drawing, kPathName),
            At(drawing, kZumenn),
            At(drawing, kMtitle),
            At(drawing, kMemo1),
            At(drawing, kDdate),
            At(drawing, kUdate),
            At(drawing, kKdate),
            At(drawing, kAdate),
            At(drawing, kPdate),
            At(drawing, kRdate)};
}

std::string IndentedName(const std::string& name, int depth, int baseLevel)
{
    int blanks = std::max(0, depth - baseLevel + 1);
    return std::string(static_cast<size_t>(blanks), ' ') + name;
}

}  // namespace drawings
