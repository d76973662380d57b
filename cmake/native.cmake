# Native build: the platform-free code under AddressSanitizer and UBSan, its unit tests, and the
# simulated instrument.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(tessaly_core PRIVATE ${SANITIZE})
target_compile_options(tessaly_chart PRIVATE ${SANITIZE})
target_link_options(tessaly_chart PUBLIC ${SANITIZE})
target_link_options(tessaly_core PUBLIC ${SANITIZE})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_executable(unit_tests
    tests/unit/bootloader_path_test.cpp
    tests/unit/button_cases.cpp
    tests/unit/chart_csv_test.cpp
    tests/unit/chart_page_test.cpp
    tests/unit/chart_state_test.cpp
    tests/unit/cmd_instruments_test.cpp
    tests/unit/cmd_logging_test.cpp
    tests/unit/cmd_rules_test.cpp
    tests/unit/discovery_test.cpp
    tests/unit/fakes.cpp
    tests/unit/link_rules_test.cpp
    tests/unit/main_window_size_test.cpp
    tests/unit/panel_commands_test.cpp
    tests/unit/panel_tables_test.cpp
    tests/unit/resource_ids_test.cpp
    tests/unit/serial_settings_test.cpp
    tests/unit/transaction_test.cpp
    tests/unit/written_ids.cpp
)
target_compile_options(unit_tests PRIVATE ${OWN_WARNINGS} ${SANITIZE})
# The resource script and its headers, which the identifier tests read as written.
target_compile_definitions(unit_tests PRIVATE TESSALY_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
include(cmd/cmd.cmake)
target_compile_options(tessaly_cmd_rules PRIVATE ${SANITIZE})
target_link_libraries(unit_tests PRIVATE tessaly_cmd_rules tessaly_chart tessaly_core
                      GTest::gtest_main)
add_test(NAME unit_tests COMMAND unit_tests)

# The chart page from a CSV file, for the browser check (tests/browser/check_chart.sh).
add_executable(chart_page tests/browser/chart_page_main.cpp)
target_compile_options(chart_page PRIVATE ${OWN_WARNINGS} ${SANITIZE})
target_link_libraries(chart_page PRIVATE tessaly_chart)

# The chart benchmark (make bench), optimised and without the sanitizers, from its own objects.
add_executable(chart_bench bench/chart_bench.cpp ${CHART_SOURCES})
target_include_directories(chart_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(chart_bench PRIVATE ${OWN_WARNINGS} -O2)

# The simulator's platform-free parts, which its tests use too, and its POSIX loop and network.
set(SIM_LOGIC_SOURCES
    sim/control.cpp
    sim/discovery.cpp
    sim/faults.cpp
    sim/record.cpp
    sim/scpi.cpp
    sim/scpi_commands.cpp
    sim/scpi_syntax.cpp
)
add_executable(tessaly-sim ${SIM_LOGIC_SOURCES}
    sim/loop_posix.cpp
    sim/main.cpp
    sim/net_posix.cpp
)
# Optimized even in the Debug build: the simulator stands in for instruments that have processors
# of their own, yet the burn-in bench runs 32 of them on the cores of the program it measures, and
# every Wine test waits on its answers. Its logic is unit-tested unoptimized in tests/sim.
target_compile_options(tessaly-sim PRIVATE ${OWN_WARNINGS} -O2)
target_include_directories(tessaly-sim PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(tessaly-sim PRIVATE util)

add_subdirectory(tests/sim)

# The floors of docs/architecture.md: no include runs from a lower floor to a higher one; and the
# check itself catches one that does.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME layering COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/check_layers.py
                               ${CMAKE_SOURCE_DIR})
add_test(NAME layering_check_catches
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/unit/check_layers_test.py)
