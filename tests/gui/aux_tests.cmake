find_package(Qt6 REQUIRED COMPONENTS Test)

# One Qt Test program per secondary window, run offscreen.
function(dravik_add_aux_gui_test name)
  add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE dravik_gui Qt6::Test)
  target_compile_definitions(${name} PRIVATE
    DRAVIK_HELP_SOURCE_DIR="${PROJECT_SOURCE_DIR}/docs/help")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()

dravik_add_aux_gui_test(tst_help_window)
dravik_add_aux_gui_test(tst_wheel_filter)
dravik_add_aux_gui_test(tst_options_dialog)
dravik_add_aux_gui_test(tst_max_view_window)
dravik_add_aux_gui_test(tst_main_window_wiring)
