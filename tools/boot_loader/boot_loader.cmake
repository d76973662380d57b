# The stand-in bootloader tool: built under the deliverable's tool name (TESSALY_BOOT_TOOL) into the
# "Boot Loader" folder beside the program, where File > Bootloader starts it. Included by
# cmake/windows.cmake in both Windows builds; user32 and the static runtime only.
string(REGEX REPLACE "\\.exe$" "" TESSALY_BOOT_TOOL_BASE "${TESSALY_BOOT_TOOL}")
add_executable(boot_loader WIN32 ${CMAKE_CURRENT_LIST_DIR}/boot_loader_win.cpp)
set_target_properties(boot_loader PROPERTIES
  OUTPUT_NAME "${TESSALY_BOOT_TOOL_BASE}"
  RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/Boot Loader")
target_compile_options(boot_loader PRIVATE ${OWN_WARNINGS})
target_link_libraries(boot_loader PRIVATE user32)
target_link_options(boot_loader PRIVATE ${STATIC_RUNTIME} -mwindows
                    -Wl,--subsystem,windows:${TESSALY_WINDOWS_VERSION})
