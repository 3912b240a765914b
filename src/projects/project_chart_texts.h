#pragma once
// Every fixed text of the project chart window.

namespace projects::chart_texts {

inline constexpr char kCaption[] = "プロジェクトチャート表示";
inline constexpr char kLabelStart[] = "表示開始日付";
inline constexpr char kLabelEnd[] = "表示終了日付";
inline constexpr char kFilterCaption[] = "表示条件";
inline constexpr char kFilterItem0[] = "未のみ";
inline constexpr char kFilterItem1[] = "済のみ";
inline constexpr char kFilterItem2[] = "双方";
inline constexpr char kButtonRefresh[] = "更新(&U)";
inline constexpr char kButtonUp[] = "△";
inline constexpr char kButtonDown[] = "▽";

// What each bar stands for, in its tooltip, in the order of storage::ProjectPeriod.
inline constexpr const char* kBarPeriods[] = {"予定", "実施", "納品"};

// A stored date that is no calendar day ends the build with this message.
inline constexpr char kInvalidDateMessage[] =
    "正しくない日付が登録されたプロジェクトがあるため、チャート表示を中断しました";

}  // namespace projects::chart_texts
