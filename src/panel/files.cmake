set(DRAVIK_PANEL_SOURCES
  src/panel/item_panel_layout.cpp
  src/panel/numeric_display.cpp
  src/panel/trip_list.cpp
  src/panel/trips_table.cpp
)
