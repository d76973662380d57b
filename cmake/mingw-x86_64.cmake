# x86_64 Windows build of the same sources: a test vehicle only, never shipped. It runs the
# Windows-side tests under 64-bit Wine on machines whose kernel cannot run 32-bit executables.
# The same -win32 MinGW-w64 compilers as the shipped i686 build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Each test program runs through wine_test.sh, which keeps Wine's services off CTest's pipe.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/wine_test.sh /usr/lib/wine/wine64)
# x64 Windows starts at 5.02 (Server 2003 / XP x64); the subsystem check applies to i686 only.
set(TESSALY_XP_SUBSYSTEM 5.02)
