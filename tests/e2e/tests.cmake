# Windows-side tests, run under Wine by tests/e2e/run.sh (which starts the virtual display, the
# simulated instrument and the private network first).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)

add_library(sim_control STATIC tests/e2e/sim_control.cpp)
target_include_directories(sim_control PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(sim_control PUBLIC ws2_32)

add_executable(e2e_link_tests tests/e2e/link_tests.cpp tests/e2e/link_test_platform.cpp)
target_compile_options(e2e_link_tests PRIVATE ${OWN_WARNINGS})
target_link_libraries(e2e_link_tests PRIVATE tessaly_links sim_control GTest::gtest_main)
target_link_options(e2e_link_tests PRIVATE ${STATIC_RUNTIME})
add_test(NAME e2e_links COMMAND e2e_link_tests)

include(${CMAKE_SOURCE_DIR}/tests/e2e/gui.cmake OPTIONAL)
