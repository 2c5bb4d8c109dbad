set(DRAVIK_COMMON_SOURCES
  src/common/file_io.cpp
  src/common/number_format.cpp
  src/common/parallel.cpp
  src/common/path.cpp
  src/common/rounding.cpp
  src/common/settings.cpp
)
