set(DRAVIK_PANEL_SOURCES
  src/panel/numeric_display.cpp
  src/panel/trip_list.cpp
)
