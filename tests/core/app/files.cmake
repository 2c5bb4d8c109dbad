set(DRAVIK_APP_TESTS
  core/app/command_line_test.cpp
  core/app/decimal_text_test.cpp
  core/app/ini_file_test.cpp
  core/app/options_check_test.cpp
  core/app/report_test.cpp
  core/app/settings_file_test.cpp
)
