#include "support/VelaTimeRoutines.h"

#include "platform/PlatformSystem.h"

#include <cmath>
#include <cstdint>

std::string TTimeRoutines::CompactDuration(const std::string& text)
{
    std::string result = text.empty() ? std::string("00:00:00") : text;
    if (result.size() < 5)
        return result;
    while (result.compare(0, 2, "00") == 0 && result.size() > 3)
        result.erase(0, 3);
    if (result.size() == 3)
        result.insert(0, ".");
    return result;
}

namespace {

const int64_t kEpochOffset = TTimeRoutines::DaysFromCivil(1899, 12, 30);
const int64_t kMsPerDay = 86400000;

int64_t FloorDivision(int64_t value, int64_t divisor)
{
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

} // namespace

TDateTime TTimeRoutines::EncodeDateTime(const TDateTimeParts& p)
{
    const int64_t days = DaysFromCivil(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)) - kEpochOffset;
    const int64_t ms = ((p.hour * 60LL + p.minute) * 60 + p.second) * 1000 + p.millisecond;
    return static_cast<double>(days) + static_cast<double>(ms) / kMsPerDay;
}

TDateTimeParts TTimeRoutines::DecodeDateTime(TDateTime value)
{
    const int64_t total = std::llround(value * kMsPerDay);
    int64_t days = total / kMsPerDay;
    int64_t ms = total % kMsPerDay;
    if (ms < 0) {
        ms += kMsPerDay;
        --days;
    }
    TDateTimeParts p;
    int64_t year = 0;
    unsigned month = 0, day = 0;
    CivilFromDays(days + kEpochOffset, year, month, day);
    p.year = static_cast<int>(year);
    p.month = static_cast<int>(month);
    p.day = static_cast<int>(day);
    p.millisecond = static_cast<int>(ms % 1000);
    p.second = static_cast<int>(ms / 1000 % 60);
    p.minute = static_cast<int>(ms / 60000 % 60);
    p.hour = static_cast<int>(ms / 3600000);
    return p;
}

TDateTime TTimeRoutines::EncodeLocalTime(const platform::LocalTime& t)
{
    return EncodeDateTime({t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond});
}

TDateTime TTimeRoutines::Now() { return EncodeLocalTime(platform::LocalNow()); }

int64_t TTimeRoutines::DaysFromCivil(int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const int64_t era = FloorDivision(year, 400);
    const auto yoe = static_cast<unsigned>(year - era * 400);
    const unsigned doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void TTimeRoutines::CivilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day)
{
    days += 719468;
    const int64_t era = FloorDivision(days, 146097);
    const auto doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int64_t>(yoe) + era * 400 + (month <= 2);
}
