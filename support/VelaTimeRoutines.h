#pragma once
#include "platform/PlatformSystem.h"

#include <cstdint>
#include <string>

// Days since 1899-12-30 00:00, time of day as the fraction (the preferences file's date-time).
using TDateTime = double;

struct TDateTimeParts {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0, millisecond = 0;
};

class TTimeRoutines {
public:
    // Shortens an elapsed time "hh:mm:ss.zzz" by its leading zero fields: 00:00:05.123 -> 05.123.
    static std::string CompactDuration(const std::string& text);

    static TDateTime EncodeDateTime(const TDateTimeParts& parts);
    static TDateTimeParts DecodeDateTime(TDateTime value);
    static TDateTime EncodeLocalTime(const platform::LocalTime& time);
    // The current local date and time.
    static TDateTime Now();

    // Days since 1970-01-01 and back, on the proleptic Gregorian calendar, for any year.
    static int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day);
    static void CivilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day);
};
