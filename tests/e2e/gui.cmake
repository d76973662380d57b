# The real program driven from a test process under Wine, like an operator would drive it, and
# compared with what tessaly-sim received. Needs the environment of tests/e2e/run.sh.
file(GLOB GUI_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/gui_*.cpp)
add_executable(e2e_gui_tests ${GUI_TEST_SOURCES})
target_include_directories(e2e_gui_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(e2e_gui_tests PRIVATE ${OWN_WARNINGS})
target_link_libraries(e2e_gui_tests PRIVATE tessaly_core sim_control GTest::gtest_main user32 gdi32 advapi32
                                            ws2_32)
target_link_options(e2e_gui_tests PRIVATE ${STATIC_RUNTIME})
if(TARGET program)
  add_dependencies(e2e_gui_tests program)
endif()
add_test(NAME e2e_gui COMMAND e2e_gui_tests)
set_tests_properties(e2e_gui PROPERTIES TIMEOUT 1200)
