#pragma once
// Process-wide values every window shares: the settings, the executable's
// folder, and which project the next editor or detail window opens.

#include <string>

#include "storage/settings.h"

namespace storage {

struct AppGlobals {
    Settings settings;
    std::string ExeFolder;     // with a trailing separator; not stored
    int ProjectEditMode = 0;   // 0 create, 1 edit
    int CurrentProjectNo = 0;  // ZPROJECT.N to open
    int CurrentNodeNo = 0;     // the node a detail window opens on; 0 its project node
};

}  // namespace storage
