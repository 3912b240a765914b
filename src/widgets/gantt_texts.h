#pragma once
// Every fixed text of the Gantt chart view.

namespace widgets::gantt_texts {

inline constexpr char kDateJoin[] = "～";
inline constexpr char kKindJoin[] = "：";

inline constexpr char kMenuZoomIn[] = "拡大(&I)";
inline constexpr char kMenuZoomOut[] = "縮小(&O)";
inline constexpr char kMenuFitAll[] = "全体表示(&A)";
inline constexpr char kMenuSaveImage[] = "画像として保存(&S)...";
inline constexpr char kMenuSavePdf[] = "PDFとして保存(&D)...";
inline constexpr char kMenuPrint[] = "印刷(&P)...";

inline constexpr char kSaveImageTitle[] = "チャートを画像として保存";
inline constexpr char kSavePdfTitle[] = "チャートをPDFとして保存";
inline constexpr char kImageFilters[] = "PNG 画像 (*.png);;SVG 画像 (*.svg)";
inline constexpr char kPdfFilters[] = "PDF (*.pdf)";

// Followed by a line break and the file's path.
inline constexpr char kImageNotSaved[] = "チャートの画像を保存できませんでした。";
inline constexpr char kPdfNotSaved[] = "チャートのPDFを保存できませんでした。";
inline constexpr char kNotPrinted[] = "チャートを印刷できませんでした。";

}  // namespace widgets::gantt_texts
