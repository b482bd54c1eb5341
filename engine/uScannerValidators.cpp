#include "engine/uScannerValidators.h"

#include "engine/uEngineConstants.h"
#include "engine/uEngineImplementation.h"
#include "platform/PlatformDirectory.h"
#include "platform/PlatformError.h"
#include "platform/PlatformFiles.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"
#include "support/VelaTimeRoutines.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Creation and access times: Windows before XP does not give them reliably; other systems
// give what their file system records.
bool FileTimesAvailable()
{
#ifdef _WIN32
    return TDetect::GetWindowsVersion() > wv2000;
#else
    return true;
#endif
}

bool ShortcutsResolvable()
{
#ifdef _WIN32
    return TDetect::GetWindowsVersion() > wv2000;
#else
    return true;
#endif
}

bool Exists(const std::string& path)
{
    return TDirectoryRoutines::IsDirectory(path) || platform::FileExists(path);
}

// The first " (x86)" removed, letter case ignored.
std::string WithoutX86(const std::string& path)
{
    static const std::string marker = " (x86)";
    auto lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    const auto at = lower.find(marker);
    if (at == std::string::npos)
        return path;
    return path.substr(0, at) + path.substr(at + marker.size());
}

void UpperCase(char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        text[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
}

// Knuth-Morris-Pratt search: linear in the piece whatever the text, so long texts of repeated
// characters cannot make a search quadratic.
class TTextSearch {
public:
    explicit TTextSearch(const std::string& text) : text_(text), failure_(text.size(), 0)
    {
        for (size_t i = 1, k = 0; i < text_.size(); ++i) {
            while (k > 0 && text_[i] != text_[k])
                k = failure_[k - 1];
            if (text_[i] == text_[k])
                ++k;
            failure_[i] = k;
        }
    }

    bool FoundIn(const char* piece, size_t length) const
    {
        for (size_t i = 0, k = 0; i < length; ++i) {
            while (k > 0 && piece[i] != text_[k])
                k = failure_[k - 1];
            if (piece[i] == text_[k] && ++k == text_.size())
                return true;
        }
        return false;
    }

private:
    const std::string& text_;
    std::vector<size_t> failure_;
};

// Whole days of a date-time (dates of this program are never before 1899).
double DayOf(double dateTime)
{
    return std::floor(dateTime);
}

} // namespace

TScannerValidator::TScannerValidator(TValidatorType type, const TValidatorParameters& parameters) : type_(type)
{
    parameters_.reserve(parameters.size());
    for (const auto& parameter : parameters)
        parameters_.push_back(parameter.Text());
}

int64_t TScannerValidator::IntegerParameter(size_t index) const
{
    if (index >= parameters_.size())
        return 0;
    const std::string& text = parameters_[index];
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || end == text.c_str() || *end != '\0')
        return 0;
    return value;
}

bool TScannerValidator::BooleanParameter(size_t index) const
{
    return index < parameters_.size() && (parameters_[index] == "-1" || parameters_[index] == "1");
}

bool TScannerValidator::Validate(const std::string& path)
{
    path_ = path;
    switch (type_) {
    case svNone:
        return true;
    case svEmptyDirectory:
        return ValidateEmptyDirectory();
    case svInvalidShortcut:
        return ValidateInvalidShortcut();
    case svFileDate:
        return parameters_.size() >= 2 && ValidateFileDate();
    case svFileAttributes:
        return parameters_.size() >= 4 && ValidateFileAttributes();
    case svFileContents:
        return !parameters_.empty() && ValidateFileContents();
    case svFileSize:
        return parameters_.size() >= 2 && ValidateFileSize();
    }
    return false;
}

bool TScannerValidator::ValidateEmptyDirectory()
{
    return TDirectoryRoutines::IsEmptyDirectory(path_);
}

