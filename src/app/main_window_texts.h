#pragma once
// Every fixed text of the main window.

namespace app::main_window_texts {

inline constexpr char kCaption[] = "図面管理";
inline constexpr char kFontFamily[] = "ＭＳ ゴシック";
inline constexpr int kFontPixels = 13;

inline constexpr char kMenuFile[] = "初期設定(&I)";
inline constexpr char kMenuDbSet[] = "データベース設定(&D)...";
inline constexpr char kMenuSection[] = "所属（SECTION）の登録(&S)";
inline constexpr char kMenuMember[] = "メンバー（MEMBER）の登録(&M)";
inline constexpr char kMenuCompany[] = "注文先（COMPANY）の登録(&C)";
inline constexpr char kMenuPcUser[] = "PC利用者名の登録(&P)";
inline constexpr char kMenuExit[] = "終了(&X)";
inline constexpr char kMenuProject[] = "プロジェクト(&P)";
inline constexpr char kMenuProjectNew[] = "新規作成(&M)";
inline constexpr char kMenuProjectEdit[] = "編集(&E)";
inline constexpr char kMenuProjectList[] = "一覧表示(&L)";
inline constexpr char kMenuProjectChart[] = "チャート表示(&C)";

// The menu every multiple-document window has; the open child windows follow
// its two commands.
inline constexpr char kMenuWindow[] = "ウィンドウ(&W)";
inline constexpr char kMenuCascade[] = "重ねて表示(&C)";
inline constexpr char kMenuTile[] = "並べて表示(&T)";

// Said before the main window when Firebird's client library cannot be loaded;
// the system's own reason follows it.
inline constexpr char kClientLibraryMissing[] =
    "データベースに接続するための Firebird クライアント（fbclient.dll）を読み込めません。\n"
    "図面管理をもう一度インストールするか、Firebird 3.0（64 ビット）の fbclient.dll を "
    "k5x7.exe と同じフォルダに置いて下さい。Firebird は https://firebirdsql.org/ から"
    "入手できます。";

inline constexpr char kProjectNewCaption[] = "プロジェクト新規作成";
inline constexpr char kProjectEditCaption[] = "プロジェクト編集";

}  // namespace app::main_window_texts
