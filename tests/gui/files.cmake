include(gui/main_tests.cmake)
include(gui/aux_tests.cmake)
