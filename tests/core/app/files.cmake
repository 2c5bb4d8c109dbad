set(DRAVIK_APP_TESTS
  core/app/settings_file_test.cpp
)
