#include "runtime/platform/manual_clock.h"

namespace tvk::platform {

int64_t ManualClock::counter() {
    const int64_t value = now_ns_;
    now_ns_ += step_ns_;
    return value;
}

void ManualClock::sleep_ms(int32_t ms) {
    sleeps_.push_back(ms);
    if (ms <= 0) return;
    now_ns_ += static_cast<int64_t>(ms) * 1000000 + oversleep_ns_;
    oversleep_ns_ = 0;
}

}  // namespace tvk::platform
