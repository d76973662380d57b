# The benchmark: bench.exe drives Tessaly.exe under Wine against tessaly-sim, and against
# bench_bare.exe, the program's main window and controls without the program, built with the same
# compiler, runtime, resources and compile and link options as Tessaly.exe. Run it with
# scripts/bench.sh, which sets up the display, the simulator and the simulated LAN responders.
add_executable(bench_bare WIN32 ${CMAKE_CURRENT_LIST_DIR}/bare_window_win.cpp
                          app/main_window_create_win.cpp app/main_window_paint_win.cpp
                          panels/panel_builder_win.cpp
                          res/tessaly.rc)
target_include_directories(bench_bare PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(bench_bare PRIVATE ${OWN_WARNINGS})
# The program's own main window, steps box and panel builder code, over the state record and the
# panel tables; nothing of the program's logic is referenced, so nothing more is linked in.
target_link_libraries(bench_bare PRIVATE tessaly_core shell32 gdi32 user32)
# Tessaly.exe's own link options (static runtime, subsystem and OS versions), taken from it.
get_target_property(TESSALY_LINK_OPTIONS Tessaly LINK_OPTIONS)
target_link_options(bench_bare PRIVATE ${TESSALY_LINK_OPTIONS})

add_executable(bench ${CMAKE_CURRENT_LIST_DIR}/bench_win.cpp)
target_compile_options(bench PRIVATE ${OWN_WARNINGS})
target_link_libraries(bench PRIVATE tessaly_core test_support)
target_link_options(bench PRIVATE ${STATIC_RUNTIME})
add_dependencies(bench bench_bare Tessaly)
