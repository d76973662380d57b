# Windows-side tests, run under Wine (the build's CROSSCOMPILING_EMULATOR) by tests/e2e/run.sh,
# which starts the virtual display, the simulated instrument and the private network first.
include(${CMAKE_SOURCE_DIR}/support/support.cmake)

# The window system as the link tests see it.
set(LINK_TEST_PLATFORM tests/e2e/link_test_platform.cpp)

# windows_test(TARGET SOURCES... LIBRARIES libs...): a GoogleTest program of the Windows side.
function(windows_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${target} PRIVATE ${OWN_WARNINGS})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} test_support GTest::gtest_main)
  target_link_options(${target} PRIVATE ${STATIC_RUNTIME})
endfunction()

# The programs as the tests start them, by their Wine path.
string(REPLACE "/" "\\" build_dir_windows "Z:${CMAKE_BINARY_DIR}")
set(PROGRAM_ENV "TESSALY_PROGRAM=${build_dir_windows}\\Tessaly.exe")
set(PROGRAM_XP_ENV "TESSALY_PROGRAM=${build_dir_windows}\\Tessaly-xp.exe")
set(NETNS bash ${CMAKE_SOURCE_DIR}/scripts/netns.sh)

windows_test(e2e_link_tests SOURCES tests/e2e/link_tests.cpp ${LINK_TEST_PLATFORM}
             tests/e2e/import_hook.cpp
             LIBRARIES tessaly_links)
add_test(NAME e2e_links COMMAND e2e_link_tests --gtest_filter=-LinkResolverTest.*)
# A host name that resolves to ::1 first, where nothing listens, and then to the simulator.
add_test(NAME e2e_links_resolver
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/with_stock_hosts.sh
                 ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:e2e_link_tests>
                 --gtest_filter=LinkResolverTest.*
                 "--gtest_output=xml:${build_dir_windows}\\results\\e2e_links_resolver.xml")

# Discovery runs against simulated instruments that are hosts of their own, in network namespaces
# joined by a bridge, inside the test run's private namespace.
windows_test(e2e_discovery_tests SOURCES tests/e2e/discovery_tests.cpp
             ${LINK_TEST_PLATFORM} LIBRARIES tessaly_links)
add_test(NAME e2e_discovery
         COMMAND ${NETNS} with-hosts ${CMAKE_CROSSCOMPILING_EMULATOR}
                 $<TARGET_FILE:e2e_discovery_tests> --gtest_filter=-DiscoveryWithoutRoute.*)
add_test(NAME e2e_discovery_noroute
         COMMAND ${NETNS} without-route ${CMAKE_CROSSCOMPILING_EMULATOR}
                 $<TARGET_FILE:e2e_discovery_tests> --gtest_filter=DiscoveryWithoutRoute.*)
set_tests_properties(e2e_discovery e2e_discovery_noroute PROPERTIES RESOURCE_LOCK tessaly_lan)

# The real programs driven from a test process like an operator would drive them, and compared
# with what tessaly-sim received. Tessaly-xp.exe runs the main scenarios: a TCP and a serial link
# with a query each, a discovery, File > Bootloader starting its own tool, and About.
windows_test(e2e_gui_tests
             SOURCES tests/e2e/gui_commands_test.cpp
                     tests/e2e/gui_dialog_test.cpp
                     tests/e2e/gui_fixture.cpp
                     tests/e2e/gui_layout_test.cpp
                     tests/e2e/gui_output_box_test.cpp
                     tests/e2e/gui_shell_test.cpp
             LIBRARIES tessaly_core)
add_dependencies(e2e_gui_tests Tessaly Tessaly-xp boot_loader_win7 boot_loader_xp)
add_test(NAME e2e_gui COMMAND e2e_gui_tests)
add_test(NAME e2e_gui_xp
         COMMAND e2e_gui_tests
                 "--gtest_filter=*SerialLinkOnComport12*:*EthernetOpenIgnoresASecondOpen*:ShellTest.*:ProgramWithoutToolTest.*"
                 "--gtest_output=xml:${build_dir_windows}\\results\\e2e_gui_xp.xml")
set_tests_properties(e2e_gui PROPERTIES TIMEOUT 1200 ENVIRONMENT "${PROGRAM_ENV}")
# The window at larger text sizes (96 DPI runs in e2e_gui).
foreach(dpi 144 192)
  add_test(NAME e2e_gui_dpi${dpi}
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/with_dpi.sh ${dpi}
                   $<TARGET_FILE:e2e_gui_tests> "--gtest_filter=*EveryControlLiesInsideTheClientArea"
                   "--gtest_output=xml:${build_dir_windows}\\results\\e2e_gui_dpi${dpi}.xml")
  set_tests_properties(e2e_gui_dpi${dpi} PROPERTIES TIMEOUT 300 ENVIRONMENT "${PROGRAM_ENV}")
