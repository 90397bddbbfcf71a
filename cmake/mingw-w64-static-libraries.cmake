# Read by CMake after its Windows platform module (see mingw-w64-x86_64.cmake):
# find_library takes static archives only, never the import libraries of DLLs.
set(CMAKE_FIND_LIBRARY_PREFIXES lib)
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
