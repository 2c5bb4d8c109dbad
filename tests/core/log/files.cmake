set(DRAVIK_LOG_TESTS
  core/log/csv_reader_test.cpp
  core/log/fuel_items_test.cpp
  core/log/fuel_trip_test.cpp
  core/log/hostile_input_test.cpp
  core/log/text_decoding_test.cpp
)
