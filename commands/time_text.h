#pragma once
#include <ctime>

inline constexpr int TIME_TEXT_SIZE = 26;  // 25 characters and the terminator

// The ctime form of a broken-down time, "Wed Jun 09 08:05:03 1993\n", with
// the day of the month always two digits (leading zero) on every platform.
void formatTimeText(const std::tm& time, char (&out)[TIME_TEXT_SIZE]);
