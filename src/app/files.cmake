set(DRAVIK_APP_SOURCES
  src/app/command_line.cpp
  src/app/decimal_text.cpp
  src/app/ini_file.cpp
  src/app/options_check.cpp
  src/app/report.cpp
  src/app/settings_file.cpp
)