bool TScannerValidator::ValidateInvalidShortcut()
{
    if (!ShortcutsResolvable())
        return false;
    TWow64RedirectionOff redirection;
    std::string target;
    switch (TAPIRoutines::JudgeShortcut(path_, target)) {
    case TAPIRoutines::stUnjudged:
        // What cannot be judged is kept: only a shortcut known to lead nowhere is invalid.
        return false;
    case TAPIRoutines::stMissingProgram:
        return true;
    case TAPIRoutines::stTarget:
        break;
    }
    if (redirection.Off())
        target = TAPIRoutines::MapProgramFilesVariable(target);
    target = TAPIRoutines::ExpandEnvironment(target);
    if (target.empty() || Exists(target))
        return false;
    if (redirection.Off()) {
        const std::string native = WithoutX86(target);
        if (native != target && Exists(native))
            return false;
    }
    return true;
}

bool TScannerValidator::ValidateFileDate()
{
    const int64_t mode = IntegerParameter(0);
    double day = 0;
    if (!TValidatorDateText::Parse(parameters_[1], day))
        day = TTimeRoutines::Now();

    platform::DirectoryEntry entry;
    if (!platform::QueryEntry(path_, entry))
        platform::RaiseLastOSError("Reading the times of \"" + path_ + "\"");
    if (entry.lastWriteTime == platform::kTimeNotRecorded)
        return false;
    // Last-write times compare at the two-second resolution of the system's file dates.
    const int64_t twoSeconds = 20000000;
    const double written = TFileRoutines::FileTimeToLocalDateTime(entry.lastWriteTime - entry.lastWriteTime % twoSeconds);

    switch (mode) {
    case dmCreated:
    case dmModified:
    case dmAccessed: {
        if (!FileTimesAvailable())
            return false;
        const int64_t time = mode == dmCreated ? entry.creationTime
                             : mode == dmModified ? entry.lastWriteTime
                                                  : entry.lastAccessTime;
        // A time the file system does not record never matches.
        if (time == platform::kTimeNotRecorded)
            return false;
        return DayOf(TFileRoutines::FileTimeToLocalDateTime(time)) == DayOf(day);
    }
    case dmLaterThan:
        return day < written;
    case dmEarlierThan:
        return day > written;
    }
    return false;
}

bool TScannerValidator::ValidateFileAttributes()
{
    const uint32_t attributes = platform::GetAttributesAt(path_);
    // An unreadable object has no attributes to match.
    if (attributes == platform::kInvalidAttributes)
        return false;
    uint32_t expected = attributes;
    const struct {
        uint32_t bit;
        size_t parameter;
    } flags[] = {{faArchive, 0}, {faReadOnly, 1}, {faHidden, 2}, {faSysFile, 3}};
    for (const auto& flag : flags)
        expected = BooleanParameter(flag.parameter) ? (expected | flag.bit) : (expected & ~flag.bit);
    return expected == attributes;
}

bool TScannerValidator::ValidateFileContents()
{
    std::string text = parameters_[0];
    if (text.empty())
        return true;
    const bool caseSensitive = BooleanParameter(1);
    if (!caseSensitive)
        UpperCase(&text[0], text.size());

    platform::FileHandle file(path_, platform::FileAccess::ReadShared);
    if (!file.IsOpen())
        throw EOSError(file.ErrorCode(), "Cannot open \"" + path_ + "\": " + platform::SystemErrorMessage(file.ErrorCode()));
    if (file.Size() < 0)
        throw EOSError(file.ErrorCode(), "Cannot size \"" + path_ + "\"");
    // Holes read as zero bytes, which no match spans: only the parts holding data are read, so a
    // huge sparse file costs what it stores, not what it claims.
    std::vector<std::pair<int64_t, int64_t>> ranges;
    if (!file.AllocatedRanges(ranges))
        throw EOSError(file.ErrorCode(), "Cannot read \"" + path_ + "\"");
    for (size_t i = 0; i < ranges.size(); ++i) {
        int64_t start = ranges[i].first, length = ranges[i].second;
        while (i + 1 < ranges.size() && ranges[i + 1].first == start + length)
            length += ranges[++i].second;
        if (RangeHoldsText(file, start, length, text, caseSensitive))
            return true;
        if (stopRequested_ && stopRequested_())
            return false;
    }
    return false;
}

