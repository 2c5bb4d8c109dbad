# The headless tool that prints the program's clipboard texts for a log.
add_executable(dravik-report src/app/report_main.cpp)
target_link_libraries(dravik-report PRIVATE dravik_core)
# With the Qt layer, --png draws the chart as the main window does.
if(DRAVIK_GUI)
  target_link_libraries(dravik-report PRIVATE dravik_gui)
  target_compile_definitions(dravik-report PRIVATE DRAVIK_REPORT_DRAWS_CHARTS)
endif()
