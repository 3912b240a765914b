#pragma once
// Every fixed text of the project detail window: captions, labels, the
// information page's run-time captions and lines, the list headers, and the
// texts of creating, renaming and deleting tree nodes.

namespace drawings::detail_texts {

inline constexpr char kCaption[] = "プロジェクト詳細";
inline constexpr char kTabSheet1[] = "情報表示(&I)";
inline constexpr char kTabSheet2[] = "一覧表示(&L)";
inline constexpr char kTabSheet3[] = "チャート表示(&C)";
inline constexpr char kButtonC[] = "閉じる(&X)";
inline constexpr char kButtonM1[] = "作成";
inline constexpr char kButtonM2[] = "編集";
inline constexpr char kButtonM3[] = "削除";
inline constexpr char kButtonM4[] = "ファイル追加登録(&A)";
inline constexpr char kButtonM5[] = "更新(&U)";
inline constexpr char kLabel2[] = "番号";
inline constexpr char kLabel1[] = "名称";
inline constexpr char kLabel6[] = "表題";
inline constexpr char kLabel7[] = "副題";
inline constexpr char kLabel8[] = "メモ";
inline constexpr char kLabel9[] = "製図者";
inline constexpr char kLabel10[] = "作成日付";
inline constexpr char kLabel11[] = "更新日付";
inline constexpr char kLabel12[] = "検図者";
inline constexpr char kLabel13[] = "検図日付";
inline constexpr char kLabel14[] = "承認者";
inline constexpr char kLabel15[] = "承認日付";
inline constexpr char kLabel16[] = "出図者";
inline constexpr char kLabel17[] = "出図日付";
inline constexpr char kLabel18[] = "改訂者";
inline constexpr char kLabel19[] = "改訂日付";
inline constexpr char kLabel20[] = "改訂履歴";
inline constexpr char kButton1[] = "参照";
inline constexpr char kButton2[] = "開く";
inline constexpr char kButton3[] = "取得";
inline constexpr char kButton4[] = "検図OK(&K)";
inline constexpr char kButton5[] = "承認OK(&A)";
inline constexpr char kButton6[] = "出図OK(&P)";
inline constexpr char kButton7[] = "改訂OK(&R)";
inline constexpr char kButton8[] = "編集";
inline constexpr char kButton9[] = "編集登録(&S)";
inline constexpr char kDrawingLabel3[] = "ファイル名";
inline constexpr char kDrawingLabel4[] = "パス名";
inline constexpr char kDrawingLabel5[] = "図番";
inline constexpr char kProjectLabel3[] = "予定期間";
inline constexpr char kProjectLabel4[] = "実施期間";
inline constexpr char kProjectLabel5[] = "納期";
inline constexpr char kNoMember[] = "0:指定無し";
inline constexpr char kPeriodJoin[] = " ～ ";
inline constexpr char kDeliveryDate[] = "／納品日付：";
inline constexpr char kStateSeparator[] = "／";
inline constexpr char kNotDone[] = "未";
inline constexpr char kDone[] = "済";

// Column headers of the drawing list, column 0 first.
inline constexpr const char* kListHeaders[] = {
    "番号",     "名称",     "ファイル名", "パス名",   "図番",     "表題",     "メモ１",
    "作成日付", "更新日付", "検図日付",   "承認日付", "出図日付", "改訂日付",
};

// Captions the name dialog is shown with.
inline constexpr char kCreateCaption[] = "名称ツリーの作成";
inline constexpr char kRenameCaption[] = "名称ツリーの編集";

// The refusal and the question of deleting a node, around its name and number.
inline constexpr char kNodeOpen[] = "名称「";
inline constexpr char kNodeNumber[] = "」(N:";
inline constexpr char kHasChildrenEnd[] = ")の下に名称がありますので削除できません。";
inline constexpr char kDeleteQuestionEnd[] = ")を削除します。よろしいですか？";
// Said when a node could not be stored.
inline constexpr char kCreateFailed[] = "名称ツリーが作成出来ませんでした";

// What each bar of the chart stands for, in its tooltip: the project's, in the
// order of storage::ProjectPeriod, and a drawing's, in the order of DrawingStage.
inline constexpr const char* kBarPeriods[] = {"予定", "実施", "納品"};
inline constexpr const char* kBarStages[] = {"作成～更新", "検図", "承認", "出図", "改訂"};

// Double-clicking a row of the drawing list: a node without a file, and a
// file that is gone.
inline constexpr char kListNoPathOrFile[] = "パス名・ファイル名が登録されていません。";
inline constexpr char kListFileMissing[] = "登録されたファイル名が存在しません。";

// Registering files: the progress box, and files that cannot be stored (their
// name has no CP932 form, or does not fit the columns), listed one a line after
// the first line with the reason behind each.
inline constexpr char kRegisterProgress[] = "ファイルを登録しています";
inline constexpr char kRegisterCancel[] = "中止";
inline constexpr char kRefusedFiles[] = "次のファイルは登録出来ませんでした。";
inline constexpr char kUnstorableName[] = "（ファイル名・パス名に使用できない文字があります）";
inline constexpr char kTooLongName[] = "（ファイル名・パス名が255バイトを超えています）";

}  // namespace drawings::detail_texts

namespace drawings::detail_texts {

// The drawing list and a revision history as they are printed or saved, and
// the tree's entries for the project's issue register and a branch's issue set.
inline constexpr char kListReportTitle[] = "図面一覧";
inline constexpr char kReportProjectLabel[] = "プロジェクト名：";
inline constexpr char kReportNodeLabel[] = "名称：";
inline constexpr char kReportNumberLabel[] = "図番：";
inline constexpr char kReportSeparator[] = "　";
inline constexpr char kIssueRegisterItem[] = "出図表...";
inline constexpr char kIssueSetItem[] = "出図セットPDF...";

}  // namespace drawings::detail_texts
