#include <gtest/gtest.h>

#include <QFont>
#include <QLoggingCategory>
#include <clocale>

#include "common/fixed_surroundings.h"
#include "text/platform.h"

// Real widgets without a display: the offscreen platform, fixed surroundings.
// Built with K5X7_PAINT_ONLY for tests that paint without widgets.
#ifdef K5X7_PAINT_ONLY
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QApplication>
using TestApplication = QApplication;
#endif

int main(int argc, char** argv)
{
    testing_support::FixSurroundings();
    if (const char* platform = text::WindowlessQtPlatform())
        qputenv("QT_QPA_PLATFORM", platform);
    QLoggingCategory::setFilterRules("*.debug=false\n*.warning=false");
    TestApplication app(argc, argv);
    std::setlocale(LC_ALL, "C");
    TestApplication::setApplicationName("k5x7");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
