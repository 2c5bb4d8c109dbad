set(DRAVIK_PANEL_TESTS
  core/panel/item_panel_layout_test.cpp
)
