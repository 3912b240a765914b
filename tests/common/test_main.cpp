#include <gtest/gtest.h>

#include <unistd.h>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <clocale>
#include <cstdlib>
#include <ctime>

// Fixed surroundings so results never depend on the machine running the tests.
int main(int argc, char** argv)
{
    setenv("TZ", "Asia/Tokyo", 1);
    // Every commit is flushed to disk; test databases on tmpfs keep the suite quick.
    if (!std::getenv("TMPDIR") && access("/dev/shm", W_OK) == 0)
        setenv("TMPDIR", "/dev/shm", 1);
    tzset();
    std::setlocale(LC_ALL, "C");
    QCoreApplication::setApplicationName("k5x7");
    QLoggingCategory::setFilterRules("*.debug=false\n*.warning=false");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
