#include "frame/date.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/frame/printers.h"

namespace velaqm {
namespace {

TEST(Date, ParseAcceptsTheHostsDateForms) {
    const struct {
        const char* text;
        int year, month, day, hour, minute, second;
    } cases[] = {
        {"2009-9-30", 2009, 9, 30, 0, 0, 0},
        {"2009-09-30", 2009, 9, 30, 0, 0, 0},
        {"2009/10/01 08:00", 2009, 10, 1, 8, 0, 0},
        {"2009/1/5", 2009, 1, 5, 0, 0, 0},
        {"2009-10-01 8:05", 2009, 10, 1, 8, 5, 0},
        {"2009-10-01   23:59:59", 2009, 10, 1, 23, 59, 59},
        {" 2009-10-01 08:00:07 ", 2009, 10, 1, 8, 0, 7},
        {"2000-02-29", 2000, 2, 29, 0, 0, 0},
        {"0100-01-01", 100, 1, 1, 0, 0, 0},
        {"9999-12-31 23:59:59", 9999, 12, 31, 23, 59, 59},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<Date> date = Date::Parse(c.text);
        ASSERT_TRUE(date.has_value());
        EXPECT_EQ(*date, Date(c.year, c.month, c.day, c.hour, c.minute, c.second));
        EXPECT_EQ(date->Year(), c.year);
        EXPECT_EQ(date->Month(), c.month);
        EXPECT_EQ(date->Day(), c.day);
        EXPECT_EQ(date->Hour(), c.hour);
        EXPECT_EQ(date->Minute(), c.minute);
        EXPECT_EQ(date->Second(), c.second);
    }
}

TEST(Date, ParseRefusesJunkAndDaysThatDoNotExist) {
    for (const char* text : {"",
                             "abc",
                             "2009-2-30",
                             "2009-02-29",
                             "1900-02-29",
                             "2009-13-01",
                             "2009-00-10",
                             "2009-1-0",
                             "09-10-01",
                             "20091001",
                             "2009-10/01",
                             "2009.10.01",
                             "2009-10-01x",
                             "2009-100-01",
                             "2009-10-001",
                             "2009-10-01 24:00",
                             "2009-10-01 8:60",
                             "2009-10-01 8:5",
                             "2009-10-01 08",
                             "2009-10-01 08:00:",
                             "2009-10-01 08:00:60",
                             "2009-10-01T08:00",
                             "2009-10-0108:00",
                             "0099-12-31",
                             "-2009-10-01"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(Date::Parse(text).has_value());
    }
}

TEST(Date, WritesTheTimeOnlyWhenItIsNotMidnight) {
    const struct {
        Date date;
        const char* text;
        const char* stored;
    } cases[] = {
        {Date(2009, 10, 1), "2009-10-01", "2009-10-01 00:00:00"},
        {Date(2009, 10, 1, 8, 0, 0), "2009-10-01 08:00:00", "2009-10-01 08:00:00"},
        {Date(2009, 10, 1, 0, 0, 1), "2009-10-01 00:00:01", "2009-10-01 00:00:01"},
        {Date(100, 1, 1), "0100-01-01", "0100-01-01 00:00:00"},
        {Date(), "1970-01-01", "1970-01-01 00:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.date.ToString(), c.text);
        EXPECT_EQ(c.date.ToStorageString(), c.stored);
        EXPECT_EQ(Date::Parse(c.date.ToString()), c.date);
    }
}

TEST(Date, AddDaysFollowsTheCalendarAndKeepsTheTime) {
    const struct {
        Date from;
        int days;
        Date expected;
    } cases[] = {
        {Date(2009, 12, 31), 1, Date(2010, 1, 1)},
        {Date(2000, 2, 28), 1, Date(2000, 2, 29)},
        {Date(1900, 2, 28), 1, Date(1900, 3, 1)},
        {Date(2009, 3, 1), -1, Date(2009, 2, 28)},
        {Date(1970, 1, 1), -1, Date(1969, 12, 31)},
        {Date(1899, 12, 30), 36161, Date(1999, 1, 1)},
        {Date(2009, 10, 1, 8, 30, 0), 30, Date(2009, 10, 31, 8, 30, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from.ToString() + " + " + std::to_string(c.days));
        EXPECT_EQ(c.from.AddDays(c.days), c.expected);
        EXPECT_EQ(c.from.DaysUntil(c.expected), c.days);
    }
    EXPECT_EQ(Date(2009, 1, 1, 23, 0, 0).DaysUntil(Date(2009, 1, 2, 1, 0, 0)), 1);
    EXPECT_EQ(Date(2009, 10, 1, 8, 30, 0).DatePart(), Date(2009, 10, 1));
}

TEST(Date, StaysInsideTheHostsCalendar) {
    EXPECT_THROW(Date(99, 12, 31), std::invalid_argument);
    EXPECT_THROW(Date(10000, 1, 1), std::invalid_argument);
    EXPECT_THROW(Date(2009, 2, 29), std::invalid_argument);
    EXPECT_THROW(Date(2009, 1, 1, 24, 0, 0), std::invalid_argument);
    EXPECT_THROW(Date(9999, 12, 31).AddDays(1), std::out_of_range);
    EXPECT_THROW(Date(100, 1, 1).AddDays(-1), std::out_of_range);
    EXPECT_LT(Date(2009, 10, 1), Date(2009, 10, 1, 0, 0, 1));
    EXPECT_LT(Date(2009, 10, 1, 23, 59, 59), Date(2009, 10, 2));
}

}  // namespace
}  // namespace velaqm
