#pragma once
// The OK button of the database settings dialog, without the dialog: checks the
// typed texts, puts them into the settings, creates the database where it does
// not exist yet and proves that it can be attached.

#include <QString>
#include <string>
#include <string_view>
#include "text/mbcs.h"

#include "storage/database.h"
#include "storage/settings.h"

namespace app {

inline constexpr char kFolderMissingMessage[] = "サーバーのデータのフォルダを入力して下さい";
inline constexpr char kNameMissingMessage[] = "データベース名を入力して下さい";
inline constexpr char kCreateOrConnectFailedMessage[] =
    "データベースが作成・接続出来ません。設定を確認して下さい。";
inline constexpr char kServerNeededMessage[] =
    "この PC ではデータベースを Firebird サーバーを通して開きます。データベース設定のサーバーに、"
    "この PC に Firebird を入れたときは「localhost:」を、事務所のサーバーを使うときはその IP "
    "アドレスと「:」（例 192.168.1.10:）を入力して下さい。";

// Whether the typed server can be used on this PC: an empty one means the PC's
// own engine, which only some platforms have (text::HasEmbeddedDatabaseEngine).
bool ServerFieldUsable(std::string_view server, bool embeddedEngine);

// The three edits as CP932 bytes, exactly as typed.
struct DatabaseSettingsInput {
    std::string server;
    std::string folder;
    std::string name;
};

struct DatabaseSettingsOutcome {
    QString message;  // empty: nothing to tell
    QString focus;    // objectName of the edit to focus; empty: none
    bool closeDialog = false;
};

using text::IsBlank;

// The typed name in upper case (ASCII letters only: two-byte characters stay
// as they are), with ".FDB" appended when it has no "." after its last path
// separator. "\", ":" and "/" all count as separators, on every platform.
std::string DatabaseFileName(std::string_view typed);

// The checks in order, then the settings (kept even when the database cannot
// be reached), CreateDatabase (fails harmlessly on an existing file, so an
// existing database is attached, not replaced), ConnectDatabase; the
// connection is closed again either way. A connection left open by the caller
// is closed first, so that success always means the new settings work.
DatabaseSettingsOutcome ApplyDatabaseSettings(const DatabaseSettingsInput& input,
                                              storage::Database& db, storage::Settings& settings);

}  // namespace app
