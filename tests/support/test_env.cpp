#include "support/test_env.h"

#ifdef _WIN32
#include "runtime/platform/environment.h"

int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && std::getenv(name)) return 0;
    return tvk::platform::set_environment_variable(name, value) ? 0 : -1;
}

int unsetenv(const char* name) {
    tvk::platform::remove_environment_variable(name);
    return 0;
}
#endif
