# Installing the runtime as an SDK (component "sdk"): the headers under
# include/tavrick/, the layer libraries, the process entry, the packer, a CMake
# package (find_package(Tavrick) gives Tavrick::tavrick and Tavrick::main) and a
# tavrick.pc for pkg-config. The version is the project's, set once in the top
# CMakeLists.txt.
include(GNUInstallDirs)

# The packer the build itself runs to append media. A cross build cannot run the
# one it makes without an emulator: given TAVRICK_HOST_TVK_PACK, a packer built for
# the build machine (a native build's tools/tvk-pack), it runs that one instead.
set(TAVRICK_HOST_TVK_PACK "" CACHE FILEPATH
    "Cross builds: a tvk-pack that runs on the build machine, used for the packing steps")
if(CMAKE_CROSSCOMPILING AND TAVRICK_HOST_TVK_PACK)
  add_executable(Tavrick::tvk-pack IMPORTED GLOBAL)
  set_target_properties(Tavrick::tvk-pack PROPERTIES IMPORTED_LOCATION ${TAVRICK_HOST_TVK_PACK})
else()
  add_executable(Tavrick::tvk-pack ALIAS tvk-pack)
endif()
include(CMakePackageConfigHelpers)

set(TAVRICK_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/tavrick)
set(TAVRICK_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tavrick)

# Headers: the umbrella at include/tavrick/tavrick.h, the runtime's own beside it
# as include/tavrick/runtime/<folder>/, where the umbrella's "runtime/..." names
# find them.
install(FILES ${PROJECT_SOURCE_DIR}/include/tavrick/tavrick.h
              ${PROJECT_BINARY_DIR}/include/tavrick/version.h
        DESTINATION ${TAVRICK_INSTALL_INCLUDEDIR} COMPONENT sdk)
# The other platform's backend headers are left out: they include that system's own.
if(WIN32)
  set(tavrick_other_backend "posix_*.h")
else()
  set(tavrick_other_backend "win32_*.h")
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/runtime/
        DESTINATION ${TAVRICK_INSTALL_INCLUDEDIR}/runtime COMPONENT sdk
        FILES_MATCHING PATTERN "*.h"
        PATTERN ${tavrick_other_backend} EXCLUDE)

# Inside the build the include roots are the source tree; installed, they are
# include/tavrick (for "runtime/...") and include (for <tavrick/tavrick.h>).
set_property(TARGET tavrick_platform PROPERTY INTERFACE_INCLUDE_DIRECTORIES
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
  $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/include>
  $<INSTALL_INTERFACE:${TAVRICK_INSTALL_INCLUDEDIR}>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

set_target_properties(tavrick_main PROPERTIES EXPORT_NAME main)
set_target_properties(tavrick_entry PROPERTIES EXPORT_NAME entry)
install(TARGETS ${TAVRICK_LAYERS} tavrick tavrick_entry tavrick_main
        EXPORT TavrickTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT sdk
        INCLUDES DESTINATION ${TAVRICK_INSTALL_INCLUDEDIR})
install(TARGETS tvk-pack EXPORT TavrickTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT sdk)
install(EXPORT TavrickTargets NAMESPACE Tavrick:: DESTINATION ${TAVRICK_CMAKE_DIR} COMPONENT sdk)

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TavrickConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/TavrickConfig.cmake INSTALL_DESTINATION ${TAVRICK_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TavrickConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TavrickConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/TavrickConfigVersion.cmake
        DESTINATION ${TAVRICK_CMAKE_DIR} COMPONENT sdk)

# pkg-config: the libraries from the top layer down, then what they need. They are
# static, so their dependencies are public requirements rather than private ones.
set(TAVRICK_PC_LIBS "-ltavrick_main -ltavrick_entry")
foreach(layer core native net path input audio gfx files value platform)
  string(APPEND TAVRICK_PC_LIBS " -ltavrick_${layer}")
endforeach()
set(TAVRICK_PC_REQUIRES "sdl2 SDL2_mixer lzo2 libpng libjpeg gl")
if(TAVRICK_MOVIES)
  string(APPEND TAVRICK_PC_REQUIRES " mpv")
endif()
# The prefix is found from where the file lies, so the install can be moved.
string(REGEX REPLACE "[^/]+" ".." TAVRICK_PC_UP "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
configure_file(${CMAKE_CURRENT_LIST_DIR}/tavrick.pc.in ${CMAKE_CURRENT_BINARY_DIR}/tavrick.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tavrick.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT sdk)
