#pragma once
// The wall clock: the current date and time in calendar fields.
//
// Contract: both read the system's clock at the call; the local form follows the
// user's time zone and daylight saving as the system knows them. The fields are
// those of std::tm (years since 1900, months from 0, seconds up to 60 for a leap
// second). The runtime measures time with clock.h; this is only for showing it.
#include <ctime>

namespace tvk::platform {

std::tm local_date_time();
std::tm utc_date_time();

}  // namespace tvk::platform
