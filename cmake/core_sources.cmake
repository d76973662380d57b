# The platform-free sources, one list for the native, Windows and fuzz builds: every .cpp of app/,
# link/ and console/ that does not end in _win.cpp.
get_filename_component(TESSALY_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
file(GLOB CORE_SOURCES CONFIGURE_DEPENDS ${TESSALY_SOURCE_ROOT}/app/*.cpp
     ${TESSALY_SOURCE_ROOT}/link/*.cpp ${TESSALY_SOURCE_ROOT}/console/*.cpp)
list(FILTER CORE_SOURCES EXCLUDE REGEX "_win\\.cpp$")
