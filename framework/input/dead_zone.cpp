#include "framework/input/dead_zone.h"

AxisThresholds axisThresholds(std::uint32_t min, std::uint32_t max) {
    const std::uint32_t span = max - min;
    const std::uint32_t dead = span * 20u / 100u;
    // dead / 2 truncates before it is subtracted: lower is one less than
    // span / 2 - dead / 2 whenever dead is odd.
    const std::uint32_t upper = span / 2u + dead / 2u;
    return {upper - dead, upper};
}

bool belowDeadZone(std::uint32_t value, AxisThresholds axis) {
    return value < axis.lower;
}

bool aboveDeadZone(std::uint32_t value, AxisThresholds axis) {
    return value > axis.upper;
}

bool insideDeadZone(std::uint32_t value, AxisThresholds axis) {
    return axis.lower < value && value < axis.upper;
}

bool stickCentered(std::uint32_t x, std::uint32_t y, AxisThresholds xAxis, AxisThresholds yAxis) {
    return insideDeadZone(y, yAxis) && insideDeadZone(x, xAxis);
}
