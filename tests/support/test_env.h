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

}  // namespace tvk::testing_support
