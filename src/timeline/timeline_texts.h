#pragma once
// Every fixed text of the timeline header.

namespace timeline::texts {

inline constexpr char kYear[] = "年";
inline constexpr char kMonth[] = "月";
inline constexpr char kDecade[] = "年代";
inline constexpr char kYearsFrom[] = "年～";
inline constexpr char kQuarterPrefix[] = "第";
inline constexpr char kQuarter[] = "四半期";
inline constexpr char kQuarterMonths[] = "月";
inline constexpr char kQuarterJoin[] = "～";
// Monday first, as QDate::dayOfWeek counts.
inline constexpr const char* kWeekdays[] = {"月", "火", "水", "木", "金", "土", "日"};

}  // namespace timeline::texts
