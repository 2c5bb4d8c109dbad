find_package(Qt6 REQUIRED COMPONENTS Widgets)

# The windows and widgets: a thin layer that wires events to the core and draws. Each folder's
# files.cmake lists its Qt files beside its core files.
add_library(dravik_gui STATIC ${DRAVIK_COMMON_GUI_SOURCES} ${DRAVIK_LOG_GUI_SOURCES}
                              ${DRAVIK_CHART_GUI_SOURCES} ${DRAVIK_PANEL_GUI_SOURCES}
                              ${DRAVIK_APP_GUI_SOURCES})
set_target_properties(dravik_gui PROPERTIES AUTOMOC ON)
target_link_libraries(dravik_gui PUBLIC dravik_core Qt6::Widgets)

add_executable(dravik src/app/main.cpp)
target_link_libraries(dravik PRIVATE dravik_gui)
target_compile_definitions(dravik PRIVATE DRAVIK_APP_ID="${DRAVIK_APP_ID}")
# The window icon: the theme icons, built into the program.
set(dravik_icon_files)
foreach(size 16 32 48 64 128 256)
  list(APPEND dravik_icon_files packaging/icons/hicolor/${size}x${size}/apps/dravik.png)
endforeach()
qt_add_resources(dravik dravik_icons PREFIX /icons BASE packaging/icons FILES ${dravik_icon_files})
