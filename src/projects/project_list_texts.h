#pragma once
// Every fixed text of the project list: buttons, headers and selector items.

namespace projects::list_texts {

inline constexpr char kCaption[] = "プロジェクト一覧表示";

inline constexpr char kButtonFirst[] = "最初(&F)";
inline constexpr char kButtonPrevious[] = "前頁(&P)";
inline constexpr char kButtonNext[] = "次頁(&N)";
inline constexpr char kButtonRefresh[] = "更新(&U)";
inline constexpr char kLabelSort[] = "並び順：";
inline constexpr char kLabelFilter[] = "絞り込み：";

inline constexpr char kHeader0[] = "番号";
inline constexpr char kHeader1[] = "プロジェクト名";
inline constexpr char kHeader2[] = "表題";
inline constexpr char kHeader3[] = "納期";
inline constexpr char kHeader4[] = "納品日付";
inline constexpr char kHeader5[] = "済";
inline constexpr char kDone[] = "済";
inline constexpr char kNotDone[] = "未";

inline constexpr char kSortItem0[] = "番号↓";
inline constexpr char kSortItem1[] = "番号↑";
inline constexpr char kSortItem2[] = "プロジェクト名↓";
inline constexpr char kSortItem3[] = "プロジェクト名↑";
inline constexpr char kSortItem4[] = "表題↓";
inline constexpr char kSortItem5[] = "表題↑";
inline constexpr char kSortItem6[] = "納期↓";
inline constexpr char kSortItem7[] = "納期↑";
inline constexpr char kSortItem8[] = "納品日付↓";
inline constexpr char kSortItem9[] = "納品日付↑";

inline constexpr char kFilterItem0[] = "（無し）";
inline constexpr char kFilterItem1[] = "プロジェクト名";
inline constexpr char kFilterItem2[] = "表題";
inline constexpr char kFilterItem3[] = "納期";
inline constexpr char kFilterItem4[] = "納品日付";

}  // namespace projects::list_texts
