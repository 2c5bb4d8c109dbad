# Warning flags per compiler; DRAVIK_WERROR turns every warning into an error (CI builds so).
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wshadow -Wconversion -Wpedantic -Wold-style-cast)
  # Clang's -Wconversion also takes in -Wsign-conversion, which GCC leaves out for C++: both
  # compilers check the same conversions, those that may change a value.
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_compile_options(-Wno-sign-conversion)
  endif()
  if(DRAVIK_WERROR)
    add_compile_options(-Werror)
  endif()
elseif(MSVC)
  add_compile_options(/W4)
  if(DRAVIK_WERROR)
    add_compile_options(/WX)
  endif()
endif()
# GCC 12 reports impossible overlaps inside std::string concatenation at -O3 (its bug 105651).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()
