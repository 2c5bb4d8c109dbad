set(DRAVIK_APP_SOURCES
  src/app/settings.cpp
)
