#pragma once
// The PC user dialog without the dialog: whether it may open, the members it
// offers as numbered items ("N:PNAME"), which item names the current PC user,
// and what OK puts into the settings.

#include <QString>
#include <string>
#include <vector>
#include "text/record_messages.h"

#include "storage/database.h"
#include "storage/settings.h"

namespace app {

inline constexpr const char* kSetUpDatabaseFirstMessage =
    text::record_messages::kSetUpDatabaseFirst;
inline constexpr const char* kCannotConnectMessage = text::record_messages::kCannotConnect;
inline constexpr char kRegisterMembersFirstMessage[] = "最初にメンバーの登録を行って下さい";
inline constexpr char kChoosePcUserMessage[] = "PC利用者名を指定して下さい";

struct PcUserOutcome {
    QString message;  // empty: nothing to tell
    bool closeDialog = false;
};

// Run when the dialog is shown: a message and closeDialog when it cannot be used.
PcUserOutcome CheckPcUserDialogCanOpen(const storage::Settings& settings,
                                       const storage::Database& db);

// One CP932 item per MEMBER row in the order of N; none when there is no MEMBER table.
std::vector<std::string> LoadMemberItems(storage::Database& db);

// The index of the first item whose number is pcUserNo, or -1.
int FindPcUserItem(const std::vector<std::string>& items, int pcUserNo);

// OK with the item at `selected` (-1: none); on success the settings name that member.
PcUserOutcome ApplyPcUser(const std::vector<std::string>& items, int selected,
                          storage::Settings& settings);

}  // namespace app
