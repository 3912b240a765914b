#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <clocale>
#include <cstdlib>
#include <ctime>
#ifndef _WIN32
#include <unistd.h>
#endif

// Fixed surroundings so results never depend on the machine running the tests.
int main(int argc, char** argv)
{
#ifdef _WIN32
    _putenv_s("TZ", "JST-9");  // the C library's own form: no zone database
    _tzset();
#else
    setenv("TZ", "Asia/Tokyo", 1);
    // Every commit is flushed to disk; test databases on tmpfs keep the suite quick.
    if (!std::getenv("TMPDIR") && access("/dev/shm", W_OK) == 0)
        setenv("TMPDIR", "/dev/shm", 1);
    tzset();
#endif
    std::setlocale(LC_ALL, "C");
    QCoreApplication::setApplicationName("k5x7");
    QLoggingCategory::setFilterRules("*.debug=false\n*.warning=false");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
