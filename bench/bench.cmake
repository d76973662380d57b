# The benchmark: bench.exe drives Tessaly.exe under Wine against
# tessaly-sim and a minimal window program built with the same toolchain and options. Run it with
# scripts/bench.sh, which sets up the display, the simulator and the simulated LAN responders.
add_executable(bench_minimal_window WIN32 ${CMAKE_CURRENT_LIST_DIR}/minimal_window_win.cpp)
target_compile_options(bench_minimal_window PRIVATE ${OWN_WARNINGS})
target_link_libraries(bench_minimal_window PRIVATE user32 gdi32)
target_link_options(bench_minimal_window PRIVATE ${STATIC_RUNTIME}
                    -Wl,--subsystem,windows:${TESSALY_XP_SUBSYSTEM})

add_executable(bench ${CMAKE_CURRENT_LIST_DIR}/bench_win.cpp)
target_compile_options(bench PRIVATE ${OWN_WARNINGS})
target_link_libraries(bench PRIVATE test_support)
target_link_options(bench PRIVATE ${STATIC_RUNTIME})
add_dependencies(bench bench_minimal_window)
add_dependencies(bench Tessaly)
