#pragma once
// The fixed texts of previews: what a thumbnail says when it cannot show a
// file, and the viewer window's captions.

namespace preview::texts {

inline constexpr char kLoading[] = "読み込み中…";
inline constexpr char kCannotShow[] = "このファイルは表示できません";
inline constexpr char kMissing[] = "ファイルが見つかりません";
inline constexpr char kNotRegular[] = "通常のファイルではないため開きません";
inline constexpr char kUnreadable[] = "ファイルを読めません";
inline constexpr char kDamaged[] = "ファイルが壊れているため表示できません";
inline constexpr char kPartial[] = "壊れた箇所より前だけを表示しています";
inline constexpr char kLocked[] = "パスワードで保護されたPDFです";
inline constexpr char kTooLarge[] = "大きすぎるため表示できません";
inline constexpr char kBytes[] = " バイト";
inline constexpr char kOldFormat[] = "旧形式";

inline constexpr char kViewerCaption[] = "プレビュー - ";
inline constexpr char kFit[] = "全体表示(&F)";
inline constexpr char kPrint[] = "印刷(&P)...";
inline constexpr char kClose[] = "閉じる(&X)";
inline constexpr char kLayerGroups[] = "レイヤグループ:";
inline constexpr char kScale[] = "縮尺 1/%1";
inline constexpr char kLayerGroupTip[] = "レイヤグループ %1 %2 の表示を切り替えます";

// Printing and saving as PDF at scale.
inline constexpr char kSavePdf[] = "PDF保存(&S)...";
inline constexpr char kPaperLabel[] = "用紙:";
inline constexpr char kAtScale[] = "%1 原寸（1:1）";
inline constexpr char kFitted[] = "%1 に縮小（%2%）";
inline constexpr char kSavePdfCaption[] = "PDF に保存";
inline constexpr char kPdfFilter[] = "PDF (*.pdf)";
inline constexpr char kSaved[] = "保存しました: ";
inline constexpr char kSaveFailed[] = "PDF を保存出来ませんでした: ";
inline constexpr char kNothingDrawn[] = "描く要素がありません";
inline constexpr char kNotPrintable[] = "印刷出来る形式ではありません";

}  // namespace preview::texts
