# What the Windows-side tests, the scripted session and the bench share: driving the real program
# by messages (gui_driver), talking to tessaly-sim's control channel (sim_control) and the
# simulated LAN hosts (lan_hosts). The View menu's items come from the panel registry.
add_library(test_support STATIC support/gui_driver.cpp support/sim_control.cpp
                                support/lan_hosts.cpp)
target_include_directories(test_support PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(test_support PRIVATE ${OWN_WARNINGS})
target_link_libraries(test_support PUBLIC tessaly_core ws2_32 user32 gdi32 advapi32 psapi)
