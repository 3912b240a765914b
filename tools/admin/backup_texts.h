#pragma once
// The texts of k5x7-admin backup and of the backup files it reads back.

namespace admin::backup_texts {

inline constexpr char kUsage[] =
    "使い方: k5x7-admin backup データベース フォルダ [--keep 件数]\n"
    "  データベースを Firebird のバックアップ機能で「名前-年月日-時分秒.fbk」として\n"
    "  フォルダに書き出します。フォルダはこのPCのもので、実行する利用者が書き込めること。\n"
    "  データベースはアプリケーションと同じ形で指定します（サーバー経由は「ホスト:パス」）。\n"
    "  サーバー経由なら各PCが使用中でもバックアップできます。このPCだけのパスは、\n"
    "  どのプログラムも開いていない時に限ります。\n"
    "  書き出したバックアップは一時ファイルに復元し、すべての表の行数を確かめます。\n"
    "  --keep 件数  残すバックアップの数（既定 14）。それより古いものを削除します。\n";
inline constexpr char kPrefix[] = "k5x7-admin backup: ";
inline constexpr char kKeepInvalid[] = "--keep には 1 から 9999 までの整数を指定して下さい";
inline constexpr char kFolderMissing[] = "フォルダがありません: ";
inline constexpr char kNameTaken[] = "同じ名前のバックアップが既にあります: ";
inline constexpr char kDatabaseUnreachable[] =
    "データベースに接続できません（パスを確認して下さい。このPCだけのパスは、"
    "他のプログラムが開いている間は使えません）: ";
inline constexpr char kBackupFailed[] = "バックアップできませんでした: ";
inline constexpr char kNothingKept[] = "書きかけのファイルは残していません。";
inline constexpr char kScratchFailed[] = "確認用の一時フォルダを作れません: ";
inline constexpr char kVerifyRestoreFailed[] =
    "バックアップを復元して確かめられないため、削除しました: ";
inline constexpr char kVerifyCountFailed[] =
    "復元したバックアップの行数が元のデータベースと合わないため、削除しました:";
inline constexpr char kCountsUnreadable[] = "行数を読めませんでした: ";
inline constexpr char kTableMissing[] = ": 表がありません";
inline constexpr char kCountDiffers[] = ": 行数 ";
inline constexpr char kCountExpected[] = "（元は ";
inline constexpr char kCountClose[] = "）";
inline constexpr char kRangeSeparator[] = "〜";
inline constexpr char kDone[] = "バックアップしました: ";
inline constexpr char kDoneTables[] = "（";
inline constexpr char kDoneRows[] = " 表、";
inline constexpr char kDoneVerified[] = " 行、復元して確認済み）";
inline constexpr char kRemovedOld[] = "古いバックアップを削除しました: ";
inline constexpr char kRemoveFailed[] = "古いバックアップを削除できませんでした: ";

// Failures of the file or the server, shared with restore.
inline constexpr char kDiskFull[] = "ディスクに空きがありません";
inline constexpr char kFileFailed[] = "ファイルの読み書きに失敗しました: ";
inline constexpr char kServerSaid[] = "Firebird: ";
inline constexpr char kStopped[] = "途中で止まりました";

}  // namespace admin::backup_texts
