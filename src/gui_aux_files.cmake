set(DRAVIK_GUI_AUX_SOURCES
  src/app/drop_filter.cpp
  src/app/drop_filter.h
  src/app/fuel_items_dialog.cpp
  src/app/fuel_items_dialog.h
  src/app/help_window.cpp
  src/app/help_window.h
  src/app/options_dialog.cpp
  src/app/options_dialog.h
  src/app/wheel_filter.cpp
  src/app/wheel_filter.h
  src/common/file_dialog.cpp
  src/common/file_dialog.h
  src/panel/max_view_window.cpp
  src/panel/max_view_window.h
)

# The help pages go beside the built programs, where HelpWindow looks for them ("help" next to
# the executable); an installed program finds them under share/dravik/help.
set(DRAVIK_HELP_FILES
  docs/help/index.html
  docs/help/open.html
  docs/help/chart.html
  docs/help/numeric.html
  docs/help/fuel.html
  docs/help/options.html
  docs/help/settings.html
  docs/help/report.html
  docs/help/errors.html
  docs/help/help.css
)
set(dravik_help_outputs)
foreach(help_file IN LISTS DRAVIK_HELP_FILES)
  get_filename_component(help_name ${help_file} NAME)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/help/${help_name}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/${help_file}
            ${CMAKE_BINARY_DIR}/help/${help_name}
    DEPENDS ${PROJECT_SOURCE_DIR}/${help_file}
    VERBATIM)
  list(APPEND dravik_help_outputs ${CMAKE_BINARY_DIR}/help/${help_name})
endforeach()
add_custom_target(dravik_help ALL DEPENDS ${dravik_help_outputs})
