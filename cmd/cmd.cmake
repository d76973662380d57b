# tessaly-cmd: the console program for scripts. Its decisions (tessaly_cmd_rules) are built in
# every configuration, so that the native unit tests check them; the program itself, with its
# console side of the platform seam, in the Windows builds, from the same link, table and
# transaction objects as the window programs.
add_library(tessaly_cmd_rules STATIC cmd/cmd_args.cpp cmd/cmd_chart.cpp cmd/cmd_instruments.cpp
                                     cmd/cmd_logging.cpp
                                     cmd/cmd_rules.cpp)
target_link_libraries(tessaly_cmd_rules PUBLIC tessaly_core tessaly_chart)
target_compile_options(tessaly_cmd_rules PRIVATE ${OWN_WARNINGS})

if(WIN32)
  # A console program for Windows XP and later (subsystem 5.01; 5.02 is the least for x86_64).
  # Shipped like the window programs: stripped, ASLR, DEP, terminal-server aware, and the same
  # version resource naming its own file.
  # chart/chart_file_win.cpp writes the chart page whole.
  add_executable(tessaly-cmd cmd/cmd_main_win.cpp cmd/cmd_output_win.cpp cmd/cmd_platform_win.cpp
                           cmd/cmd_run_win.cpp cmd/cmd_worker_win.cpp cmd/cmd_chart_win.cpp
                           chart/chart_file_win.cpp res/version.rc)
  target_include_directories(tessaly-cmd PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(tessaly-cmd
                             PRIVATE $<$<COMPILE_LANGUAGE:RC>:PROGRAM_FILE_NAME=tessaly-cmd.exe>)
  target_compile_options(tessaly-cmd PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${OWN_WARNINGS}>)
  target_link_libraries(tessaly-cmd PRIVATE tessaly_cmd_rules tessaly_links)
  target_link_options(tessaly-cmd PRIVATE ${STATIC_RUNTIME} ${SHIPPED_LINK_OPTIONS}
                      -Wl,--subsystem,console:${TESSALY_XP_SUBSYSTEM} -Wl,--major-os-version,5
                      -Wl,--minor-os-version,1)
endif()
