#pragma once
#include <cstdint>

namespace tavir::sim {

// The controller's clock as the counters show it. The simulator keeps local time as seconds
// since 1970-01-01 00:00 (the platform adds the zone offset once, at start).
struct CalendarTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 4;  // 1 = maandag .. 7 = zondag
};

CalendarTime calendarFromSeconds(int64_t localSeconds);
int64_t secondsFromCalendar(int year, int month, int day, int hour, int minute, int second);

// The counter values: datum as DDMMYY (shown with six digits), tijd as HHMMSS, time of day as
// hours * 100 + minutes (the clocks' unit).
int32_t datumValue(const CalendarTime& time);
int32_t tijdValue(const CalendarTime& time);
int32_t clockTimeValue(const CalendarTime& time);

}  // namespace tavir::sim
