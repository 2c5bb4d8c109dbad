set(DRAVIK_COMMON_SOURCES
  src/common/file_io.cpp
  src/common/number_format.cpp
  src/common/number_parsing.cpp
  src/common/parallel.cpp
  src/common/path.cpp
  src/common/rounding.cpp
  src/common/settings.cpp
)
# The Qt layer's files of this folder, built into dravik_gui.
set(DRAVIK_COMMON_GUI_SOURCES
  src/common/file_dialog.cpp
  src/common/file_dialog.h
)
