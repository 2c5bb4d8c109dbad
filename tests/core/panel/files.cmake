set(DRAVIK_PANEL_TESTS
  core/panel/checked_items_test.cpp
  core/panel/item_panel_layout_test.cpp
  core/panel/numeric_display_test.cpp
  core/panel/section_csv_test.cpp
  core/panel/trip_list_test.cpp
  core/panel/trips_table_test.cpp
)