endforeach()
set_tests_properties(e2e_gui_xp PROPERTIES TIMEOUT 600 ENVIRONMENT "${PROGRAM_XP_ENV}")

# The scripted session of `make run` without a display (scripts/run_session.sh).
add_executable(run_session tests/e2e/run_session.cpp)
target_compile_options(run_session PRIVATE ${OWN_WARNINGS})
target_link_libraries(run_session PRIVATE tessaly_core test_support)
target_link_options(run_session PRIVATE ${STATIC_RUNTIME})

# The long session: random buttons on every panel against tessaly-sim with random faults.
# "ctest -R e2e_soak" runs the short session of make test; TESSALY_SOAK_COMMANDS=10000 the soak
# (about half an hour).
windows_test(e2e_soak_tests SOURCES tests/e2e/soak_test.cpp tests/e2e/gui_fixture.cpp
             LIBRARIES tessaly_core)
add_dependencies(e2e_soak_tests Tessaly)
add_test(NAME e2e_soak COMMAND e2e_soak_tests)
set_tests_properties(e2e_soak PROPERTIES TIMEOUT 10800 ENVIRONMENT "${PROGRAM_ENV}")

# LAN discovery on a hostile network: the discovery code in this process and the real program,
# against the simulated hosts of scripts/netns.sh and a responder thread of the test itself.
windows_test(e2e_discovery_hostile_tests
             SOURCES tests/e2e/discovery_hostile_test.cpp ${LINK_TEST_PLATFORM}
                     tests/e2e/gui_fixture.cpp
             LIBRARIES tessaly_links)
add_dependencies(e2e_discovery_hostile_tests Tessaly)
add_test(NAME e2e_discovery_hostile
         COMMAND ${NETNS} with-hosts ${CMAKE_CROSSCOMPILING_EMULATOR}
                 $<TARGET_FILE:e2e_discovery_hostile_tests>)
set_tests_properties(e2e_discovery_hostile PROPERTIES RESOURCE_LOCK tessaly_lan TIMEOUT 600
                                                      ENVIRONMENT "${PROGRAM_ENV}")

# tessaly-cmd run as a script runs it, with the button cases of the unit tests; its discovery
# against the simulated LAN hosts.
windows_test(e2e_cmd_tests SOURCES tests/e2e/cmd_test.cpp tests/e2e/cmd_runner.cpp
                                   tests/e2e/cmd_burnin_test.cpp tests/unit/button_cases.cpp
             LIBRARIES tessaly_cmd_rules)
add_dependencies(e2e_cmd_tests tessaly-cmd)
add_test(NAME e2e_cmd COMMAND e2e_cmd_tests --gtest_filter=-CmdDiscovery.*)
add_test(NAME e2e_cmd_discovery
         COMMAND ${NETNS} with-hosts ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:e2e_cmd_tests>
                 --gtest_filter=CmdDiscovery.*
                 "--gtest_output=xml:${build_dir_windows}\\results\\e2e_cmd_discovery.xml")
set_tests_properties(e2e_cmd e2e_cmd_discovery PROPERTIES
                     ENVIRONMENT "TESSALY_CMD=${build_dir_windows}\\tessaly-cmd.exe")
# The CSV of e2e_cmd's logging run, read back by Python's csv module.
set_property(TEST e2e_cmd APPEND PROPERTY ENVIRONMENT
             "TESSALY_CMD_LOG=${build_dir_windows}\\results\\cmd_logging")
set_tests_properties(e2e_cmd PROPERTIES FIXTURES_SETUP cmd_logging)
add_test(NAME e2e_cmd_csv COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/e2e/read_csv.py
                                  ${CMAKE_BINARY_DIR}/results/cmd_logging)
set_tests_properties(e2e_cmd_csv PROPERTIES FIXTURES_REQUIRED cmd_logging)
set_tests_properties(e2e_cmd_discovery PROPERTIES RESOURCE_LOCK tessaly_lan)

# The chart page's writer: a page replaced whole, failures that leave nothing behind.
windows_test(e2e_chart_file_tests SOURCES tests/e2e/chart_file_test.cpp chart/chart_file_win.cpp)
add_test(NAME e2e_chart_file COMMAND e2e_chart_file_tests)

include(${CMAKE_SOURCE_DIR}/bench/bench.cmake)
