# Windows builds: the program, statically linked against the compiler's runtime, importing system
# DLLs only; in the x86_64 build also the Windows-side tests that run under Wine.
add_compile_definitions(_WIN32_WINNT=${TESSALY_WINNT} WINVER=${TESSALY_WINNT} NOMINMAX
                        WIN32_LEAN_AND_MEAN)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

# The link code, which the link tests use without the windows of the program.
set(LINK_WIN_SOURCES link/serial_win.cpp link/tcp_win.cpp)
foreach(f link/discovery_win.cpp)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${f})
    list(APPEND LINK_WIN_SOURCES ${f})
  endif()
endforeach()
add_library(tessaly_links STATIC ${LINK_WIN_SOURCES})
target_link_libraries(tessaly_links PUBLIC tessaly_core ws2_32)
# The transaction in tessaly_core calls the links back: a cycle that CMake resolves for static
# libraries by repeating them on the link line.
target_link_libraries(tessaly_core INTERFACE tessaly_links)
target_compile_options(tessaly_links PRIVATE ${OWN_WARNINGS})

# The program's own windows: every other _win.cpp.
file(GLOB UI_WIN_SOURCES CONFIGURE_DEPENDS app/*_win.cpp link/*_win.cpp console/*_win.cpp)
foreach(f ${LINK_WIN_SOURCES})
  list(REMOVE_ITEM UI_WIN_SOURCES ${CMAKE_SOURCE_DIR}/${f})
endforeach()

if(EXISTS ${CMAKE_SOURCE_DIR}/app/win_main_win.cpp)
  set(RESOURCES)
  if(EXISTS ${CMAKE_SOURCE_DIR}/res/tessaly.rc)
    set(RESOURCES res/tessaly.rc)
  endif()
  add_executable(program WIN32 ${UI_WIN_SOURCES} ${RESOURCES})
  set_target_properties(program PROPERTIES OUTPUT_NAME ${TESSALY_PROGRAM_NAME})
  target_compile_definitions(program PRIVATE "BOOT_TOOL_NAME=\"${TESSALY_BOOT_TOOL}\"")
  target_compile_options(program PRIVATE ${OWN_WARNINGS})
  target_link_libraries(program PRIVATE tessaly_links comctl32 shell32 gdi32 user32)
  target_link_options(program PRIVATE ${STATIC_RUNTIME}
                      -Wl,--subsystem,windows:${TESSALY_WINDOWS_VERSION}
                      -Wl,--major-os-version,5 -Wl,--minor-os-version,1)
endif()

include(${CMAKE_SOURCE_DIR}/tools/boot_loader/boot_loader.cmake)

if(NOT TESSALY_NO_TESTS)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(${CMAKE_SOURCE_DIR}/tests/e2e/tests.cmake OPTIONAL)
endif()
