#pragma once
// How often the frame loop draws, platform-free: the pace client code chooses,
// the interval between frames it gives in performance-counter ticks, and the
// decision of one pass of the loop with an empty queue (draw now, or wait how
// long). Deadlines lie on a grid of whole intervals, so frames do not drift
// by the time each one takes.
#include <cstdint>

// The choice of client code, kept by the Display. Zero-filled it is the
// display's refresh rate, so a Display in static storage starts with the
// default.
struct FramePace {
    enum Kind : std::int32_t {
        REFRESH_RATE = 0,       // one frame per refresh of the display
        FRAMES_PER_SECOND = 1,  // `framesPerSecond` frames a second
        NO_LIMIT = 2,           // a frame whenever the queue is empty
    };
    Kind kind;
    std::int32_t framesPerSecond;

    static constexpr FramePace refreshRate() { return {REFRESH_RATE, 0}; }
    // Fewer than 1 frame a second is not a pace: it gives the refresh rate.
    static constexpr FramePace perSecond(std::int32_t frames) { return {FRAMES_PER_SECOND, frames}; }
    static constexpr FramePace noLimit() { return {NO_LIMIT, 0}; }
};

// A refresh rate that the display reports outside 20..1000 Hz (0 and 1 mean
// "the hardware's default") is taken as 60 Hz.
constexpr int FALLBACK_REFRESH_RATE = 60;
int plausibleRefreshRate(int hertz);

// Ticks from one frame to the next at this pace, at least 1; 0 for no limit.
// The refresh rate passes plausibleRefreshRate first.
std::int64_t frameInterval(FramePace pace, int refreshRate, std::int64_t ticksPerSecond);

struct FrameStep {
    bool draw;                       // draw a frame now
    std::int64_t deadline;           // the earliest tick of the frame after this step
    std::uint32_t waitMilliseconds;  // without a frame: how long to wait for messages, at least 1
};

// One pass of the loop with the queue empty and the display active, at tick
// `now`, with the deadline the previous step gave (0 before the first frame).
// - Due (now at or past the deadline): draw; the next deadline is the first
//   grid point after now, so a late frame keeps the grid and a clock that
//   jumped forward costs one frame, never a burst.
// - Not due: wait until the deadline, rounded up to whole milliseconds.
// - A deadline more than one interval ahead can only come from a clock that
//   went back (or a faster pace): draw now and start the grid afresh.
// An interval of 0 or less (no limit) draws on every pass.
FrameStep nextFrameStep(std::int64_t now, std::int64_t deadline, std::int64_t interval, std::int64_t ticksPerSecond);

// Frames driven by change, for a program that asks for them: a frame only
// when the screen changed, and then at once, without waiting for the next
// slot of the grid, unless a frame was drawn in this interval of the grid
// already. After such an early frame the loop goes back to the grid: more
// changes in the same interval wait for its slot. So a stream of changes
// draws one frame per interval, as many as paced frames would, and nothing
// changed draws nothing.
struct ChangePace {
    std::int64_t deadline;   // the next slot of the grid, as FrameStep keeps it (0 before the first frame)
    std::int64_t drawnSlot;  // the slot before which a frame was drawn (0: none yet)
};

// The wait of a loop with nothing to draw: until a message arrives (INFINITE).
constexpr std::uint32_t WAIT_FOR_MESSAGES = 0xFFFFFFFF;

struct ChangeStep {
    bool draw;
    ChangePace pace;                 // what the loop keeps for its next pass
    std::uint32_t waitMilliseconds;  // without a frame: how long to wait, WAIT_FOR_MESSAGES when nothing changed
};

// One pass of the loop with the queue empty and the display active. `changed`
// tells whether the screen changed since the last frame. A slot that is due
// draws as nextFrameStep does; before it, a frame is drawn at once when the
// interval has none yet, otherwise the loop waits for the slot. An interval
// of 0 or less (no limit) draws every change at once.
ChangeStep nextChangeStep(bool changed, std::int64_t now, ChangePace pace, std::int64_t interval,
                          std::int64_t ticksPerSecond);
