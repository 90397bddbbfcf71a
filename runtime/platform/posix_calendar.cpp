// The wall clock through the C library's reentrant conversions.
#include <time.h>

#include "runtime/platform/calendar.h"

namespace tvk::platform {

std::tm local_date_time() {
    const std::time_t now = std::time(nullptr);
    std::tm parts {};
    localtime_r(&now, &parts);
    return parts;
}

std::tm utc_date_time() {
    const std::time_t now = std::time(nullptr);
    std::tm parts {};
    gmtime_r(&now, &parts);
    return parts;
}

}  // namespace tvk::platform
