#pragma once
// Messages every record dialog shares: the opening guards, the number and quote
// checks, the results of a change and the pieces of the delete question.

namespace text::record_messages {

inline constexpr char kSetUpDatabaseFirst[] = "最初にデータベースの設定を行って下さい。";
inline constexpr char kCannotConnect[] = "データベースに接続出来ません。設定を確認して下さい。";
inline constexpr char kEnterNumber[] = "番号を入力して下さい（正の整数値入力）";
inline constexpr char kNumberNotPositive[] = "番号は正の整数で入力して下さい";
inline constexpr char kNoQuotes[] = "引用符「'」「\"」を入力しないで下さい";
inline constexpr char kNumberUnused[] =
    "入力した番号は未使用ですので変更は出来ません。再入力して下さい";
inline constexpr char kAddOk[] = "登録OK";
inline constexpr char kAddFailed[] = "登録失敗";
inline constexpr char kChangeOk[] = "変更OK";
inline constexpr char kChangeFailed[] = "変更失敗";
inline constexpr char kDeleteOk[] = "削除OK";
inline constexpr char kDeleteFailed[] = "削除失敗";
inline constexpr char kQuestionOpen[] = "「";
inline constexpr char kQuestionColon[] = "：";
inline constexpr char kQuestionClose[] = "」を削除します。";
inline constexpr char kQuestionConfirm[] = "よろしいですか？";

}  // namespace text::record_messages
