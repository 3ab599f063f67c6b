#include "calendar.h"

#include <gtest/gtest.h>

namespace tavir::sim {
namespace {

TEST(Calendar, DatesAndCounterValues) {
    struct Case {
        int year, month, day, hour, minute, second;
        int weekday;
        int32_t datum, tijd, clock;
    } cases[] = {
        {1969, 12, 31, 23, 59, 59, 3, 311269, 235959, 2359},  // the second before the epoch
        {1970, 1, 1, 0, 0, 0, 4, 10170, 0, 0},
        {2000, 2, 29, 12, 34, 56, 2, 290200, 123456, 1234},
        {2024, 6, 3, 7, 45, 0, 1, 30624, 74500, 745},
        {2024, 12, 31, 23, 59, 59, 2, 311224, 235959, 2359},
        {2025, 1, 5, 8, 5, 9, 7, 50125, 80509, 805},
        {2100, 3, 1, 0, 0, 1, 1, 10300, 1, 0},
    };
    EXPECT_EQ(secondsFromCalendar(1969, 12, 31, 23, 59, 59), -1);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.year << "-" << c.month << "-" << c.day);
        CalendarTime t =
            calendarFromSeconds(secondsFromCalendar(c.year, c.month, c.day, c.hour, c.minute, c.second));
        EXPECT_EQ(t.year, c.year);
        EXPECT_EQ(t.month, c.month);
        EXPECT_EQ(t.day, c.day);
        EXPECT_EQ(t.second, c.second);
        EXPECT_EQ(t.weekday, c.weekday);
        EXPECT_EQ(datumValue(t), c.datum);
        EXPECT_EQ(tijdValue(t), c.tijd);
        EXPECT_EQ(clockTimeValue(t), c.clock);
    }
}

}  // namespace
}  // namespace tavir::sim
