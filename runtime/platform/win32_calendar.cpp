// The wall clock from the system's local and UTC time.
#include <windows.h>

#include "runtime/platform/calendar.h"

namespace tvk::platform {

namespace {

std::tm parts_of(const SYSTEMTIME& t) {
    static const int kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    std::tm parts{};
    parts.tm_year = t.wYear - 1900;
    parts.tm_mon = t.wMonth - 1;
    parts.tm_mday = t.wDay;
    parts.tm_hour = t.wHour;
    parts.tm_min = t.wMinute;
    parts.tm_sec = t.wSecond;
    parts.tm_wday = t.wDayOfWeek;
    const bool leap = (t.wYear % 4 == 0 && t.wYear % 100 != 0) || t.wYear % 400 == 0;
    parts.tm_yday = kDaysBefore[parts.tm_mon] + t.wDay - 1 + (leap && t.wMonth > 2 ? 1 : 0);
    return parts;
}

}  // namespace

std::tm local_date_time() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::tm parts = parts_of(now);
    TIME_ZONE_INFORMATION zone;
    parts.tm_isdst = GetTimeZoneInformation(&zone) == TIME_ZONE_ID_DAYLIGHT ? 1 : 0;
    return parts;
}

std::tm utc_date_time() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return parts_of(now);
}

}  // namespace tvk::platform
