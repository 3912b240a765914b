#pragma once
// The texts of k5x7-admin restore.

namespace admin::restore_texts {

inline constexpr char kUsage[] =
    "使い方: k5x7-admin restore バックアップファイル データベース [--replace]\n"
    "  k5x7-admin backup が書き出したファイルからデータベースを作ります。\n"
    "  ファイルはまず一時ファイルに復元して確かめ、壊れていれば何も変えません。\n"
    "  データベースが既にある時は、--replace を付けた時だけ置き換えます。\n"
    "  置き換えは、どのPCもそのデータベースを使っていない時に限ります。新しいデータベースを\n"
    "  横に作って確かめてから入れ替えるので、失敗しても元のデータベースは残ります。\n"
    "  サーバーのデータベースの置き換えは、サーバーのマシンで root として実行します。\n";
inline constexpr char kPrefix[] = "k5x7-admin restore: ";
inline constexpr char kFileMissing[] = "バックアップファイルがありません: ";
inline constexpr char kExists[] =
    "データベースが既にあります。置き換える時は --replace を付けて下さい: ";
inline constexpr char kFolderMissing[] = "データベースのフォルダがありません: ";
inline constexpr char kInUse[] =
    "データベースを開けないため置き換えません（他のPCやプログラムが使用中か、"
    "データベースではありません）: ";
inline constexpr char kDamaged[] =
    "バックアップファイルから復元できません（壊れているか、バックアップファイルではありません）: ";
inline constexpr char kUntouched[] = "データベースは何も変えていません。";
inline constexpr char kKeptOld[] = "元のデータベースはそのまま残っていて、使えます。";
inline constexpr char kValidationFailed[] = "復元したデータベースの検査で問題が見つかりました: ";
inline constexpr char kReplaceOnServer[] =
    "サーバーのデータベースの置き換えは、サーバーのマシンで、そのデータのフォルダに書き込める"
    "利用者（root など）が実行して下さい: ";
inline constexpr char kLeftBehind[] = "サーバーに復元したファイルが残っています。削除して下さい: ";
inline constexpr char kScratchFailed[] = "確認用の一時フォルダを作れません: ";
inline constexpr char kRestoreFailed[] = "データベースに復元できませんでした: ";
inline constexpr char kPartialMayRemain[] =
    "作りかけのデータベースが残っている場合は、サーバーで削除して下さい。";
inline constexpr char kPlaceFailed[] = "復元したデータベースを置けませんでした: ";
inline constexpr char kCountsDiffer[] =
    "復元したデータベースの行数がバックアップファイルと合いません: ";
inline constexpr char kDone[] = "復元しました: ";
inline constexpr char kDoneTables[] = "（";
inline constexpr char kDoneRows[] = " 表、";
inline constexpr char kDoneClose[] = " 行）";

}  // namespace admin::restore_texts
