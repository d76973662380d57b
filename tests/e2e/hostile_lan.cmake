# LAN discovery on a hostile network (tests/e2e/discovery_hostile_test.cpp): the discovery code
# in this process and the real program, against the simulated hosts of tests/e2e/netns.sh and a
# responder thread of the test itself. Needs the environment of tests/e2e/run.sh.
add_executable(e2e_discovery_hostile_tests tests/e2e/discovery_hostile_test.cpp
                                           tests/e2e/link_test_platform.cpp
                                           tests/e2e/gui_driver.cpp tests/e2e/gui_fixture.cpp)
target_include_directories(e2e_discovery_hostile_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(e2e_discovery_hostile_tests PRIVATE ${OWN_WARNINGS})
target_link_libraries(e2e_discovery_hostile_tests PRIVATE tessaly_links sim_control
                                                          GTest::gtest_main user32 gdi32 advapi32)
target_link_options(e2e_discovery_hostile_tests PRIVATE ${STATIC_RUNTIME})
if(TARGET program)
  add_dependencies(e2e_discovery_hostile_tests program)
endif()
add_test(NAME e2e_discovery_hostile
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/netns.sh with-hosts ${CMAKE_CROSSCOMPILING_EMULATOR}
                 $<TARGET_FILE:e2e_discovery_hostile_tests>)
set_tests_properties(e2e_discovery_hostile PROPERTIES RESOURCE_LOCK tessaly_lan TIMEOUT 600)
