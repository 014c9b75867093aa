// Joystick 0 through joyGetPosEx and joyGetDevCapsA. The dead-zone arithmetic
// lives in dead_zone.cpp.
#include "framework/input/joystick.h"

namespace {

constexpr UINT JOYSTICK = JOYSTICKID1;
// The presence query asks for the position, whatever a previous query left
// in the record's flags.
constexpr DWORD PRESENCE_FLAGS = JOY_RETURNX | JOY_RETURNY;

}  // namespace

unsigned Joystick::deviceCount() {
    return joyGetNumDevs();
}

bool Joystick::detect() {
    info.dwSize = sizeof info;
    info.dwFlags = PRESENCE_FLAGS;
    present = joyGetPosEx(JOYSTICK, &info) == JOYERR_NOERROR;
    return present;
}

bool Joystick::calibrate() {
    if (!detect()) {
        return false;
    }
    // A failing capabilities query is not reported; the thresholds come from
    // whatever caps then holds.
    joyGetDevCapsA(JOYSTICK, &caps, sizeof caps);
    hasZ = (caps.wCaps & JOYCAPS_HASZ) != 0;
    const AxisThresholds x = axisThresholds(caps.wXmin, caps.wXmax);
    const AxisThresholds y = axisThresholds(caps.wYmin, caps.wYmax);
    leftThreshold = x.lower;
    rightThreshold = x.upper;
    upThreshold = y.lower;
    downThreshold = y.upper;
    return true;
}

bool Joystick::readPosition(JOYINFOEX& record) {
    if (!present) {
        return false;
    }
    record.dwSize = sizeof record;
    record.dwFlags = JOY_RETURNX | JOY_RETURNY;
    return joyGetPosEx(JOYSTICK, &record) == JOYERR_NOERROR;
}

bool Joystick::isCentered() {
    return readPosition(info) && stickCentered(info.dwXpos, info.dwYpos, xAxis(), yAxis());
}

bool Joystick::isUp() {
    return readPosition(info) && belowDeadZone(info.dwYpos, yAxis());
}

bool Joystick::isDown() {
    return readPosition(info) && aboveDeadZone(info.dwYpos, yAxis());
}

bool Joystick::isLeft() {
    return readPosition(info) && belowDeadZone(info.dwXpos, xAxis());
}

bool Joystick::isRight() {
    return readPosition(info) && aboveDeadZone(info.dwXpos, xAxis());
}

unsigned Joystick::readButtons(JOYINFOEX& record) {
    if (!present) {
        return 0;
    }
    record.dwSize = sizeof record;
    record.dwFlags = JOY_RETURNBUTTONS;
    // After a failed query the record holds an old count, not the buttons.
    if (joyGetPosEx(JOYSTICK, &record) != JOYERR_NOERROR) {
        return 0;
    }
    return record.dwButtonNumber;
}

unsigned Joystick::buttons() {
    return readButtons(info);
}