bool TScannerValidator::RangeHoldsText(platform::FileHandle& file, int64_t position, int64_t remaining,
                                       const std::string& text, bool caseSensitive)
{
    // Each read steps back by the text's length so a match across two reads is found; a chunk
    // of at least twice that length keeps every read moving forward by at least the length.
    const size_t chunk = std::max(kContentsChunk, 2 * text.size());
    const TTextSearch search(text);
    std::vector<char> buffer(chunk + 1);
    while (remaining > 0) {
        if (stopRequested_ && stopRequested_())
            return false;
        const int64_t wanted = std::min<int64_t>(remaining, static_cast<int64_t>(chunk));
        if (!file.Seek(position))
            throw EOSError(file.ErrorCode(), "Cannot seek in \"" + path_ + "\"");
        const int64_t got = file.Read(buffer.data(), wanted);
        if (got < 0)
            throw EOSError(file.ErrorCode(), "Cannot read \"" + path_ + "\"");
        if (got == 0)
            break;
        buffer[static_cast<size_t>(got)] = '\0';
        // The chunk is searched piece by piece between zero bytes: a match never spans one.
        char* piece = buffer.data();
        char* const end = buffer.data() + got;
        while (piece < end) {
            const size_t length = std::strlen(piece);
            if (!caseSensitive)
                UpperCase(piece, length);
            if (length >= text.size() && search.FoundIn(piece, length))
                return true;
            piece += length + 1;
        }
        remaining -= got;
        position += got;
        // A short read is the real end, whatever the size said (a file shrinking meanwhile, or a
        // system file that reports more than it holds): stepping back from there would read the
        // same bytes forever.
        if (got < wanted || remaining <= 0)
            break;
        position -= static_cast<int64_t>(text.size());
        remaining += static_cast<int64_t>(text.size());
    }
    return false;
}

bool TScannerValidator::ValidateFileSize()
{
    // A directory has no size of its own: as -1 bytes it counts 0 Ko.
    const int64_t bytes = TDirectoryRoutines::IsDirectory(path_) ? -1 : TFileRoutines::GetFileSizeBytes(path_);
    const auto size = static_cast<uint64_t>(TNumberRoutines::BytesToKo(bytes));
    const auto minimum = static_cast<uint64_t>(IntegerParameter(0));
    const auto maximum = static_cast<uint64_t>(IntegerParameter(1));
    if (minimum == 0 && maximum == 0)
        return size == 0;
    if (maximum == 0)
        return size >= minimum;
    if (minimum == 0)
        return size <= maximum;
    return minimum <= size && size <= maximum;
}

TValidatorSet TScannerValidators::GetExplicitTypes()
{
    TValidatorSet types;
    for (const auto& validator : validators_)
        if (validator->IsExplicit())
            types.Include(validator->GetValidatorType());
    return types;
}

void TScannerValidators::Add(TValidatorType type, const TValidatorParameters& parameters)
{
    if (validators_.size() == validators_.capacity())
        validators_.reserve(validators_.size() + ValidatorsGrowth);
    auto validator = std::make_shared<TScannerValidator>(type, parameters);
    validator->SetStopRequest(stopRequested_);
    validators_.push_back(std::move(validator));
}

void TScannerValidators::SetStopRequest(std::function<bool()> stopRequested)
{
    stopRequested_ = std::move(stopRequested);
    for (const auto& validator : validators_)
        validator->SetStopRequest(stopRequested_);
}

bool TScannerValidators::Validate(TValidatorSet active, const std::string& path)
{
    if (active == TValidatorSet{svNone})
        return true;
    for (const auto& validator : validators_) {
        if (!active.Contains(validator->GetValidatorType()))
            continue;
        if (ignoreOnImplicit_ && validator->IsExplicit())
            continue;
        if (!validator->Validate(path))
            return false;
    }
    return true;
}
