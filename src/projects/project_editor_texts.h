#pragma once
// Every fixed text of the project editor, its captions and messages.

namespace projects::editor_texts {

inline constexpr char kCaptionNew[] = "プロジェクト新規作成";
inline constexpr char kCaptionEdit[] = "プロジェクト編集";

inline constexpr char kLabelNumber[] = "番号";
inline constexpr char kLabelCreator[] = "作成者：";
inline constexpr char kLabelClient[] = "注文先";
inline constexpr char kLabelName[] = "プロジェクト名";
inline constexpr char kLabelTitle[] = "表題";
inline constexpr char kLabelSubtitle[] = "副題";
inline constexpr char kLabelMemo[] = "メモ";
inline constexpr char kLabelDue[] = "納期";
inline constexpr char kLabelPlanned[] = "予定";
inline constexpr char kLabelStart[] = "開始日付";
inline constexpr char kLabelEnd[] = "終了日付";
inline constexpr char kLabelActual[] = "実施";
inline constexpr char kLabelDelivered[] = "納品日付";
inline constexpr char kLabelDone[] = "済";

inline constexpr char kButtonLoad[] = "データ参照(&R)";
inline constexpr char kButtonSave[] = "登　録(&S)";
inline constexpr char kButtonClear[] = "クリア(&C)";
inline constexpr char kButtonClose[] = "閉じる(&X)";

inline constexpr char kClientSeparator[] = "｜";

inline constexpr char kNumberMissingMessage[] = "指定した番号は存在しません。再入力して下さい。";
inline constexpr char kNumberExistsMessage[] = "指定した番号は既に存在します。再入力して下さい。";
inline constexpr char kNameMissingMessage[] = "プロジェクト名を入力して下さい。";
inline constexpr char kNameQuoteMessage[] =
    "プロジェクト名に引用符「'」「\"」「:」を入力しないで下さい";
inline constexpr char kDateFormatMessage[] =
    "日付は yyyymmdd形式（例：20100101）で有効な内容を入力して下さい。";
inline constexpr char kEndWithoutStartMessage[] =
    "終了日付が指定されているのに開始日付が指定されていません";
inline constexpr char kStartAfterEndMessage[] = "開始日付の方が後の日付になっています";
inline constexpr char kClientQuoteMessage[] = "引用符「'」「\"」「:」を入力しないで下さい";
inline constexpr char kClientRegisteredMessage[] = "入力した注文先を登録しました";
inline constexpr char kClientNotRegisteredMessage[] =
    "入力した注文先が登録出来ませんでしたので注文先は未指定とします";
inline constexpr char kTextQuoteMessage[] = "引用符「'」「\"」を入力しないで下さい";
inline constexpr char kSavedMessage[] = "プロジェクトを登録しました";
inline constexpr char kNotSavedMessage[] = "プロジェクトが登録出来ませんでした";

}  // namespace projects::editor_texts
