set(DRAVIK_LOG_TESTS
  core/log/fuel_trip_test.cpp
)
