#pragma once
// Every fixed text of the revision history editor: caption, grid headers,
// labels, buttons, messages and the pieces of the delete question.

namespace drawings::revision_texts {

inline constexpr char kCaption[] = "改訂履歴内容の編集";
inline constexpr char kCurrentContents[] = "現在の登録内容";

// Grid headers, column 0 first.
inline constexpr char kNumberHeader[] = "番号";
inline constexpr char kContentHeader[] = "改訂内容";
inline constexpr char kReviserNoHeader[] = "改訂者番号";
inline constexpr char kDateHeader[] = "改訂日付";

inline constexpr char kNumberLabel[] = "番号：";
inline constexpr char kContentLabel[] = "改訂内容：";
inline constexpr char kReviserLabel[] = "改訂者：";
inline constexpr char kDateLabel[] = "改訂日付：";
inline constexpr char kNoMember[] = "0:指定無し";

inline constexpr char kButton1[] = "追加登録(&A)";
inline constexpr char kButton4[] = "データ変更(&E)";
inline constexpr char kButton2[] = "データ削除(&D)";
inline constexpr char kButton3[] = "閉じる(&C)";

inline constexpr char kSetUpDatabaseFirst[] = "最初にデータベースの設定を行って下さい。";
inline constexpr char kCannotConnect[] = "データベースに接続出来ません。設定を確認して下さい。";
inline constexpr char kEnterNumber[] = "番号を入力して下さい（正の整数値入力）";
inline constexpr char kNumberNotPositive[] = "番号は正の整数で入力して下さい";
inline constexpr char kBadDate[] =
    "日付は yyyymmdd形式（例：20100101）で有効な内容を入力して下さい。";
inline constexpr char kNoQuotes[] = "引用符「'」「\"」を入力しないで下さい";
inline constexpr char kNumberUnused[] =
    "入力した番号は未使用ですので変更は出来ません。再入力して下さい";
inline constexpr char kAddOk[] = "登録OK";
inline constexpr char kAddFailed[] = "登録失敗";
inline constexpr char kChangeOk[] = "変更OK";
inline constexpr char kChangeFailed[] = "変更失敗";
inline constexpr char kDeleteOk[] = "削除OK";
inline constexpr char kDeleteFailed[] = "削除失敗";

// The delete question, around the entry's number and text; a CR LF comes
// before the confirmation.
inline constexpr char kQuestionOpen[] = "「";
inline constexpr char kQuestionNo[] = "No.";
inline constexpr char kQuestionColon[] = "：";
inline constexpr char kQuestionClose[] = "」を削除します。";
inline constexpr char kQuestionConfirm[] = "よろしいですか？";

}  // namespace drawings::revision_texts
