# The stand-in bootloader tool, under both programs' tool names, in the "Boot Loader" folder beside
# the programs in the build folder, where File > Bootloader starts it in the tests and in
# `make run`. It is never shipped: the zips of `make dist` leave the folder for the maker's tool.
function(stand_in_boot_loader target tool)
  string(REGEX REPLACE "\\.exe$" "" base "${tool}")
  add_executable(${target} WIN32 ${CMAKE_SOURCE_DIR}/tools/boot_loader/boot_loader_win.cpp)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME "${base}"
                                             RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/Boot Loader")
  target_compile_options(${target} PRIVATE ${OWN_WARNINGS})
  target_link_libraries(${target} PRIVATE user32)
  target_link_options(${target} PRIVATE ${STATIC_RUNTIME} -Wl,--subsystem,windows:${TESSALY_XP_SUBSYSTEM})
endfunction()
stand_in_boot_loader(boot_loader_win7 "${TOOL_WIN7}")
stand_in_boot_loader(boot_loader_xp "${TOOL_XP}")
