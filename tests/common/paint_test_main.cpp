#include <gtest/gtest.h>

#include <unistd.h>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <clocale>
#include <cstdlib>
#include <ctime>

// Painting without widgets: fonts and images need a GUI application, offscreen.
int main(int argc, char** argv)
{
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();
    if (!std::getenv("TMPDIR") && access("/dev/shm", W_OK) == 0)
        setenv("TMPDIR", "/dev/shm", 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QLoggingCategory::setFilterRules("*.debug=false\n*.warning=false");
    QGuiApplication app(argc, argv);
    std::setlocale(LC_ALL, "C");
    QGuiApplication::setApplicationName("k5x7");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
