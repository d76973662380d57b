# The chart page's platform-free sources, one list for the native, Windows, fuzz and bench builds.
get_filename_component(TESSALY_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(CHART_SOURCES
    chart/chart_csv.cpp
    chart/chart_page.cpp
    chart/chart_state.cpp
    chart/chart_svg.cpp
    chart/chart_text.cpp
)
list(TRANSFORM CHART_SOURCES PREPEND ${TESSALY_SOURCE_ROOT}/)
