// The factory operations of the engine's core objects; the workers and reports add theirs
// in their own units.
#include "engine/uEngineImplementation.h"

#include "engine/uBroadcastParameters.h"
#include "engine/uCleanupList.h"
#include "engine/uCleanupOptionsList.h"
#include "engine/uScannerValidators.h"
#include "support/VelaTimeRoutines.h"

#include <cstdio>

std::shared_ptr<IScannerValidators> TEngineServices::CreateScannerValidators(bool ignoreOnImplicit)
{
    auto validators = std::make_shared<TScannerValidators>(ignoreOnImplicit);
    validators->Add(svNone, {});
    validators->Add(svEmptyDirectory, {});
    validators->Add(svInvalidShortcut, {});
    return validators;
}

std::shared_ptr<ICleanupOptionsList> TEngineServices::CreateCleanupOptionsList()
{
    return std::make_shared<TCleanupOptionsList>();
}

std::shared_ptr<ICleanupList> TEngineServices::CreateCleanupList(const std::shared_ptr<ICRC32>& hasher)
{
    return std::make_shared<TCleanupList>(hasher);
}

std::shared_ptr<IBroadcastParameters> TEngineServices::CreateBroadcastParameters()
{
    return std::make_shared<TBroadcastParameters>();
}

std::string TValidatorDateText::Format(double dateTime)
{
    const TDateTimeParts parts = TTimeRoutines::DecodeDateTime(dateTime);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", parts.year, parts.month, parts.day);
    return text;
}

bool TValidatorDateText::Parse(const std::string& text, double& date)
{
    date = 0;
    int year = 0, month = 0, day = 0;
    char tail = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9')
            return false;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &tail) != 3)
        return false;
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1])
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && day == 29 && !leap)
        return false;
    TDateTimeParts parts;
    parts.year = year;
    parts.month = month;
    parts.day = day;
    date = TTimeRoutines::EncodeDateTime(parts);
    return true;
}
