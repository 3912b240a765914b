#pragma once
// For benchmarks that open screens: ports that never ask anything, and a
// scratch database with the globals and ports a screen is given.

#include <stdlib.h>

#include <QDate>
#include <QLoggingCategory>

#include "bench_support.h"
#include "storage/app_globals.h"
#include "widgets/screen_context.h"
#include "widgets/ui_ports.h"

namespace bench_support {

class SilentPorts : public widgets::UiPorts {
public:
    void Inform(QWidget*, const QString&) override {}
    bool AskYesNo(QWidget*, const QString&) override { return false; }
    QStringList ChooseFiles(QWidget*, const widgets::FileDialogRequest&) override { return {}; }
    bool OpenWithAssociatedProgram(const QString&) override { return false; }
    QDate Today() override { return QDate(2024, 4, 1); }
    bool EscapePressed() override { return false; }
    void ResetEscape() override {}
};

struct ScreenFixture : ScratchDatabase {
    storage::AppGlobals globals;
    SilentPorts ports;

    widgets::ScreenContext Context() { return {db, globals, ports}; }
};

// Before the QApplication: no display, and no Qt chatter between the rows of
// the benchmark table.
inline void QuietOffscreen()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QLoggingCategory::setFilterRules("*.debug=false\n*.warning=false");
}

}  // namespace bench_support
