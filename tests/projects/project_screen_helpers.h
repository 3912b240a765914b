#pragma once

#include <QLineEdit>
#include <QString>
#include <vector>

#include "common/gui_helpers.h"
#include "storage/app_globals.h"
#include "widgets/window_opener.h"

namespace testing_support {

// The text of the line edit named `name`.
inline QString LineText(QWidget* w, const char* name)
{
    return Find<QLineEdit>(w, name)->text();
}

// Records what a screen asked to open, with the shared values at that moment.
class RecordingOpener : public widgets::WindowOpener {
public:
    struct Call {
        const char* what;
        int mode;
        int number;
    };
    explicit RecordingOpener(storage::AppGlobals& g) : globals(g) {}
    void OpenProjectEditor() override
    {
        calls.push_back({"editor", globals.ProjectEditMode, globals.CurrentProjectNo});
    }
    void OpenProjectDetail() override
    {
        calls.push_back({"detail", globals.ProjectEditMode, globals.CurrentProjectNo});
    }
    storage::AppGlobals& globals;
    std::vector<Call> calls;
};

}  // namespace testing_support
