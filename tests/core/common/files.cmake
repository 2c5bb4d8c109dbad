set(DRAVIK_COMMON_TESTS
  core/common/number_format_test.cpp
)
