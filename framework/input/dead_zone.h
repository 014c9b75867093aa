#pragma once
// The joystick's dead zone, platform-free: the thresholds of one axis from
// the range its driver reports, and the five position tests. All arithmetic
// is unsigned 32-bit, wrap-around included, as the Joystick has it.
#include <cstdint>

// One axis: a value strictly below `lower` is left (X) or up (Y), strictly
// above `upper` is right or down, strictly between the two is inside the
// dead zone. A value on a threshold is neither.
struct AxisThresholds {
    std::uint32_t lower;
    std::uint32_t upper;
};

// The dead zone is 20 per cent of the span, placed around span / 2 (not
// around min + span / 2): 0..65535 gives 26213 and 39320, 10..250 gives 96
// and 144.
AxisThresholds axisThresholds(std::uint32_t min, std::uint32_t max);

bool belowDeadZone(std::uint32_t value, AxisThresholds axis);
bool aboveDeadZone(std::uint32_t value, AxisThresholds axis);
bool insideDeadZone(std::uint32_t value, AxisThresholds axis);

// Both axes strictly inside their dead zones.
bool stickCentered(std::uint32_t x, std::uint32_t y, AxisThresholds xAxis, AxisThresholds yAxis);
