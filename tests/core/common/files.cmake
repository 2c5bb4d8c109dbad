set(DRAVIK_COMMON_TESTS
  core/common/file_io_test.cpp
  core/common/number_format_test.cpp
  core/common/number_parsing_test.cpp
  core/common/path_test.cpp
  core/common/rounding_test.cpp
  core/common/settings_test.cpp
)
