# Native build: the platform-free code under AddressSanitizer and UBSan, its unit tests, and the
# simulated instrument.
set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
target_compile_options(tessaly_core PRIVATE ${SANITIZE})
target_link_options(tessaly_core PUBLIC ${SANITIZE})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB UNIT_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_SOURCES})
target_compile_options(unit_tests PRIVATE ${OWN_WARNINGS} ${SANITIZE})
include(cmd/cmd.cmake)
target_compile_options(tessaly_cmd_rules PRIVATE ${SANITIZE})
target_link_libraries(unit_tests PRIVATE tessaly_cmd_rules tessaly_core GTest::gtest_main)
add_test(NAME unit_tests COMMAND unit_tests)

file(GLOB SIM_SOURCES CONFIGURE_DEPENDS sim/*.cpp)
add_executable(tessaly-sim ${SIM_SOURCES})
target_compile_options(tessaly-sim PRIVATE ${OWN_WARNINGS})
target_include_directories(tessaly-sim PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(tessaly-sim PRIVATE util)

add_subdirectory(tests/sim)
