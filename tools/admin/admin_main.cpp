#include <QCoreApplication>
#include <QGuiApplication>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "text/platform.h"
#include "tools/admin/admin_commands.h"
#include "tools/admin/admin_texts.h"

int main(int argc, char** argv)
{
    text::PinLocalTimeZone();
    std::vector<std::string> args(argv + 1, argv + argc);
    const admin::Command* command = args.empty() ? nullptr : admin::FindCommand(args[0]);
    if (const std::string problem = text::DatabaseClientLoadError(); command && !problem.empty()) {
        std::cerr << admin::texts::kClientLibraryMissing << problem << '\n';
        return 2;
    }

    // Subcommands that draw need fonts and painting, never a window: without
    // a display they draw offscreen.
    std::unique_ptr<QCoreApplication> application;
    if (command && command->draws) {
        const char* windowless = text::WindowlessQtPlatform();
        if (windowless && qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", windowless);
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    application->setApplicationName("k5x7-admin");
    return admin::RunAdmin(args, std::cout, std::cerr);
}
