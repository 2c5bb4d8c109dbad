find_package(Qt6 REQUIRED COMPONENTS Widgets LinguistTools)

# The windows and widgets: a thin layer that wires events to the core and draws. Each folder's
# files.cmake lists its Qt files beside its core files.
add_library(dravik_gui STATIC ${DRAVIK_COMMON_GUI_SOURCES} ${DRAVIK_LOG_GUI_SOURCES}
                              ${DRAVIK_CHART_GUI_SOURCES} ${DRAVIK_PANEL_GUI_SOURCES}
                              ${DRAVIK_APP_GUI_SOURCES})
set_target_properties(dravik_gui PROPERTIES AUTOMOC ON)
target_link_libraries(dravik_gui PUBLIC dravik_core Qt6::Widgets)

# The English texts. Japanese is the source language: translations/dravik_en.ts holds the English
# of every text lupdate finds, tr() in the Qt layer and CoreText::Tr() in the core.
# `scripts/check_translations.py --update` brings the file up to date with the sources; the same
# script, run as a test, fails while a text has no English.
qt_add_lrelease(dravik_gui TS_FILES translations/dravik_en.ts QM_FILES_OUTPUT_VARIABLE dravik_qm_files)
qt_add_resources(dravik_gui dravik_translations PREFIX /i18n BASE ${CMAKE_CURRENT_BINARY_DIR}
                 FILES ${dravik_qm_files})

add_executable(dravik src/app/main.cpp)
target_link_libraries(dravik PRIVATE dravik_gui)
target_compile_definitions(dravik PRIVATE DRAVIK_APP_ID="${DRAVIK_APP_ID}")
# The window icon: the theme icons, built into the program.
set(dravik_icon_files)
foreach(size 16 32 48 64 128 256)
  list(APPEND dravik_icon_files packaging/icons/hicolor/${size}x${size}/apps/dravik.png)
endforeach()
qt_add_resources(dravik dravik_icons PREFIX /icons BASE packaging/icons FILES ${dravik_icon_files})

# The help pages go beside the built programs, where HelpWindow looks for them ("help" next to
# the executable); an installed program finds them under share/dravik/help.
# Every page is written in both languages, the English one under "en".
set(dravik_help_pages index open chart numeric analysis formulas fuel options settings report
    errors)
list(TRANSFORM dravik_help_pages APPEND .html OUTPUT_VARIABLE dravik_help_html)
list(TRANSFORM dravik_help_html PREPEND docs/help/ OUTPUT_VARIABLE dravik_help_ja)
list(TRANSFORM dravik_help_html PREPEND docs/help/en/ OUTPUT_VARIABLE dravik_help_en)
set(DRAVIK_HELP_FILES
  ${dravik_help_ja}
  docs/help/help.css
  ${dravik_help_en}
  docs/images/analysis_window.png
  docs/images/reference_log.png
  docs/images/en/analysis_window.png
  docs/images/en/reference_log.png
)
set(dravik_help_outputs)
foreach(help_file IN LISTS DRAVIK_HELP_FILES)
  # The English pages and pictures keep their folder "en"; everything else lies flat in "help".
  string(REGEX REPLACE "^docs/(help|images)/" "" help_name ${help_file})
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/help/${help_name}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/${help_file}
            ${CMAKE_BINARY_DIR}/help/${help_name}
    DEPENDS ${PROJECT_SOURCE_DIR}/${help_file}
    VERBATIM)
  list(APPEND dravik_help_outputs ${CMAKE_BINARY_DIR}/help/${help_name})
endforeach()
add_custom_target(dravik_help ALL DEPENDS ${dravik_help_outputs})
