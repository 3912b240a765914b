#include <gtest/gtest.h>

#include <unistd.h>
#include <QFont>
#include <QLoggingCategory>
#include <clocale>
#include <cstdlib>
#include <ctime>

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
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();
    if (!std::getenv("TMPDIR") && access("/dev/shm", W_OK) == 0)
        setenv("TMPDIR", "/dev/shm", 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QLoggingCategory::setFilterRules("*.debug=false\n*.warning=false");
    TestApplication app(argc, argv);
    std::setlocale(LC_ALL, "C");
    TestApplication::setApplicationName("k5x7");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
