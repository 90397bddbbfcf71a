// The pacing rule of present_frame and the millisecond clock, on a clock whose
// time moves only when the code under test sleeps or reads it.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "runtime/gfx/opengl_rainbows.h"
#include "runtime/platform/clock.h"
#include "runtime/platform/manual_clock.h"
#include "runtime/value/clock.h"

namespace tvk {
namespace {

class FramePacingTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock_.set_step_per_reading_ms(0.25);
        platform::set_clock_backend(&clock_);
        clock_init();
        clock_ms();  // takes the base: the clock reads 0 here
    }
    void TearDown() override { platform::set_clock_backend(nullptr); }

    platform::ManualClock clock_;
    OpenGLRainbows device_;
};

TEST_F(FramePacingTest, ClockCountsMillisecondsFromItsFirstReading) {
    platform::ManualClock fresh(0);  // a counter that starts at 0 is still a valid base
    platform::set_clock_backend(&fresh);
    clock_init();
    EXPECT_DOUBLE_EQ(clock_ms(), 0.0);
    fresh.advance_ms(12.5);
    EXPECT_DOUBLE_EQ(clock_ms(), 12.5);
}

TEST_F(FramePacingTest, SixtyFramesASecondAdvanceBySixteenPointSixSixSevenEach) {
    set_frame_rate(device_, 60);
    const double start = clock_ms();
    device_.pacing.next_frame_time = start;
    for (int frame = 1; frame <= 120; ++frame) {
        ASSERT_EQ(wait_for_next_frame(device_, nullptr), 1);
        EXPECT_NEAR(device_.pacing.next_frame_time, start + frame * (1000.0 / 60.0), 1e-9);
        // Each wait ends at the frame time it waited for, never before it, and within
        // two of the clock's steps after it.
        const double waited_for = device_.pacing.next_frame_time - 1000.0 / 60.0;
        const double now = clock_ms() - 0.25;  // this reading itself moved the clock on
        EXPECT_GE(now, waited_for);
        EXPECT_LE(now, waited_for + 0.5);
    }
    EXPECT_NEAR(device_.pacing.next_frame_time - start, 2000.0, 1e-6);
}

TEST_F(FramePacingTest, SleepsToAMillisecondBeforeTheFrameTimeThenToTheFrameTime) {
    set_frame_rate(device_, 60);
    device_.pacing.next_frame_time = clock_ms() + 20.0;
    clock_.forget_sleeps();
    wait_for_next_frame(device_, nullptr);
    // One sleep of the whole milliseconds (the stand-in clock's unit) that end a
    // millisecond before the frame time; the short second sleep, to the frame time,
    // is under the unit and sleeps nothing here.
    ASSERT_EQ(clock_.sleeps().size(), 1u);
    EXPECT_GE(clock_.sleeps()[0], 17);
    EXPECT_LE(clock_.sleeps()[0], 18);

    // Under a millisecond left: only the short sleep, nothing in whole milliseconds.
    device_.pacing.next_frame_time = clock_ms() + 0.9;
    clock_.forget_sleeps();
    wait_for_next_frame(device_, nullptr);
    EXPECT_TRUE(clock_.sleeps().empty());
}

TEST_F(FramePacingTest, SleepUntilReachesTheAskedTimeOnTheSystemClock) {
    platform::set_clock_backend(nullptr);
    clock_init();
    const double start = clock_ms();
    for (double ahead : {0.2, 3.0}) {
        SCOPED_TRACE(ahead);
        const double target = clock_ms() + ahead;
        sleep_until_ms(target);
        EXPECT_GE(clock_ms(), target);
    }
    sleep_until_ms(start - 5.0);  // a time already passed returns at once
    EXPECT_LT(clock_ms() - start, 1000.0);
}

TEST_F(FramePacingTest, LateFrameCatchesUpOneIntervalThenRebasesOnNow) {
    set_frame_rate(device_, 60);
    const double interval = 1000.0 / 60.0;
    struct Case {
        double late_by_intervals;
        double next_after;  // the new frame time, in intervals after the old one
        bool rebased;
    };
    const Case cases[] = {
        {0.5, 1.0, false},  // on time for the next deadline
        {1.5, 2.0, false},  // one catch-up interval
        {2.5, 0.0, true},   // too far behind: now + one interval
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.late_by_intervals);
        const double deadline = clock_ms();
        device_.pacing.next_frame_time = deadline;
        clock_.advance_ms(c.late_by_intervals * interval);
        const double before = clock_ms();  // the wait's own reading comes right after this one
        wait_for_next_frame(device_, nullptr);
        if (c.rebased) {
            EXPECT_NEAR(device_.pacing.next_frame_time, before + 0.25 + interval, 1e-6);
        } else {
            EXPECT_NEAR(device_.pacing.next_frame_time, deadline + c.next_after * interval, 1e-6);
        }
    }
}

TEST_F(FramePacingTest, ALateWakeUpIsPaidBackOverTheNextFramesInsteadOfByAShortOne) {
    clock_.set_step_per_reading_ms(0.01);
    set_frame_rate(device_, 60);
    const double interval = 1000.0 / 60.0;
    const double start = clock_ms();
    device_.pacing.next_frame_time = start + interval;
    std::vector<double> returned;
    for (int frame = 0; frame < 40; ++frame) {
        if (frame == 10) clock_.oversleep_next_ms(3.0);
        ASSERT_EQ(wait_for_next_frame(device_, nullptr), 1);
        returned.push_back(clock_ms());
        // The frame times keep their schedule throughout.
        EXPECT_NEAR(device_.pacing.next_frame_time, start + (frame + 2) * interval, 1e-6);
    }
    // The late wake-up (3 ms late, less the 1 to 2 ms the long sleep, in whole
    // milliseconds here, ends early) makes one long frame; every other frame is within
    // the 0.2 ms payback of the interval.
    for (size_t i = 1; i < returned.size(); ++i) {
        SCOPED_TRACE(i);
        const double deviation = returned[i] - returned[i - 1] - interval;
        if (i == 10) {
            EXPECT_GT(deviation, 1.0);
            EXPECT_LT(deviation, 2.1);
        } else {
            EXPECT_LT(std::abs(deviation), 0.25);
        }
    }
    // Long before the end the loop is back on its frame times.
    EXPECT_NEAR(returned.back(), start + 40 * interval, 0.1);

    // A frame the program ran past its frame time is caught up at the next one, as
    // before: the frame after it is short.
    clock_.advance_ms(1.5 * interval);
    wait_for_next_frame(device_, nullptr);
    const double late_frame_end = clock_ms();
    wait_for_next_frame(device_, nullptr);
    EXPECT_NEAR(clock_ms() - late_frame_end, interval / 2, 0.1);
}

TEST_F(FramePacingTest, NoFrameRateMeansATwoMillisecondPeriod) {
    set_frame_rate(device_, 0);
    const double start = clock_ms();
    device_.pacing.next_frame_time = start;
    for (int frame = 1; frame <= 5; ++frame) wait_for_next_frame(device_, nullptr);
    EXPECT_NEAR(device_.pacing.next_frame_time, start + 10.0, 1e-9);
}

TEST_F(FramePacingTest, NonPositiveIntervalReturnsWithoutAdvancing) {
    device_.pacing.frame_interval = 0;
    device_.pacing.next_frame_time = clock_ms();
    const double before = device_.pacing.next_frame_time;
    EXPECT_EQ(wait_for_next_frame(device_, nullptr), 1);
    EXPECT_DOUBLE_EQ(device_.pacing.next_frame_time, before);
}

}  // namespace
}  // namespace tvk
