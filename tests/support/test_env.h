#pragma once
// The environment as the tests change it: POSIX's setenv and unsetenv, which the
// Windows C library lacks, given there over the runtime's environment service (so
// the system's block and the C library's copy change together); and the variable
// that names the system's temporary folder, which differs between the systems.
#include <cstdlib>
#include <string>

#ifdef _WIN32
int setenv(const char* name, const char* value, int overwrite);
int unsetenv(const char* name);
#endif

namespace tvk::testing_support {

// TMPDIR on Linux; TMP on Windows (GetTempPathW reads TMP first).
inline constexpr const char* kTempFolderVariable =
#ifdef _WIN32
    "TMP";
#else
    "TMPDIR";
#endif

// The variable that names the user's application-data folder: XDG_DATA_HOME on
// Linux, LOCALAPPDATA on Windows.
inline constexpr const char* kDataFolderVariable =
#ifdef _WIN32
    "LOCALAPPDATA";
#else
    "XDG_DATA_HOME";
#endif

// The video driver for tests that draw without a real screen: SDL's offscreen
// driver on Linux; on Windows, which has no offscreen driver, the system's own
// windows (under Wine on its virtual display).
inline constexpr const char* kHeadlessVideoDriver =
#ifdef _WIN32
    "windows";
#else
    "offscreen";
#endif

// That driver, and on Linux no X display either.
inline void use_headless_video() {
#ifndef _WIN32
    unsetenv("DISPLAY");
#endif
    setenv("SDL_VIDEODRIVER", kHeadlessVideoDriver, 1);
}

}  // namespace tvk::testing_support
