#pragma once
// What every screen is given: the one database, the shared values and the ports.

#include "storage/app_globals.h"
#include "storage/database.h"
#include "widgets/list_output.h"
#include "widgets/ui_ports.h"
#include "widgets/window_opener.h"

namespace widgets {

struct ScreenContext {
    storage::Database& db;
    storage::AppGlobals& globals;
    UiPorts& ports;
    WindowOpener* opener = nullptr;    // the main frame; null where nothing may be opened
    ListOutput* listOutput = nullptr;  // null: lists stay on screen
};

}  // namespace widgets
