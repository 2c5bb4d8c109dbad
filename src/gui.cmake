find_package(Qt6 REQUIRED COMPONENTS Widgets)

# The windows and widgets: a thin layer that wires events to the core and draws.
include(src/gui_main_files.cmake)
include(src/gui_aux_files.cmake)
