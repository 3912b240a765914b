#include "timeline/timeline_tiers.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "timeline/timeline_texts.h"

namespace timeline {

namespace {

constexpr double kWeekendPixelsPerDay = 4;
// A safety net only: the chosen steps keep far fewer boundaries in view.
constexpr int kMaxBoundaries = 4000;

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

struct Pairing {
    Step lower;
    Step upper;
};

// Finest first.
const std::vector<Pairing>& Pairings()
{
    static const std::vector<Pairing> pairings = [] {
        std::vector<Pairing> list = {{{Unit::Day, 1}, {Unit::Month, 1}},
                                     {{Unit::Week, 1}, {Unit::Month, 1}},
                                     {{Unit::Month, 1}, {Unit::Year, 1}},
                                     {{Unit::Quarter, 1}, {Unit::Year, 1}}};
        for (int group = 10; group <= 10000; group *= 10)
            for (int years : {group / 10, group / 5, group / 2})
                list.push_back({{Unit::Year, years}, {Unit::Year, group}});
        return list;
    }();
    return pairings;
}

// The shortest a step can be, in days.
double MinimumDays(const Step& step)
{
    switch (step.unit) {
        case Unit::Day:
            return 1;
        case Unit::Week:
            return 7;
        case Unit::Month:
            return 28;
        case Unit::Quarter:
            return 89;
        case Unit::Year:
            break;
    }
    return 365.0 * step.count;
}

int FloorTo(int value, int multiple)
{
    return value >= 0 ? value / multiple * multiple
                      : -((-value + multiple - 1) / multiple) * multiple;
}

// The boundary at or before `date`. Years are counted in multiples of the step;
// the calendar has no year 0, so the first group begins with year 1.
QDate StartOf(const Step& step, const QDate& date)
{
    switch (step.unit) {
        case Unit::Day:
            return date;
        case Unit::Week:
            return date.addDays(1 - date.dayOfWeek());
        case Unit::Month:
            return QDate(date.year(), date.month(), 1);
        case Unit::Quarter:
            return QDate(date.year(), (date.month() - 1) / 3 * 3 + 1, 1);
        case Unit::Year:
            break;
    }
    return QDate(std::max(1, FloorTo(date.year(), step.count)), 1, 1);
}

QDate NextAfter(const Step& step, const QDate& boundary)
{
    switch (step.unit) {
        case Unit::Day:
            return boundary.addDays(1);
        case Unit::Week:
            return boundary.addDays(7);
        case Unit::Month:
            return boundary.addMonths(1);
        case Unit::Quarter:
            return boundary.addMonths(3);
        case Unit::Year:
            break;
    }
    return QDate(FloorTo(boundary.year(), step.count) + step.count, 1, 1);
}

// Long to short; the tier uses the longest that fits.
std::vector<QString> LabelsOf(const Step& step, bool upper, const QDate& d)
{
    const QString year = QString::number(d.year());
    switch (step.unit) {
        case Unit::Day:
            return {QString::number(d.day()) + "(" + U(texts::kWeekdays[d.dayOfWeek() - 1]) + ")",
                    QString::number(d.day())};
        case Unit::Week:
            return {QString("%1/%2").arg(d.month()).arg(d.day()), QString::number(d.day())};
        case Unit::Month:
            if (upper)
                return {year + U(texts::kYear) + QString::number(d.month()) + U(texts::kMonth),
                        QString("%1/%2").arg(year).arg(d.month())};
            return {QString::number(d.month()) + U(texts::kMonth), QString::number(d.month())};
        case Unit::Quarter: {
            const int first = (d.month() - 1) / 3 * 3 + 1;
            const QString months = QString::number(first) + U(texts::kQuarterJoin) +
                                   QString::number(first + 2) + U(texts::kQuarterMonths);
            return {U(texts::kQuarterPrefix) + QString::number(first / 3 + 1) + U(texts::kQuarter),
                    months};
        }
        case Unit::Year:
            break;
    }
    // "2020年代" names a decade; longer groups only say where they begin.
    if (upper && step.count == 10)
        return {year + U(texts::kDecade), year};
    if (upper && step.count > 10)
        return {year + U(texts::kYearsFrom), year};
    return {year + U(texts::kYear), year};
}

// The widest labels a step can have: two-digit days and months, four-digit years.
const QDate& SampleDate()
{
    static const QDate date(2888, 12, 28);
    return date;
}

constexpr int kNoFormFits = -1;
constexpr int kShortestForm = 99;

// Index of the longest form whose widest label fits the shortest span.
int FormThatFits(const Step& step, bool upper, double pixelsPerDay, const TextWidth& textWidth)
{
    const std::vector<QString> forms = LabelsOf(step, upper, SampleDate());
    const double room = MinimumDays(step) * pixelsPerDay - 2 * kLabelPadding;
    for (size_t i = 0; i < forms.size(); ++i)
        if (textWidth(forms[i]) <= room)
            return static_cast<int>(i);
    return kNoFormFits;
}

// A label stays inside what is visible of its own span, so labels of one tier
// never meet and none is cut at the edges: the lower tier centres it there, the
// upper tier keeps it at the left, where the eye looks for the year or month.
Tier MakeTier(const Step& step, bool upper, int form, const TimeScale& scale,
              const TextWidth& textWidth)
{
    Tier tier;
    tier.step = step;
    QDate boundary = StartOf(step, DateOf(scale.FirstDay()));
    while (boundary.isValid() && tier.boundaries.size() < kMaxBoundaries) {
        const double day = DayOf(boundary);
        tier.boundaries.push_back(day);
        if (day >= scale.LastDay())
            break;
        boundary = NextAfter(step, boundary);
    }
    for (size_t i = 0; i + 1 < tier.boundaries.size(); ++i) {
        const double x0 = scale.X(tier.boundaries[i]), x1 = scale.X(tier.boundaries[i + 1]);
        const std::vector<QString> forms = LabelsOf(step, upper, DateOf(tier.boundaries[i]));
        const QString& text =
            forms[static_cast<size_t>(std::clamp<int>(form, 0, forms.size() - 1))];
        const double width = textWidth(text);
        const double visible0 = std::max(x0, 0.0), visible1 = std::min(x1, scale.Width());
        if (width + 2 * kLabelPadding > visible1 - visible0)
            continue;
        const double left = upper ? visible0 + kLabelPadding : (visible0 + visible1 - width) / 2;
        tier.labels.push_back({text, left, width});
    }
    return tier;
}

}  // namespace

TimelineLayout LayOutTimeline(const TimeScale& scale, const TextWidth& textWidth,
                              int minimumStepDays)
{
    const double ppd = scale.PixelsPerDay();
    const std::vector<Pairing>& pairings = Pairings();
    size_t chosen = pairings.size() - 1;
    int lowerForm = kShortestForm;
    for (size_t i = 0; i < pairings.size(); ++i) {
        if (MinimumDays(pairings[i].lower) < minimumStepDays && i + 1 < pairings.size())
            continue;
        const int form = FormThatFits(pairings[i].lower, false, ppd, textWidth);
        if (form != kNoFormFits) {
            chosen = i;
            lowerForm = form;
            break;
        }
    }
    const Pairing& pairing = pairings[chosen];
    int upperForm = FormThatFits(pairing.upper, true, ppd, textWidth);
    if (upperForm == kNoFormFits)
        upperForm = kShortestForm;

    TimelineLayout layout;
    layout.lower = MakeTier(pairing.lower, false, lowerForm, scale, textWidth);
    layout.upper = MakeTier(pairing.upper, true, upperForm, scale, textWidth);
    layout.weekends = ppd >= kWeekendPixelsPerDay;
    return layout;
}

}  // namespace timeline
