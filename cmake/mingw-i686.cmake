# i686 Windows build: the two shipped programs (Tessaly.exe and Tessaly-xp.exe), their tests and
# the bench. The -win32 MinGW-w64 compilers: the -posix runtime imports GetTickCount64, which
# Windows XP lacks. Run under 32-bit Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Each test program runs through wine_test.sh, which keeps Wine's services off CTest's pipe.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/wine_test.sh /usr/lib/wine/wine)
# Windows XP is 5.01 for i686.
set(TESSALY_XP_SUBSYSTEM 5.01)
