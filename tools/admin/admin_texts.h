#pragma once
// The fixed texts of k5x7-admin itself; each subcommand keeps its own.

namespace admin::texts {

inline constexpr char kProgram[] = "k5x7-admin";
inline constexpr char kUsage[] = "使い方: k5x7-admin サブコマンド [引数...]";
inline constexpr char kCommandsHeading[] = "サブコマンド:";
inline constexpr char kHelpHint[] = "各サブコマンドの説明: k5x7-admin サブコマンド --help";
inline constexpr char kUnknownCommand[] = "不明なサブコマンドです: ";
inline constexpr char kClientLibraryMissing[] =
    "Firebird クライアント（fbclient.dll）を読み込めません。k5x7-admin.exe と同じフォルダに "
    "Firebird 3.0（64 ビット）の fbclient.dll を置いて下さい: ";
inline constexpr char kSeedSummary[] = "デモ・ベンチマーク用のデータをデータベースに作成します";
inline constexpr char kBackupSummary[] =
    "データベースをバックアップし、復元して確かめ、古いものを整理します";
inline constexpr char kRestoreSummary[] = "バックアップファイルからデータベースを復元します";
inline constexpr char kCheckSummary[] = "データベースを読むだけで検査し、問題を一覧にします";

// Shared by the subcommands' argument checks.
inline constexpr char kNeedsValue[] = " には値が必要です";
inline constexpr char kUnknownOption[] = "不明なオプションです: ";
inline constexpr char kWrongArgumentCount[] = "引数の数が違います";

inline constexpr char kPreviewSummary[] =
    "図面ファイルのプレビュー画像(PNG)か、原寸の印刷と同じPDFを作成します";
inline constexpr char kPreviewUsage[] =
    "使い方: k5x7-admin preview ファイル 出力.png [--size 幅x高さ]\n"
    "        k5x7-admin preview ファイル 出力.pdf [--fit A4|A3|A2|A1]\n"
    "  Jw_cad・DXF・PDF・画像・テキストのファイルを、情報表示の縮小画像と同じに描きます。\n"
    "  出力が .pdf のときは、ビューアの印刷と同じく図面の用紙に原寸で描きます。\n"
    "  --size 幅x高さ  16～4096 ピクセル (既定 256x181)\n"
    "  --fit 用紙      図面の用紙より小さいときだけ、その用紙に縮小します\n"
    "  出力に - を指定すると PNG を標準出力へ書きます。";
inline constexpr char kPreviewBadPaper[] = "--fit は A4・A3・A2・A1 のいずれかで指定してください";
inline constexpr char kPreviewNotPrintable[] = "PDF にできません: ";
inline constexpr char kPreviewBadSize[] = "--size は 幅x高さ (16～4096) で指定してください";
inline constexpr char kPreviewCannotWrite[] = "書き込めません: ";

inline constexpr char kXlsxSummary[] =
    "標準入力の一覧表を Excel ブックに書き出します（本体が内部で使います）";
inline constexpr char kXlsxUsage[] =
    "使い方: k5x7-admin xlsx 出力.xlsx [--scratch フォルダ]\n"
    "  本体から渡された一覧表を標準入力から読み、Excel ブックに書き出します。\n"
    "  書き出した最後の行の番号を標準出力へ、失敗の理由を標準エラー出力へ書きます。\n"
    "  --scratch フォルダ  作業ファイルを置くフォルダ";

}  // namespace admin::texts
