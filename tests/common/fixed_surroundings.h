#pragma once
// Fixed surroundings so results never depend on the machine running the tests.

#include <cstdlib>
#include <ctime>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace testing_support {

inline void FixSurroundings()
{
#ifdef _WIN32
    _putenv_s("TZ", "JST-9");  // the C library's own form: it has no zone database
    _tzset();
#else
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();
    // Every commit is flushed to disk; test databases on tmpfs keep the suite quick.
    if (!std::getenv("TMPDIR") && access("/dev/shm", W_OK) == 0)
        setenv("TMPDIR", "/dev/shm", 1);
#endif
}

}  // namespace testing_support
