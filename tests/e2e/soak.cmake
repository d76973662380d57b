# The long-session test of the real program (tests/e2e/soak_test.cpp): random buttons on every
# panel against tessaly-sim with random faults. Needs the environment of tests/e2e/run.sh.
# "ctest -R e2e_soak" runs the short session of make test; TESSALY_SOAK_COMMANDS=10000 the soak.
add_executable(e2e_soak_tests tests/e2e/soak_test.cpp tests/e2e/gui_driver.cpp
                              tests/e2e/gui_fixture.cpp)
target_include_directories(e2e_soak_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(e2e_soak_tests PRIVATE ${OWN_WARNINGS})
target_link_libraries(e2e_soak_tests PRIVATE tessaly_core sim_control GTest::gtest_main user32
                                             gdi32 advapi32 psapi ws2_32)
target_link_options(e2e_soak_tests PRIVATE ${STATIC_RUNTIME})
if(TARGET program)
  add_dependencies(e2e_soak_tests program)
endif()
add_test(NAME e2e_soak COMMAND e2e_soak_tests)
# The short session takes a minute or two; 10,000 commands take about half an hour.
set_tests_properties(e2e_soak PROPERTIES TIMEOUT 10800)
