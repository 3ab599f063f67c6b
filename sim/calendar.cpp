#include "calendar.h"

namespace tavir::sim {

namespace {

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
int64_t daysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

}  // namespace

CalendarTime calendarFromSeconds(int64_t localSeconds) {
    int64_t days = localSeconds >= 0 ? localSeconds / 86400 : (localSeconds - 86399) / 86400;
    int64_t rest = localSeconds - days * 86400;
    CalendarTime t;
    civilFromDays(days, t.year, t.month, t.day);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    // 1970-01-01 was a Thursday (4 when Monday is 1).
    int64_t weekday = (days % 7 + 7 + 3) % 7;
    t.weekday = static_cast<int>(weekday) + 1;
    return t;
}

int64_t secondsFromCalendar(int year, int month, int day, int hour, int minute, int second) {
    return daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

int32_t datumValue(const CalendarTime& t) {
    return t.day * 10000 + t.month * 100 + t.year % 100;
}

int32_t tijdValue(const CalendarTime& t) {
    return t.hour * 10000 + t.minute * 100 + t.second;
}

int32_t clockTimeValue(const CalendarTime& t) {
    return t.hour * 100 + t.minute;
}

}  // namespace tavir::sim
