#pragma once
// The messages of the drawing information page's buttons, and the file
// dialog's filter list, which file registration shares.

namespace drawings::drawing_info_texts {

inline constexpr char kNoPathOrFile[] = "パス名・ファイル名が入力されていません。";
inline constexpr char kFileMissing[] = "指定したファイル名が存在しません。";
inline constexpr char kBadDate[] =
    "日付は yyyymmdd形式（例：20100101）で有効な内容を入力して下さい。";
inline constexpr char kNoQuotes[] = "引用符「'」「\"」を入力しないで下さい";
inline constexpr char kSaved[] = "図面情報データを編集登録しました";
inline constexpr char kSaveFailed[] = "図面情報データが編集登録出来ませんでした";

struct FileFilter {
    const char* description;
    const char* patterns;  // separated by ";"
};

// The first entry is selected when the dialog opens.
inline constexpr FileFilter kFileFilters[] = {
    {"Jw_cad 図面ファイル", "*.jww;*.jwc"},
    {"Jw_cad 図形ファイル", "*.jws;*.jwk"},
    {"Jw_cad BAKファイル", "*.BAK;*.BK?"},
    {"Jw_cad 自動保存ファイル", "*.JW$"},
    {"Jw_cad 環境設定ファイル", "*.jwf;*.jwl"},
    {"テキストファイル", "*.txt;*.dat;*.csv"},
    {"Word/Excel ファイル", "*.doc;*.xl*;*.ppt"},
    {"PDF ファイル", "*.pdf"},
    {"画像ファイル", "*.bmp;*.ico;*.png;*.jp*;*.gif;*.tif?;*.fpx;*.pcx;*.raw"},
    {"ベクタファイル", "*.wmf;*.emf;*.svg;*.dxf;*.dwg;*.sxf;*.sfc;*.p21;*.igs;*.iges;*.stp;*.step"},
    {"全てのファイル", "*.*"},
};

}  // namespace drawings::drawing_info_texts
