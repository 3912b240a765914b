#pragma once
// The texts of k5x7-admin seed.

namespace seed::texts {

inline constexpr char kUsage[] =
    "使い方: k5x7-admin seed データベース [--projects N] [--nodes-per-project M]\n"
    "                       [--files-folder フォルダ] [--pc-user-settings 設定ファイル]\n"
    "  デモやベンチマーク用の事務所のデータを、空のデータベースに作ります。\n"
    "  データベース          このPCだけのファイル、又はサーバー経由の「ホスト:パス」\n"
    "  --projects N           作るプロジェクトの数（既定 12）\n"
    "  --nodes-per-project M  各プロジェクトの節の数（既定 8）\n"
    "  --files-folder フォルダ  サンプルファイルを置く所（既定: データベースの隣の files/）\n"
    "  --pc-user-settings F   設定ファイル F もこのデータベースに向け、最初のメンバーを\n"
    "                         PC利用者にします\n"
    "  --settings-only        何も作らず、--pc-user-settings の設定ファイルだけ書きます\n";
inline constexpr char kPrefix[] = "k5x7-admin seed: ";

inline constexpr char kNotAttached[] = "データベースに接続していません";
inline constexpr char kAlreadyHolds[] = " に既に ";
inline constexpr char kRowsOnlyEmpty[] = " 行あります。空のデータベースにだけ作ります";
inline constexpr char kRowsUnreadable[] = " の行を読めません。空のデータベースにだけ作ります";
inline constexpr char kTableHoldsRows[] = " に既に行があります。空のデータベースにだけ作ります";
inline constexpr char kCannotMakeFilesFolder[] = "サンプルファイルのフォルダを作れません: ";
inline constexpr char kCannotWrite[] = "書き込めません: ";
inline constexpr char kCannotCreateTable[] = "表を作れません: ";
inline constexpr char kCannotCreateProjectTables[] = "次のプロジェクトの表を作れません: ";
inline constexpr char kRangeSeparator[] = "〜";
inline constexpr char kProjectRowsFailed[] = "次のプロジェクトの行を登録できませんでした: ";
inline constexpr char kRowsFailed[] = "行を登録できませんでした";
inline constexpr char kProjectsFailed[] = "プロジェクトを登録できませんでした";

inline constexpr char kNeedsNumber[] = " には 0 から次までの整数を指定して下さい: ";
inline constexpr char kNeedsValue[] = " には値が必要です";
inline constexpr char kTwoDatabases[] = "データベースのパスが二つ以上あります: ";
inline constexpr char kUnknownOption[] = "不明なオプションです: ";
inline constexpr char kNoDatabase[] = "データベースのパスがありません";
inline constexpr char kFilesFolderForOtherHost[] =
    "他のホストのデータベースには --files-folder を指定して下さい";
inline constexpr char kFilesFolderUnstorable[] =
    "このサンプルファイルのフォルダは保存できません（CP932 にない文字があるか、"
    "255 バイトを超えます）: ";
inline constexpr char kSettingsOnlyNeedsFile[] =
    "--settings-only には --pc-user-settings が必要です";
inline constexpr char kCannotWriteSettings[] = "設定ファイルに書き込めません: ";
inline constexpr char kSettingsPointAt[] = " をこのデータベースに向けました: ";
inline constexpr char kCannotAttachOrCreate[] = "データベースに接続も作成もできません: ";
inline constexpr char kNothingSeeded[] = "。何も作っていません: ";
inline constexpr char kFailedIn[] = ": ";

// The summary: counts in this order, then the files' folder, commits and seconds.
inline constexpr char kSections[] = ": 所属 ";
inline constexpr char kMembers[] = "、メンバー ";
inline constexpr char kCompanies[] = "、注文先 ";
inline constexpr char kProjects[] = "、プロジェクト ";
inline constexpr char kNodes[] = "、節 ";
inline constexpr char kDrawings[] = "、図面 ";
inline constexpr char kRevisions[] = "、改訂 ";
inline constexpr char kFiles[] = "、ファイル ";
inline constexpr char kFilesIn[] = "（";
inline constexpr char kCommits[] = "）、コミット ";
inline constexpr char kSeconds[] = " 回、";
inline constexpr char kSecondsUnit[] = " 秒";

}  // namespace seed::texts
