# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix thread model)
# and runs the programs it builds through Wine:
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DTAVRICK_WINDOWS_DEPS_PREFIX=$(scripts/windows/build-deps.sh)
#
# The third-party libraries (SDL2, SDL2_mixer, libpng, libjpeg, lzo, googletest)
# come from the static prefix scripts/windows/build-deps.sh builds. Its path is
# taken from, in order: the cache variable TAVRICK_WINDOWS_DEPS_PREFIX, the
# environment variable of the same name, or the `current` link the deps script
# keeps in its cache folder (TAVRICK_WINDOWS_DEPS, by default
# ~/.cache/tavrick/windows-deps).

set(CMAKE_SYSTEM_NAME Windows)
# libjpeg-turbo picks its SIMD code from the processor name.
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The -posix compilers: the win32 thread model has no std::thread or std::mutex.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(TAVRICK_MINGW_SYSROOT /usr/x86_64-w64-mingw32)

if(NOT TAVRICK_WINDOWS_DEPS_PREFIX)
  if(DEFINED ENV{TAVRICK_WINDOWS_DEPS_PREFIX} AND NOT "$ENV{TAVRICK_WINDOWS_DEPS_PREFIX}" STREQUAL "")
    set(_tavrick_deps "$ENV{TAVRICK_WINDOWS_DEPS_PREFIX}")
  else()
    if(DEFINED ENV{TAVRICK_WINDOWS_DEPS} AND NOT "$ENV{TAVRICK_WINDOWS_DEPS}" STREQUAL "")
      set(_tavrick_cache "$ENV{TAVRICK_WINDOWS_DEPS}")
    elseif(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
      set(_tavrick_cache "$ENV{XDG_CACHE_HOME}/tavrick/windows-deps")
    else()
      set(_tavrick_cache "$ENV{HOME}/.cache/tavrick/windows-deps")
    endif()
    set(_tavrick_deps "${_tavrick_cache}/current")
  endif()
  if(NOT EXISTS "${_tavrick_deps}/.complete")
    message(FATAL_ERROR
      "The Windows libraries are not built at ${_tavrick_deps}.\n"
      "Run scripts/windows/build-deps.sh and pass the folder it prints as "
      "-DTAVRICK_WINDOWS_DEPS_PREFIX=<folder> (or in the environment variable of that name).")
  endif()
  file(REAL_PATH "${_tavrick_deps}" _tavrick_deps)
  set(TAVRICK_WINDOWS_DEPS_PREFIX "${_tavrick_deps}" CACHE PATH
      "Prefix of the static Windows libraries built by scripts/windows/build-deps.sh")
endif()
# try_compile projects read this file again but not the cache: hand them the prefix.
set(ENV{TAVRICK_WINDOWS_DEPS_PREFIX} "${TAVRICK_WINDOWS_DEPS_PREFIX}")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TAVRICK_WINDOWS_DEPS_PREFIX)

# The compiler's own runtime (libstdc++, libgcc, winpthread) linked in, so a
# program or DLL imports system DLLs only and runs without companions beside it.
# Without it Wine ends a test program at once with status 53 (a DLL not found).
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)

# Headers, libraries and package files come only from the mingw sysroot and the
# deps prefix, never from the host's /usr; programs (pkg-config, nasm) from the host.
set(CMAKE_FIND_ROOT_PATH "${TAVRICK_MINGW_SYSROOT}" "${TAVRICK_WINDOWS_DEPS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static archives only, so a program imports nothing but system DLLs. The
# Windows platform module, loaded after this file, puts the import libraries
# (.dll.a) first again (the sysroot has libz.dll.a beside libz.a); the rules
# override is read after it and has the last word.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(CMAKE_USER_MAKE_RULES_OVERRIDE "${CMAKE_CURRENT_LIST_DIR}/mingw-w64-static-libraries.cmake")

# pkg-config reads only the Windows .pc files: the host's would hand out Linux
# libraries.
set(ENV{PKG_CONFIG_LIBDIR}
    "${TAVRICK_WINDOWS_DEPS_PREFIX}/lib/pkgconfig:${TAVRICK_WINDOWS_DEPS_PREFIX}/share/pkgconfig:${TAVRICK_MINGW_SYSROOT}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# ctest and gtest_discover_tests run the test programs through Wine. Start the
# Wine services first (scripts/windows/with-wine.sh), or the first test may time out.
find_program(TAVRICK_WINE wine)
if(TAVRICK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${TAVRICK_WINE}")
endif()
