#pragma once
// Every fixed text of the printed and saved lists and of the issue register:
// page heads, the register's columns and heading, the output dialog, and the
// messages of a file that could not be written.

namespace reports::texts {

// Page head and foot.
inline constexpr char kPrintedOn[] = "印刷日：";
inline constexpr char kPageOf[] = " / ";
inline constexpr char kReceiptStamp[] = "受領印";

// The issue register.
inline constexpr char kIssueRegisterTitle[] = "出図表";
// The register's first column; the others are the drawing's own captions.
inline constexpr char kNumberHeader[] = "No.";
inline constexpr char kProjectLabel[] = "プロジェクト名：";
inline constexpr char kClientLabel[] = "注文先：";
inline constexpr char kTitleLabel[] = "表題：";
inline constexpr char kRangeLabel[] = "出図日付：";
inline constexpr char kRangeJoin[] = "～";
inline constexpr char kNoRange[] = "指定無し";
inline constexpr char kNameJoin[] = "　";

// The issue set: the PDF's title, the cover's list of what was left out.
inline constexpr char kIssueSetTitle[] = "出図セット";
inline constexpr char kIssueSetLeftOut[] = "出図セットに含められなかった図面";
inline constexpr char kFileHeader[] = "ファイル";
inline constexpr char kReasonHeader[] = "理由";
inline constexpr char kNoFile[] = "ファイルが登録されていません";
inline constexpr char kNoAnswer[] = "ファイルの場所が応答しません";
inline constexpr char kNoSuchProject[] = "指定されたプロジェクトがありません。";
inline constexpr char kNoSuchNode[] = "指定された名称がツリーにありません。";
inline constexpr char kIssueSetCaption[] = "出図セットPDF に書き出し";
inline constexpr char kIssueSetProgress[] = "出図セットを作成しています...";
inline constexpr char kIssueSetWritten[] = "出図セットを書き出しました。図面 %1 件（%2 ページ）。";
inline constexpr char kIssueSetLeftOutCount[] =
    "含められなかった図面 %1 件は表紙の後に理由と共に記載しています。";

// The issue register's dialog.
inline constexpr char kIssueDialogCaption[] = "出図表";
inline constexpr char kFromLabel[] = "出図日付（開始）：";
inline constexpr char kToLabel[] = "出図日付（終了）：";
inline constexpr char kIncludeUnissued[] = "未出図の図面も含める";
inline constexpr char kPrintButton[] = "印刷(&P)...";
inline constexpr char kPdfButton[] = "PDF(&F)...";
inline constexpr char kCsvButton[] = "CSV(&V)...";
inline constexpr char kExcelButton[] = "Excel(&E)...";
inline constexpr char kCloseButton[] = "閉じる(&C)";
inline constexpr char kBadDate[] =
    "日付は yyyymmdd形式（例：20100101）で有効な内容を入力して下さい。";
inline constexpr char kRangeReversed[] = "開始日付が終了日付より後になっています。";

// The save dialog.
inline constexpr char kCsvCaption[] = "CSV に書き出し";
inline constexpr char kExcelCaption[] = "Excel に書き出し";
inline constexpr char kPdfCaption[] = "PDF に書き出し";
inline constexpr char kCsvCp932Filter[] = "CSV Shift-JIS (*.csv)";
inline constexpr char kCsvUtf8Filter[] = "CSV UTF-8 BOM付き (*.csv)";
inline constexpr char kExcelFilter[] = "Excel ブック (*.xlsx)";
inline constexpr char kPdfFilter[] = "PDF (*.pdf)";

// Progress.
inline constexpr char kWriting[] = "書き出しています...";
inline constexpr char kPrinting[] = "印刷しています...";
inline constexpr char kStop[] = "中止";

// Outcomes.
inline constexpr char kWritten[] = "書き出しました。";
inline constexpr char kCannotCreate[] =
    "ファイルを作成出来ません。フォルダが存在し書き込み出来るか確認して下さい。";
inline constexpr char kNameTooLong[] = "ファイル名が長すぎます（255バイトまで）。";
inline constexpr char kWriteFailed[] =
    "ファイルの書き込みに失敗しました。ディスクの空き容量を確認して下さい。";
inline constexpr char kCannotReplace[] =
    "ファイルを置き換え出来ません。他のプログラムで開いていないか確認して下さい。";
inline constexpr char kReadFailed[] = "データベースから読み出せませんでした。";
inline constexpr char kNoWorkbookHelper[] =
    "Excel ブックを作成するプログラム（k5x7-admin）を起動出来ません。"
    "インストールを確認して下さい。";
inline constexpr char kTooManyRows[] = "Excel の行数の上限（1,048,576行）を超えています。";
inline constexpr char kUnknownFormat[] =
    "出力ファイルの拡張子は .csv .xlsx .pdf のいずれかにして下さい。";
inline constexpr char kPrintFailed[] = "印刷出来ませんでした。";

}  // namespace reports::texts
