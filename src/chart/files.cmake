set(DRAVIK_CHART_SOURCES
  src/chart/scaling.cpp
)
