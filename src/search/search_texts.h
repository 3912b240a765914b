#pragma once
// Every fixed text of the drawing search: the window, its criteria, the result
// headers and file states, and the command line's messages.

namespace search::texts {

inline constexpr char kCaption[] = "図面検索";
inline constexpr char kMenuCommand[] = "図面検索(&S)...";

inline constexpr char kLabelPreset[] = "定型検索：";
inline constexpr char kLabelText[] = "検索文字：";
inline constexpr char kLabelProjects[] = "プロジェクト：";
inline constexpr char kLabelMember[] = "メンバー：";
inline constexpr char kLabelDate[] = "日付：";
inline constexpr char kLabelDateTo[] = "～";
inline constexpr char kLabelState[] = "状態：";
inline constexpr char kLabelFile[] = "ファイル：";
inline constexpr char kButtonSearch[] = "検索(&F)";
inline constexpr char kButtonClear[] = "条件クリア(&R)";
inline constexpr char kButtonCsv[] = "CSV出力(&E)...";
inline constexpr char kButtonClose[] = "閉じる(&X)";

inline constexpr char kPresetNone[] = "（なし）";
inline constexpr char kPresetMineUnchecked[] = "自分が製図して未検図";
inline constexpr char kPresetCheckedNotApproved[] = "検図済で未承認";
inline constexpr char kPresetApprovedNotIssued[] = "承認済で未出図";
inline constexpr char kPresetChangedAfterIssue[] = "出図後に変更されたファイル";
inline constexpr char kPresetMissingFiles[] = "見つからないファイル";

inline constexpr char kScopeAll[] = "全て";
inline constexpr char kScopeOpen[] = "未";
inline constexpr char kScopeDone[] = "済";
inline constexpr char kEveryProject[] = "0:全プロジェクト";
inline constexpr char kNoMember[] = "0:指定無し";

inline constexpr char kRoleAny[] = "いずれか";
inline constexpr char kRoleDrafter[] = "製図者";
inline constexpr char kRoleChecker[] = "検図者";
inline constexpr char kRoleApprover[] = "承認者";
inline constexpr char kRoleIssuer[] = "出図者";
inline constexpr char kRoleReviser[] = "改訂者";

inline constexpr char kDateNone[] = "指定無し";
inline constexpr char kDateMade[] = "作成";
inline constexpr char kDateUpdated[] = "更新";
inline constexpr char kDateChecked[] = "検図";
inline constexpr char kDateApproved[] = "承認";
inline constexpr char kDateIssued[] = "出図";
inline constexpr char kDateRevised[] = "改訂";

inline constexpr char kStateAny[] = "指定無し";
inline constexpr char kStateUnchecked[] = "未検図";
inline constexpr char kStateCheckedNotApproved[] = "検図済・未承認";
inline constexpr char kStateApprovedNotIssued[] = "承認済・未出図";
inline constexpr char kStateIssued[] = "出図済";
inline constexpr char kStateRevised[] = "改訂あり";

inline constexpr char kFileAny[] = "指定無し";
inline constexpr char kFileMissing[] = "ファイルなし";
inline constexpr char kFileChangedAfterIssue[] = "出図後に変更";

// What the result grid says of a drawing's file.
inline constexpr char kFileStatePending[] = "未確認";
inline constexpr char kFileStatePresent[] = "あり";
inline constexpr char kFileStateMissing[] = "ファイルなし";
inline constexpr char kFileStateChanged[] = "出図後に変更";
inline constexpr char kFileStateNoAnswer[] = "確認できません";

// Result columns, column 0 first.
inline constexpr const char* kHeaders[] = {
    "プロジェクト番号", "プロジェクト名", "番号",     "名称",     "図番",     "表題",
    "ファイル名",       "パス名",         "検図日付", "承認日付", "出図日付", "改訂日付",
    "ファイル状態",
};

inline constexpr char kSearching[] = "図面を検索しています...";
inline constexpr char kCheckingFiles[] = "ファイルを確認しています...";
inline constexpr char kCancel[] = "中止";
inline constexpr char kCountSuffix[] = "件";
inline constexpr char kStopped[] = "（中止しました）";
inline constexpr char kSkippedOpen[] = "（表が無いか読めないプロジェクト ";
inline constexpr char kSkippedClose[] = " 件は除外）";
inline constexpr char kInvalidDate[] =
    "日付は yyyymmdd形式（例：20100101）で有効な内容を入力して下さい。";
inline constexpr char kNothingToWrite[] = "出力する検索結果がありません。";
inline constexpr char kNoPcUser[] =
    "PC利用者が登録されていません。「PC利用者名の登録」で登録して下さい。";

// k5x7-admin search
inline constexpr char kCommandSummary[] =
    "全プロジェクトの図面を検索し、結果をCSV（UTF-8）で出力します";
inline constexpr char kCommandUsage[] =
    "使い方: k5x7-admin search データベース [検索文字] [--state 状態] [--file-state 状態]\n"
    "         [--member 番号 [--role 役割]] [--projects all|open|done] [--project 番号]\n"
    "         [--date 日付の種類 --from yyyymmdd --to yyyymmdd]\n"
    "  --state       unchecked（未検図） checked（検図済・未承認） approved（承認済・未出図）\n"
    "                issued（出図済） revised（改訂あり）\n"
    "  --file-state  missing（ファイルなし） changed（出図後に変更）\n"
    "  --role        any drawn checked approved issued revised（既定 any）\n"
    "  --date        made updated checked approved issued revised\n"
    "データベースは seed と同じ形式（ローカルのパス、または host:パス）です。";
inline constexpr char kCannotOpen[] = "データベースに接続出来ません: ";
inline constexpr char kBadArgument[] = "引数が正しくありません: ";
inline constexpr char kTextNotCp932[] = "検索文字に Shift-JIS で表せない文字があります";

}  // namespace search::texts
