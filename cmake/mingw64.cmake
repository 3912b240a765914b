# Cross-compiling for Windows x64 with Debian's mingw-w64 (posix threads, for std::jthread).
# The libraries come from the SDK that scripts/windows-sdk builds.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(K5X7_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${K5X7_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${K5X7_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${K5X7_TRIPLE}-windres)
set(CMAKE_AR /usr/bin/${K5X7_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB /usr/bin/${K5X7_TRIPLE}-ranlib CACHE FILEPATH "")

if(DEFINED ENV{K5X7_WIN_SDK})
    set(K5X7_WIN_SDK "$ENV{K5X7_WIN_SDK}")
else()
    set(K5X7_WIN_SDK "$ENV{HOME}/.cache/k5x7/win64")
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${K5X7_TRIPLE} ${K5X7_WIN_SDK}/prefix ${K5X7_WIN_SDK}/qt)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Qt's host tools (moc, uic, rcc) are Debian's own Qt 6 of the same version.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
