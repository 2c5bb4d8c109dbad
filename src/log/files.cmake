set(DRAVIK_LOG_SOURCES
  src/log/csv_reader.cpp
  src/log/fuel_trip.cpp
  src/log/load_error.cpp
  src/log/log_file.cpp
  src/log/log_table.cpp
  src/log/text_decoding.cpp
)
