# Windows builds: the two programs from one set of objects, statically linked against the
# compiler's runtime and importing system DLLs only, the stand-in bootloader tools, the
# Windows-side tests and the bench. The i686 build is the one shipped; the x86_64 build of the
# same files only carries the tests to machines that cannot run 32-bit programs.
# Everything is compiled for Windows XP's API, so that nothing newer is called by accident.
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 NOMINMAX WIN32_LEAN_AND_MEAN)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

# The link code (serial port, TCP, discovery), which the link tests use without the windows of the
# program. An object library: its objects go whole into each program that links it, so the link
# operations that tessaly_core's transaction and link rules call are always there, without
# tessaly_core depending back on it.
add_library(tessaly_links OBJECT
    link/discovery_win.cpp
    link/serial_win.cpp
    link/tcp_win.cpp
)
target_link_libraries(tessaly_links PUBLIC tessaly_core ws2_32)
target_compile_options(tessaly_links PRIVATE ${OWN_WARNINGS})

# The program's own windows and its resources, compiled once for both programs. The bootloader
# tool's name (app/boot_tool_name_win.cpp) is the one file compiled per program.
add_library(program_objects OBJECT
    app/about_dialog_win.cpp
    app/bootloader_start_win.cpp
    app/config_dialog_win.cpp
    app/main_window_create_win.cpp
    app/main_window_paint_win.cpp
    app/main_window_win.cpp
    app/modeless_dialog_win.cpp
    app/platform_win.cpp
    app/win_main_win.cpp
    panels/panel_builder_win.cpp
    res/tessaly.rc
)
target_include_directories(program_objects PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(program_objects PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${OWN_WARNINGS}>)

# What every shipped program carries, set here rather than left to the toolchain's defaults: a
# relocatable image that Windows loads at a random address (ASLR; high-entropy addresses exist for
# 64-bit images only), data pages that cannot run (DEP), terminal-server awareness, and no symbol
# table or debug sections (stripped).
set(SHIPPED_LINK_OPTIONS -s -Wl,--dynamicbase,--nxcompat,--tsaware)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  list(APPEND SHIPPED_LINK_OPTIONS -Wl,--high-entropy-va)
endif()

# tessaly_program(NAME TOOL SUBSYSTEM): one program from the shared objects, with the version
# resource naming its own file.
function(tessaly_program name tool subsystem)
  add_executable(${name} WIN32 app/boot_tool_name_win.cpp res/version.rc
                             $<TARGET_OBJECTS:program_objects>)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE "BOOT_TOOL_NAME=\"${tool}\""
                                             $<$<COMPILE_LANGUAGE:RC>:PROGRAM_FILE_NAME=${name}.exe>)
  target_compile_options(${name} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${OWN_WARNINGS}>)
  target_link_libraries(${name} PRIVATE tessaly_links shell32 gdi32 user32 ole32)
  target_link_options(${name} PRIVATE ${STATIC_RUNTIME} ${SHIPPED_LINK_OPTIONS}
                      -Wl,--subsystem,windows:${subsystem} -Wl,--major-os-version,5
                      -Wl,--minor-os-version,1)
endfunction()
set(TOOL_WIN7 "Varnock Boot Loader_Win7.exe")
set(TOOL_XP "Varnock Boot Loader_WinXP.exe")
tessaly_program(Tessaly "${TOOL_WIN7}" 6.0)
tessaly_program(Tessaly-xp "${TOOL_XP}" ${TESSALY_XP_SUBSYSTEM})

include(${CMAKE_SOURCE_DIR}/cmd/cmd.cmake)
include(${CMAKE_SOURCE_DIR}/tools/boot_loader/boot_loader.cmake)

# GoogleTest on the -win32 runtime, which has no std::condition_variable: a small port header
# gives it the one primitive it needs from Win32.
include_directories(BEFORE ${CMAKE_SOURCE_DIR}/tests/e2e/gtest_port)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(${CMAKE_SOURCE_DIR}/tests/e2e/tests.cmake)
