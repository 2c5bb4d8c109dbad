find_package(Qt6 REQUIRED COMPONENTS Test)

# One Qt Test program per main-window class, run offscreen.
function(dravik_add_main_gui_test name)
  add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE dravik_gui Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()

dravik_add_main_gui_test(tst_main_window)
dravik_add_main_gui_test(tst_chart_image_view)
dravik_add_main_gui_test(tst_main_window_cursors)
dravik_add_main_gui_test(tst_main_window_commands)
dravik_add_main_gui_test(tst_load_progress_dialog)
