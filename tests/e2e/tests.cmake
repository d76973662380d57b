# Windows-side tests, run under Wine by tests/e2e/run.sh (which starts the virtual display, the
# simulated instrument and the private network first).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)

add_library(sim_control STATIC tests/e2e/sim_control.cpp tests/e2e/lan_hosts.cpp)
target_include_directories(sim_control PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(sim_control PUBLIC ws2_32)

add_executable(e2e_link_tests tests/e2e/link_tests.cpp tests/e2e/link_test_platform.cpp)
target_compile_options(e2e_link_tests PRIVATE ${OWN_WARNINGS})
target_link_libraries(e2e_link_tests PRIVATE tessaly_links sim_control GTest::gtest_main)
target_link_options(e2e_link_tests PRIVATE ${STATIC_RUNTIME})
add_test(NAME e2e_links COMMAND e2e_link_tests)

# Discovery runs against simulated instruments that are hosts of their own, in network namespaces
# joined by a bridge, inside the test run's private namespace.
add_executable(e2e_discovery_tests tests/e2e/discovery_tests.cpp tests/e2e/link_test_platform.cpp)
target_compile_options(e2e_discovery_tests PRIVATE ${OWN_WARNINGS})
target_link_libraries(e2e_discovery_tests PRIVATE tessaly_links sim_control user32 GTest::gtest_main)
target_link_options(e2e_discovery_tests PRIVATE ${STATIC_RUNTIME})
add_test(NAME e2e_discovery
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/netns.sh with-hosts ${CMAKE_CROSSCOMPILING_EMULATOR}
                 $<TARGET_FILE:e2e_discovery_tests> --gtest_filter=-DiscoveryWithoutRoute.*)
add_test(NAME e2e_discovery_noroute
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/netns.sh without-route ${CMAKE_CROSSCOMPILING_EMULATOR}
                 $<TARGET_FILE:e2e_discovery_tests> --gtest_filter=DiscoveryWithoutRoute.*)
set_tests_properties(e2e_discovery e2e_discovery_noroute PROPERTIES RESOURCE_LOCK tessaly_lan)

include(${CMAKE_SOURCE_DIR}/tests/e2e/gui.cmake OPTIONAL)

# The scripted session of `make run` without a display (scripts/run_session.sh).
add_executable(run_session tests/e2e/run_session.cpp tests/e2e/gui_driver.cpp)
target_compile_options(run_session PRIVATE ${OWN_WARNINGS})
target_link_libraries(run_session PRIVATE tessaly_core user32 gdi32)
target_link_options(run_session PRIVATE ${STATIC_RUNTIME})

include(${CMAKE_SOURCE_DIR}/tests/e2e/soak.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/tests/e2e/hostile_lan.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/bench/bench.cmake OPTIONAL)
