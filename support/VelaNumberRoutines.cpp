#include "support/VelaRoutines.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

int64_t TNumberRoutines::BytesToKo(int64_t bytes)
{
    // Below 1 Ko rounds up, so an empty file counts 1 Ko while a missing one (-1) counts 0.
    if (bytes < 1024)
        return (bytes + 1024) / 1024;
    return bytes / 1024;
}

std::string TNumberRoutines::FormatCapacity(int64_t ko)
{
    if (ko <= 1024)
        return GroupThousands(ko) + " Ko";
    return GroupThousands(ko / 1024) + " Mo";
}

int64_t TNumberRoutines::ParseCapacity(const std::string& text)
{
    const std::string plain = StripThousands(text);
    if (plain.size() < 2)
        return 0;
    const std::string unit = plain.substr(plain.size() - 2);
    int64_t factor = 0;
    if (unit == "Ko")
        factor = 1;
    else if (unit == "Mo")
        factor = 1024;
    else
        return 0;
    const std::string number = plain.size() >= 3 ? plain.substr(0, plain.size() - 3) : std::string();
    // A 32-bit integer, as the lists show it; anything else is not a capacity we wrote.
    if (number.empty() || number.find_first_of(" \t") != std::string::npos)
        throw EConvertError("'" + number + "' is not a valid integer value");
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(number.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < INT32_MIN || value > INT32_MAX)
        throw EConvertError("'" + number + "' is not a valid integer value");
    return static_cast<int64_t>(value) * factor;
}

std::string TNumberRoutines::GroupThousands(const std::string& digits)
{
    const size_t start = !digits.empty() && digits[0] == '-' ? 1 : 0;
    std::string body = digits.substr(start);
    // Insert before 1-based positions length-2, length-5, ... while above 1.
    for (long position = static_cast<long>(body.size()) - 2; position > 1; position -= 3)
        body.insert(static_cast<size_t>(position - 1), 1, ',');
    return digits.substr(0, start) + body;
}

std::string TNumberRoutines::GroupThousands(int64_t value) { return GroupThousands(std::to_string(value)); }

std::string TNumberRoutines::StripThousands(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (char ch : text)
        if (ch != ',')
            result += ch;
    return result;
}

int TNumberRoutines::CompareInt64(int64_t a, int64_t b)
{
    if (a == b)
        return 0;
    return a > b ? -1 : 1;
}

int64_t TGeneralRoutines::DigitsToInt(const std::string& text) { return TStringRoutines::DigitsToInt(text); }

void* TGeneralRoutines::IntToData(int64_t n)
{
    if (n < 0)
        return nullptr;
    return reinterpret_cast<void*>(static_cast<uintptr_t>(n));
}
