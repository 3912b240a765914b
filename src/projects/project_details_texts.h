#pragma once
// Every fixed text of the project details panel.

namespace projects::details_texts {

inline constexpr char kLabelName[] = "プロジェクト名";
inline constexpr char kLabelClient[] = "注文先";
inline constexpr char kClientGap[] = "　";
inline constexpr char kLabelTitle[] = "表題";
inline constexpr char kLabelSubtitle[] = "副題";
inline constexpr char kLabelMemo[] = "メモ";
inline constexpr char kLabelDue[] = "納期";
inline constexpr char kLabelPlanned[] = "予定";
inline constexpr char kPeriodJoin[] = "～";
inline constexpr char kLabelActual[] = "実施";
inline constexpr char kLabelDelivered[] = "納品日付";
inline constexpr char kLabelDone[] = "済み";
inline constexpr char kLabelCreator[] = "作成者：";

inline constexpr char kButtonTaller[] = "▲";
inline constexpr char kButtonShorter[] = "▼";
inline constexpr char kButtonEdit[] = "編集(&E)";
inline constexpr char kButtonDetail[] = "詳細(&D)";

}  // namespace projects::details_texts
