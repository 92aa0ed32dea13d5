#include "framework/date_time.h"

#include <gtest/gtest.h>

TEST(DateTime, DayCountsMatchTheOleEpoch) {
    struct Case {
        int y, m, d;
        double days;
    } cases[] = {
        {1899, 12, 30, 0.0},   {1899, 12, 31, 1.0},  {1900, 1, 1, 2.0},         {1900, 3, 1, 61.0},
        {2000, 1, 1, 36526.0}, {1899, 12, 29, -1.0}, {9999, 12, 31, 2958465.0},
    };
    for (const Case& c : cases) {
        const CDateTime dt = CDateTime::FromDate(c.y, c.m, c.d);
        ASSERT_TRUE(dt.IsValid());
        EXPECT_DOUBLE_EQ(dt.GetDays(), c.days) << c.y << "-" << c.m << "-" << c.d;
        int y = 0, m = 0, d = 0;
        ASSERT_TRUE(dt.GetDate(y, m, d));
        EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d);
    }
}

TEST(DateTime, CalendarValidation) {
    struct Case {
        int y, m, d;
        bool ok;
    } cases[] = {
        {2000, 2, 29, true},  {2004, 2, 29, true},  {1900, 2, 29, false}, {2003, 2, 29, false},
        {2003, 4, 31, false}, {2003, 13, 1, false}, {2003, 0, 1, false},  {2003, 1, 0, false},
        {0, 1, 1, true},      {-1, 1, 1, false},    {10000, 1, 1, false}, {70, 1, 1, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CDateTime::FromDate(c.y, c.m, c.d).IsValid(), c.ok)
            << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST(DateTime, TimeOfDayBeforeTheEpochIsAPositiveFraction) {
    const CDateTime dt = CDateTime::FromDateTime(1899, 12, 29, 6, 0, 0);
    EXPECT_DOUBLE_EQ(dt.GetDays(), -1.25);
    int y, mo, d, h, mi, s;
    ASSERT_TRUE(dt.GetDateTime(y, mo, d, h, mi, s));
    EXPECT_EQ(d, 29);
    EXPECT_EQ(h, 6);
}

TEST(DateTime, NullAndInvalidHaveNoDate) {
    int y = -7, m = -7, d = -7;
    EXPECT_FALSE(CDateTime().GetDate(y, m, d));
    EXPECT_FALSE(CDateTime(5.0, CDateTime::invalid).GetDate(y, m, d));
    EXPECT_FALSE(CDateTime(1e300, CDateTime::valid).GetDate(y, m, d));
    EXPECT_EQ(y, -7);
}
