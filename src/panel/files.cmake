set(DRAVIK_PANEL_SOURCES
  src/panel/checked_items.cpp
  src/panel/item_panel_layout.cpp
  src/panel/numeric_display.cpp
  src/panel/section_csv.cpp
  src/panel/trip_list.cpp
  src/panel/trips_table.cpp
)
