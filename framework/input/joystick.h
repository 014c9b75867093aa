#pragma once
// Joystick 0 through the multimedia joystick interface: presence, the dead
// zone from the driver's axis ranges, four direction tests, a centre test and
// the buttons. Everything polls: each query asks the device once.
//
// Call calibrate once (it detects too), then any number of queries. A new
// Joystick is all zero: not present, every query false or 0 until a
// detect or calibrate succeeds. It holds no handles.
#include <cstdint>

#include <windows.h>
#include <mmsystem.h>

#include "framework/input/dead_zone.h"

class Joystick {
public:
    JOYINFOEX info{};
    JOYCAPSA caps{};
    bool present = false;
    bool hasZ = false;  // caps says there is a Z axis; set by calibrate, read by no query
    std::uint32_t leftThreshold = 0;
    std::uint32_t rightThreshold = 0;
    std::uint32_t upThreshold = 0;
    std::uint32_t downThreshold = 0;

    // How many joysticks the driver supports, attached or not.
    static unsigned deviceCount();

    // Whether joystick 0 answers a position query (X and Y, whatever flags
    // `info` held before); sets `present`.
    bool detect();

    // detect, then the capabilities and the four thresholds. False when
    // detect fails; caps, hasZ and the thresholds then keep their values.
    bool calibrate();

    // X and Y into `record`; false without a call when not present.
    bool readPosition(JOYINFOEX& record);

    // Each reads the position into `info`; false when that fails.
    bool isCentered();
    bool isUp();
    bool isDown();
    bool isLeft();
    bool isRight();

    // The number of buttons pressed (dwButtonNumber); 0 when not present or
    // when the query fails.
    unsigned readButtons(JOYINFOEX& record);
    unsigned buttons();

private:
    AxisThresholds xAxis() const { return {leftThreshold, rightThreshold}; }
    AxisThresholds yAxis() const { return {upThreshold, downThreshold}; }
};
