# The platform-free sources, one list for the native, Windows and fuzz builds, one file a line:
# the state record, the link rules and discovery parsing, the panel registry and tables, the
# dispatcher and the command transaction. They reach the links and the window system only through
# core/platform.h and link/link.h, whose implementations each program links.
get_filename_component(TESSALY_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(CORE_SOURCES
    core/app_state.cpp
    app/bootloader_path.cpp
    app/main_window_size.cpp
    panels/dispatch_table.cpp
    panels/panel_command.cpp
    panels/panel_communication.cpp
    panels/panel_dispatch.cpp
    panels/panel_manufacturer.cpp
    panels/panel_registry.cpp
    panels/panel_status.cpp
    panels/panel_styles.cpp
    panels/panel_trigger.cpp
    panels/transaction.cpp
    link/discovery.cpp
    link/link_rules.cpp
    link/port_loss.cpp
    link/port_names.cpp
    link/serial_settings.cpp
)
list(TRANSFORM CORE_SOURCES PREPEND ${TESSALY_SOURCE_ROOT}/)
