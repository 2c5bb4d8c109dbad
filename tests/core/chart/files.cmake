set(DRAVIK_CHART_TESTS
  core/chart/cursors_test.cpp
  core/chart/graph_grid_test.cpp
  core/chart/layout_test.cpp
  core/chart/scale_labels_test.cpp
  core/chart/scaling_test.cpp
  core/chart/trace_raster_test.cpp
)
