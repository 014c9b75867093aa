// The frame loop's pacing: the interval of each pace and refresh rate, and
// the step of one pass (draw or wait) with late frames, clocks that jump and
// no limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "framework/display/frame_pacing.h"

namespace {

constexpr std::int64_t TICKS = 10'000'000;  // the performance counter's rate under Wine
constexpr std::int64_t AT_60 = TICKS / 60;

TEST(FramePacing, IntervalOfEachPaceAndRefreshRate) {
    struct Case {
        const char* name;
        FramePace pace;
        int refresh;
        std::int64_t interval;
    };
    const Case cases[] = {
        {"60 Hz", FramePace::refreshRate(), 60, AT_60},
        {"240 Hz", FramePace::refreshRate(), 240, TICKS / 240},
        {"0: the hardware's default", FramePace::refreshRate(), 0, AT_60},
        {"1: the hardware's default", FramePace::refreshRate(), 1, AT_60},
        {"negative", FramePace::refreshRate(), -75, AT_60},
        {"19 Hz is implausible", FramePace::refreshRate(), 19, AT_60},
        {"20 Hz", FramePace::refreshRate(), 20, TICKS / 20},
        {"1000 Hz", FramePace::refreshRate(), 1000, TICKS / 1000},
        {"1001 Hz is implausible", FramePace::refreshRate(), 1001, AT_60},
        {"zero-filled pace is the refresh rate", FramePace{}, 75, TICKS / 75},
        {"30 a second, whatever the display", FramePace::perSecond(30), 240, TICKS / 30},
        {"more than the display", FramePace::perSecond(500), 60, TICKS / 500},
        {"0 a second takes the refresh rate", FramePace::perSecond(0), 75, TICKS / 75},
        {"negative a second takes the refresh rate", FramePace::perSecond(-4), 0, AT_60},
        {"more frames than ticks: one tick", FramePace::perSecond(2'000'000'000), 60, 1},
        {"no limit", FramePace::noLimit(), 60, 0},
        {"no limit with refresh 0", FramePace::noLimit(), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(frameInterval(c.pace, c.refresh, TICKS), c.interval);
    }
}

TEST(FramePacing, DueFramesKeepTheGridAndEarlyPassesWait) {
    const std::int64_t start = 5'000'000'000;  // the counter is far from 0
    struct Case {
        const char* name;
        std::int64_t now, deadline;
        bool draw;
        std::int64_t nextDeadline;
        std::uint32_t wait;
    };
    const Case cases[] = {
        {"first pass: deadline 0", start, 0, true, start - start % AT_60 + AT_60, 0},
        {"exactly due", start, start, true, start + AT_60, 0},
        {"late by half an interval: the next deadline follows the last", start + AT_60 / 2, start, true, start + AT_60,
         0},
        {"late by three and a half: one frame, no burst", start + 7 * AT_60 / 2, start, true, start + 4 * AT_60, 0},
        {"one tick early: wait 1 ms", start - 1, start, false, start, 1},
        {"a whole interval early: wait 16.67 ms rounded up", start - AT_60, start, false, start, 17},
        {"10 ms early", start - TICKS / 100, start, false, start, 10},
        {"clock went back: draw now, grid afresh", start - 2 * AT_60, start, true, start - AT_60, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FrameStep step = nextFrameStep(c.now, c.deadline, AT_60, TICKS);
        EXPECT_EQ(step.draw, c.draw);
        EXPECT_EQ(step.deadline, c.nextDeadline);
        EXPECT_EQ(step.waitMilliseconds, c.wait);
    }

    // A clock that jumped an hour ahead: one frame, and the next deadline is
    // the grid point that follows.
    const std::int64_t later = start + 3600 * TICKS + 5;
    const FrameStep step = nextFrameStep(later, start, AT_60, TICKS);
    EXPECT_TRUE(step.draw);
    EXPECT_GT(step.deadline, later);
    EXPECT_LE(step.deadline, later + AT_60);
    EXPECT_EQ((step.deadline - start) % AT_60, 0);
}

TEST(FramePacing, NoLimitDrawsOnEveryPass) {
    for (const std::int64_t deadline : {std::int64_t{0}, std::int64_t{900}, std::int64_t{5'000'000}}) {
        const FrameStep step = nextFrameStep(1000, deadline, 0, TICKS);
        EXPECT_TRUE(step.draw);
        EXPECT_EQ(step.waitMilliseconds, 0u);
    }
}

// The loop as the Display runs it, on a simulated clock: frames that take
// up to half the interval, waits that oversleep by up to a millisecond. Over
// ten seconds the count is the rate's, to a frame: no drift from the time
// frames take or from rounding the waits up, and one wait per frame at most.
TEST(FramePacing, SimulatedLoopDrawsTheRateWithoutDrift) {
    for (const int hertz : {0, 1, 60, 240}) {
        SCOPED_TRACE(hertz);
        const std::int64_t interval = frameInterval(FramePace::refreshRate(), hertz, TICKS);
        const int rate = hertz == 240 ? 240 : 60;
        std::int64_t now = 0, deadline = 0;
        int frames = 0, waits = 0;
        std::uint32_t noise = 12345;
        while (now < 10 * TICKS) {
            noise = noise * 1103515245u + 12345u;
            const FrameStep step = nextFrameStep(now, deadline, interval, TICKS);
            deadline = step.deadline;
            if (step.draw) {
                ++frames;
                now += static_cast<std::int64_t>(noise >> 16) % (interval / 2);
            } else {
                ++waits;
                ASSERT_GE(step.waitMilliseconds, 1u);
                now += step.waitMilliseconds * (TICKS / 1000) + static_cast<std::int64_t>(noise >> 16) % (TICKS / 1000);
            }
        }
        EXPECT_NEAR(frames, 10 * rate, 1);
        EXPECT_LE(waits, frames) << "never a second wait for the same frame";
    }
}

}  // namespace

namespace {

// Frames driven by change at 60 a second, on the grid of whole intervals.
TEST(ChangeFrames, ChangeMidIntervalDrawsAtOnceThenTheGridResumes) {
    const std::int64_t slot = 5'000'000'000;
    // The next slot is `slot`; no frame yet in the interval before it.
    const ChangePace afterFrame{slot, 0};

    const ChangeStep idle = nextChangeStep(false, slot - AT_60 / 2, afterFrame, AT_60, TICKS);
    EXPECT_FALSE(idle.draw) << "nothing changed, nothing drawn, even when the slot is due";
    EXPECT_EQ(idle.waitMilliseconds, WAIT_FOR_MESSAGES);
    EXPECT_FALSE(nextChangeStep(false, slot + 5 * AT_60, afterFrame, AT_60, TICKS).draw);

    // A key half an interval before the slot: drawn now, not at the slot.
    const ChangeStep key = nextChangeStep(true, slot - AT_60 / 2, afterFrame, AT_60, TICKS);
    EXPECT_TRUE(key.draw);
    EXPECT_EQ(key.pace.deadline, slot) << "the grid stays where it was";

    // A second change in the same interval waits for the slot, then draws.
    const ChangeStep second = nextChangeStep(true, slot - AT_60 / 4, key.pace, AT_60, TICKS);
    EXPECT_FALSE(second.draw);
    EXPECT_EQ(second.waitMilliseconds, 5u);  // 4.17 ms rounded up
    const ChangeStep atSlot = nextChangeStep(true, slot, second.pace, AT_60, TICKS);
    EXPECT_TRUE(atSlot.draw);
    EXPECT_EQ(atSlot.pace.deadline, slot + AT_60);

    // The slot's frame lies in the next interval: a change right after it
    // waits for the slot after; in an interval with no frame it draws at once.
    EXPECT_FALSE(nextChangeStep(true, slot + 1, atSlot.pace, AT_60, TICKS).draw);
    EXPECT_TRUE(nextChangeStep(true, slot + AT_60 + 1, atSlot.pace, AT_60, TICKS).draw);
    EXPECT_TRUE(nextChangeStep(true, slot + AT_60 / 2, {slot + AT_60, slot}, AT_60, TICKS).draw);

    // After a long idle the first change draws at once, and the grid keeps
    // its phase.
    const ChangeStep late = nextChangeStep(true, slot + 100 * AT_60 + 7, key.pace, AT_60, TICKS);
    EXPECT_TRUE(late.draw);
    EXPECT_EQ(late.pace.deadline, slot + 101 * AT_60);

    // Without a limit every change draws at once.
    EXPECT_TRUE(nextChangeStep(true, slot - 1, {slot, slot}, 0, TICKS).draw);
    EXPECT_FALSE(nextChangeStep(false, slot - 1, {slot, slot}, 0, TICKS).draw);
}

// A loop on a simulated clock under a change every 0.3 ms for ten seconds
// (a stream of prints): one frame per interval of the grid, as paced frames
// would draw, every wait at least a millisecond. Then the changes stop: no
// frame at all, and the loop waits for messages.
TEST(ChangeFrames, StreamOfChangesDrawsOneFramePerInterval) {
    const std::int64_t change = TICKS / 3333;
    std::int64_t now = 123'456, nextChange = now;
    ChangePace pace{0, 0};
    bool changed = false;
    int frames = 0;
    std::int64_t intervalStart = 0;
    int framesThisInterval = 0, mostInOneInterval = 0;
    while (now < 10 * TICKS) {
        while (nextChange <= now) {
            changed = true;
            nextChange += change;
        }
        const ChangeStep step = nextChangeStep(changed, now, pace, AT_60, TICKS);
        pace = step.pace;
        if (step.draw) {
            ++frames;
            changed = false;
            if (now / AT_60 != intervalStart) {
                intervalStart = now / AT_60;
                framesThisInterval = 0;
            }
            mostInOneInterval = std::max(mostInOneInterval, ++framesThisInterval);
            now += TICKS / 2000;  // a frame takes 0.5 ms
        } else {
            ASSERT_NE(step.waitMilliseconds, WAIT_FOR_MESSAGES) << "a change is pending";
            ASSERT_GE(step.waitMilliseconds, 1u) << "no busy loop";
            // The wait ends at its time or at the next change's message.
            now = std::min(now + step.waitMilliseconds * (TICKS / 1000), nextChange);
        }
    }
    EXPECT_EQ(mostInOneInterval, 1);
    EXPECT_NEAR(frames, 600, 2) << "the grid's slots all drew, and no more";

    const ChangeStep quiet = nextChangeStep(false, now + AT_60, pace, AT_60, TICKS);
    EXPECT_FALSE(quiet.draw);
    EXPECT_EQ(quiet.waitMilliseconds, WAIT_FOR_MESSAGES);
}

}  // namespace
