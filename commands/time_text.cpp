#include "commands/time_text.h"

#include <cstdio>

namespace {

constexpr const char* DAYS[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* MONTHS[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

int clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

}  // namespace

void formatTimeText(const std::tm& time, char (&out)[TIME_TEXT_SIZE]) {
    // Fields are clamped so that a strange tm never overflows the 25 columns.
    std::snprintf(out, sizeof out, "%s %s %02d %02d:%02d:%02d %04d\n", DAYS[clamp(time.tm_wday, 0, 6)],
                  MONTHS[clamp(time.tm_mon, 0, 11)], clamp(time.tm_mday, 0, 99), clamp(time.tm_hour, 0, 99),
                  clamp(time.tm_min, 0, 99), clamp(time.tm_sec, 0, 99),
                  clamp(time.tm_year < -1900 ? 0 : (time.tm_year > 8099 ? 9999 : time.tm_year + 1900), 0, 9999));
}
