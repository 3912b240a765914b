#pragma once
// The fixed texts of k5x7-admin report.

namespace admin::report_texts {

inline constexpr char kSummary[] =
    "一覧・出図表を CSV、Excel、PDF に、出図セットを PDF に書き出します";
inline constexpr char kUsage[] =
    "使い方: k5x7-admin report データベース 種類 [--project 番号] [--node 番号]\n"
    "                          [--from yyyymmdd] [--to yyyymmdd] [--include-unissued]\n"
    "                          [--encoding cp932|utf8] [--printed yyyymmdd] --out ファイル\n"
    "  種類  projects, drawings, issue-register, issue-set, sections, members, companies\n"
    "  --project N         drawings、issue-register、issue-set のプロジェクト番号\n"
    "  --node M            issue-set にする枝の名称番号（既定はプロジェクト全体）\n"
    "  --from, --to        issue-register の出図日付の範囲\n"
    "  --include-unissued  issue-register に未出図の図面も含める\n"
    "  --encoding          CSV の文字コード（既定 cp932、utf8 は BOM 付き）\n"
    "  --printed           PDF の印刷日（既定は今日）\n"
    "  --out FILE          出力ファイル。形式は拡張子 .csv .xlsx .pdf で決まります\n";
inline constexpr char kPrefix[] = "k5x7-admin report: ";
inline constexpr char kUnknownKind[] = "不明な種類です: ";
inline constexpr char kUnknownOption[] = "不明なオプションです: ";
inline constexpr char kNeedsValue[] = "値がありません: ";
inline constexpr char kNeedsArguments[] = "データベース、種類、--out を指定して下さい";
inline constexpr char kNeedsProject[] =
    "この種類には --project で正のプロジェクト番号を指定して下さい";
inline constexpr char kBadEncoding[] = "--encoding は cp932 か utf8 です";
inline constexpr char kBadPrinted[] = "--printed は yyyymmdd の日付です";
inline constexpr char kCannotConnect[] = "データベースに接続出来ません: ";
inline constexpr char kNoProject[] = "プロジェクトがありません: ";
inline constexpr char kStopped[] = "中止しました";
inline constexpr char kIssueSetNeedsPdf[] = "issue-set の出力は .pdf です";
inline constexpr char kBadNode[] = "--node は 0 以上の名称番号です";
inline constexpr char kLeftOut[] = "含められなかった図面: ";

}  // namespace admin::report_texts
