find_package(Qt6 REQUIRED COMPONENTS Widgets)

# The windows and widgets: a thin layer that wires events to the core and draws.
include(src/gui_main_files.cmake)
include(src/gui_aux_files.cmake)

add_library(dravik_gui STATIC ${DRAVIK_GUI_MAIN_SOURCES} ${DRAVIK_GUI_AUX_SOURCES})
set_target_properties(dravik_gui PROPERTIES AUTOMOC ON)
target_link_libraries(dravik_gui PUBLIC dravik_core Qt6::Widgets)

add_executable(dravik src/app/main.cpp)
target_link_libraries(dravik PRIVATE dravik_gui)
