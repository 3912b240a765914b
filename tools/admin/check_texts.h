#pragma once
// The texts of k5x7-admin check.

namespace admin::check_texts {

inline constexpr char kUsage[] =
    "使い方: k5x7-admin check データベース\n"
    "  データベースを読むだけで検査します（書き込みはしません）。\n"
    "  まず Firebird のページ検査（サーバー経由なら使用中でも可）、次にアプリケーションが\n"
    "  前提とすることを確かめます: 節と図面の行が一対一であること、改訂が図面を、節が親を、\n"
    "  番号がメンバー・所属・注文先を正しく指していること、日付が日付であること。\n"
    "  問題ごとに表と N を一行で示し、問題が一つも無い時だけ終了コード 0 を返します。\n";
inline constexpr char kPrefix[] = "k5x7-admin check: ";
inline constexpr char kUnreachable[] =
    "データベースに接続できません（パスを確認して下さい。このPCだけのパスは、"
    "他のプログラムが開いている間は使えません）: ";
inline constexpr char kValidationTable[] = "ページ検査";
inline constexpr char kValidationFailed[] = "実行できませんでした: ";
inline constexpr char kUnreadable[] = "表を読めませんでした";
inline constexpr char kNone[] = "問題はありません: ";
inline constexpr char kFound[] = "件の問題があります: ";

// One problem each; the table and N go in front.
inline constexpr char kNoMember[] = " のメンバーが MEMBER にありません";
inline constexpr char kNoSection[] = " の所属が SECTION にありません";
inline constexpr char kNoCompany[] = " の注文先が COMPANY にありません";
inline constexpr char kValueOpen[] = " 「";
inline constexpr char kValueClose[] = "」";
inline constexpr char kNotDate[] = " は日付ではありません";
inline constexpr char kNoDrawingRow[] = "この節の図面の行がありません: ";
inline constexpr char kDuplicateDrawingRow[] = "この節の図面の行が二つ以上あります";
inline constexpr char kNoNode[] = "この図面の行の節がありません: ";
inline constexpr char kRootDrawing[] = "プロジェクトの節（N=0）には図面の行を置きません";
inline constexpr char kNoParent[] = " の親の節がありません";
inline constexpr char kParentNull[] = "親の番号（PARENT_N）がありません";
inline constexpr char kNoDrawing[] = " の図面がありません: ";
inline constexpr char kNoProject[] = "このプロジェクトが ZPROJECT にありません";
inline constexpr char kTableMissing[] = "表がありません（次の表が指しています）: ";

}  // namespace admin::check_texts
