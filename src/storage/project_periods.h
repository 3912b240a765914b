#pragma once
// Stored date strings as calendar days, and the periods a project row charts:
// planned, actual and delivery, each in its own colour.

#include <QDateTime>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "storage/database.h"

namespace storage {

// The day of "yyyymmdd" at 00:00, each part read as a number; empty when the text
// names no calendar day.
std::optional<QDateTime> DateValue(std::string_view yyyymmdd);

enum class ProjectPeriod { kPlanned, kActual, kDelivery };

struct ChartSpan {
    QDateTime start;
    QDateTime end;
    std::uint32_t rgb = 0;  // 0xRRGGBB
    ProjectPeriod period = ProjectPeriod::kPlanned;
};

inline constexpr std::uint32_t kAqua = 0x00FFFF;
inline constexpr std::uint32_t kBlue = 0x0000FF;
inline constexpr std::uint32_t kGreen = 0x008000;
inline constexpr std::uint32_t kLime = 0x00FF00;
inline constexpr std::uint32_t kRed = 0xFF0000;
inline constexpr std::uint32_t kYellow = 0xFFFF00;
inline constexpr std::uint32_t kFuchsia = 0xFF00FF;

struct ProjectSpans {
    std::vector<ChartSpan> spans;
    // False when a present date is no calendar day; the spans before it are kept.
    bool valid = true;
};

// Planned (PDATE1-PDATE2, both present), actual (DATE1-DATE2) and delivery
// (NDATE, one day) of a ZPROJECT row, in that order.
ProjectSpans ProjectSpansOf(const Row& project);

}  // namespace storage
