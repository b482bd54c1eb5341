#include "support/VelaTimeRoutines.h"

#include <gtest/gtest.h>

TEST(CompactDuration, DropsLeadingZeroFields)
{
    EXPECT_EQ("01:02:03.456", TTimeRoutines::CompactDuration("01:02:03.456"));
    EXPECT_EQ("02:03.456", TTimeRoutines::CompactDuration("00:02:03.456"));
    EXPECT_EQ("05.123", TTimeRoutines::CompactDuration("00:00:05.123"));
    EXPECT_EQ(".123", TTimeRoutines::CompactDuration("00:00:00.123"));
    EXPECT_EQ("00", TTimeRoutines::CompactDuration("00:00:00"));
    EXPECT_EQ("00", TTimeRoutines::CompactDuration(""));
    EXPECT_EQ("10:00:00.000", TTimeRoutines::CompactDuration("10:00:00.000"));
    EXPECT_EQ("10:00.000", TTimeRoutines::CompactDuration("00:10:00.000"));
    EXPECT_EQ("00:1", TTimeRoutines::CompactDuration("00:1"));
}

TEST(DateTime, EncodesDaysSince1899AndRoundTrips)
{
    EXPECT_DOUBLE_EQ(0.0, TTimeRoutines::EncodeDateTime({1899, 12, 30, 0, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(2.0, TTimeRoutines::EncodeDateTime({1900, 1, 1, 0, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(36526.5, TTimeRoutines::EncodeDateTime({2000, 1, 1, 12, 0, 0, 0}));
    const TDateTimeParts parts {2024, 2, 29, 23, 59, 58, 999};
    const TDateTimeParts back = TTimeRoutines::DecodeDateTime(TTimeRoutines::EncodeDateTime(parts));
    EXPECT_EQ(2024, back.year);
    EXPECT_EQ(2, back.month);
    EXPECT_EQ(29, back.day);
    EXPECT_EQ(23, back.hour);
    EXPECT_EQ(59, back.minute);
    EXPECT_EQ(58, back.second);
    EXPECT_EQ(999, back.millisecond);
    EXPECT_GT(TTimeRoutines::Now(), TTimeRoutines::EncodeDateTime({2020, 1, 1, 0, 0, 0, 0}));
}
