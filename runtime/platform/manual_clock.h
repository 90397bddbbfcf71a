#pragma once
// A clock backend whose time moves only when it is told to: by sleeping, by an
// explicit advance, or by a fixed step on every reading (so that a loop that
// re-measures the time while it waits still gets there). Used to replay timing
// exactly, for example to check the frame-pacing rule without real waiting.
#include <cstdint>
#include <vector>

#include "runtime/platform/clock.h"

namespace tvk::platform {

class ManualClock final : public ClockBackend {
public:
    // Counts nanoseconds, starting at start_ns.
    explicit ManualClock(int64_t start_ns = 1000000000) : now_ns_(start_ns) {}

    int64_t counter() override;
    int64_t counter_frequency() override { return 1000000000; }
    void sleep_ms(int32_t ms) override;

    void advance_ms(double ms) { now_ns_ += static_cast<int64_t>(ms * 1e6); }
    // Each reading of the counter moves the time on by this much afterwards.
    void set_step_per_reading_ms(double ms) { step_ns_ = static_cast<int64_t>(ms * 1e6); }
    // The next sleep ends this much later than asked, as a late wake-up does.
    void oversleep_next_ms(double ms) { oversleep_ns_ = static_cast<int64_t>(ms * 1e6); }
    double now_ms() const { return static_cast<double>(now_ns_) / 1e6; }

    // Every sleep asked for, in order.
    const std::vector<int32_t>& sleeps() const { return sleeps_; }
    void forget_sleeps() { sleeps_.clear(); }

private:
    int64_t now_ns_;
    int64_t step_ns_ = 0;
    int64_t oversleep_ns_ = 0;
    std::vector<int32_t> sleeps_;
};

}  // namespace tvk::platform
