#include "framework/display/frame_pacing.h"

namespace {

constexpr int MIN_PLAUSIBLE_REFRESH_RATE = 20;
constexpr int MAX_PLAUSIBLE_REFRESH_RATE = 1000;
// Below INFINITE: a wait always ends by itself.
constexpr std::int64_t MAX_WAIT_MILLISECONDS = 0xFFFFFFFE;

}  // namespace

int plausibleRefreshRate(int hertz) {
    if (hertz < MIN_PLAUSIBLE_REFRESH_RATE || hertz > MAX_PLAUSIBLE_REFRESH_RATE) return FALLBACK_REFRESH_RATE;
    return hertz;
}

std::int64_t frameInterval(FramePace pace, int refreshRate, std::int64_t ticksPerSecond) {
    if (pace.kind == FramePace::NO_LIMIT) return 0;
    std::int64_t frames = plausibleRefreshRate(refreshRate);
    if (pace.kind == FramePace::FRAMES_PER_SECOND && pace.framesPerSecond >= 1) frames = pace.framesPerSecond;
    const std::int64_t interval = ticksPerSecond / frames;
    return interval > 0 ? interval : 1;
}

FrameStep nextFrameStep(std::int64_t now, std::int64_t deadline, std::int64_t interval, std::int64_t ticksPerSecond) {
    if (interval <= 0) return {true, now, 0};
    if (deadline - now > interval) return {true, now + interval, 0};
    if (now >= deadline) {
        const std::int64_t missed = (now - deadline) / interval;
        return {true, deadline + (missed + 1) * interval, 0};
    }
    // 1..interval ticks ahead; whole seconds apart, so that nothing overflows.
    const std::int64_t ahead = deadline - now;
    std::int64_t milliseconds = 1;
    if (ticksPerSecond > 0) {
        milliseconds =
            ahead / ticksPerSecond * 1000 + ((ahead % ticksPerSecond) * 1000 + ticksPerSecond - 1) / ticksPerSecond;
    }
    if (milliseconds < 1) milliseconds = 1;
    if (milliseconds > MAX_WAIT_MILLISECONDS) milliseconds = MAX_WAIT_MILLISECONDS;
    return {false, deadline, static_cast<std::uint32_t>(milliseconds)};
}

ChangeStep nextChangeStep(bool changed, std::int64_t now, ChangePace pace, std::int64_t interval,
                          std::int64_t ticksPerSecond) {
    if (!changed) return {false, pace, WAIT_FOR_MESSAGES};
    if (interval <= 0) return {true, {now, 0}, 0};
    const FrameStep slot = nextFrameStep(now, pace.deadline, interval, ticksPerSecond);
    if (slot.draw) return {true, {slot.deadline, slot.deadline}, 0};
    if (pace.drawnSlot != pace.deadline) return {true, {pace.deadline, pace.deadline}, 0};
    return {false, pace, slot.waitMilliseconds};
}
