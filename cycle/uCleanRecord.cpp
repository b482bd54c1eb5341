#include "cycle/uCleanRecord.h"

#include "cycle/uCycleSetup.h"
#include "engine/uEngineConstants.h"
#include "platform/PlatformEnvironment.h"
#include "platform/PlatformFiles.h"
#include "platform/PlatformShell.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"
#include "support/VelaTimeRoutines.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace clean_record {

namespace {

constexpr int kLocalAppData = 28;  // the shell's folder of per-user, per-machine program data
constexpr int64_t kFileTimeOfUnixEpoch = 116444736000000000;  // 1970-01-01 in 100 ns since 1601
const char* const kPrefix = "clean-";
const char* const kSuffix = ".json";
const char* const kPartial = ".partial"; // what platform::WriteFileWhole writes first

int64_t NowMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

int64_t FloorDiv(int64_t value, int64_t divisor)
{
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

// seconds since 1970 and a fraction of digits digits as "2026-12-08T01:28:14.123Z".
std::string UtcText(int64_t seconds, int64_t fraction, int digits, bool compact)
{
    const int64_t days = FloorDiv(seconds, 86400);
    const int64_t inDay = seconds - days * 86400;
    int64_t year = 0;
    unsigned month = 0, day = 0;
    TTimeRoutines::CivilFromDays(days, year, month, day);
    char text[64];
    const char* format = compact ? "%04lld%02u%02uT%02d%02d%02d" : "%04lld-%02u-%02uT%02d:%02d:%02d";
    std::snprintf(text, sizeof text, format, static_cast<long long>(year), month, day, static_cast<int>(inDay / 3600),
                  static_cast<int>(inDay / 60 % 60), static_cast<int>(inDay % 60));
    std::string result = text;
    if (digits > 0) {
        std::snprintf(text, sizeof text, "%0*lld", digits, static_cast<long long>(fraction));
        result += compact ? "-" : ".";
        result += text;
    }
    return result + (compact ? "" : "Z");
}

std::string IdentityWord(uint64_t value)
{
    return std::to_string(value);
}

Json Identity(const platform::FileIdentity& identity)
{
    return {{"volume", IdentityWord(identity.volume)}, {"file", IdentityWord(identity.file)}};
}

} // namespace

const char* ReasonWord(TReason reason)
{
    switch (reason) {
    case TReason::Unchecked: return "unchecked";
    case TReason::Declined: return "declined";
    case TReason::ChangedSinceScan: return "changedSinceScan";
    case TReason::ChangedSinceReview: return "changedSinceReview";
    case TReason::InUse: return "inUse";
    case TReason::Stopped: return "stopped";
    case TReason::NotReached: return "notReached";
    case TReason::NoRecycleBin: return "noRecycleBin";
    default: return "failed";
    }
}

namespace {

std::string StatusCode(const std::string& text)
{
    if (text.find("stopped by an error") != std::string::npos)
        return "failed";
    if (text.find("stopped") != std::string::npos)
        return "stopped";
    return "complete";
}

bool IsRecordName(const std::string& name)
{
    const size_t prefix = std::char_traits<char>::length(kPrefix), suffix = std::char_traits<char>::length(kSuffix);
    return name.size() > prefix + suffix && name.compare(0, prefix, kPrefix) == 0 &&
           name.compare(name.size() - suffix, suffix, kSuffix) == 0;
}

std::string Utf8Name(const fs::path& path)
{
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The record files of folder by name, which is by time: oldest first.
std::string RecordText(const Json& record)
{
    return record.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::vector<fs::path> RecordFiles(const fs::path& folder, std::vector<fs::path>* partials = nullptr)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = Utf8Name(it->path().filename());
        std::error_code kind;
        if (!it->is_regular_file(kind))
            continue;
        if (IsRecordName(name))
            files.push_back(it->path());
        else if (partials && name.size() > 14 && name.compare(name.size() - 8, 8, kPartial) == 0 &&
                 name.compare(0, 6, kPrefix) == 0)
            partials->push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The oldest beyond the bound go; so do the leftovers of writes a crash cut short (an hour old:
// one that young may be another clean's, still being written).
void Prune(const fs::path& folder, const fs::path& written)
{
    std::vector<fs::path> partials;
    std::vector<fs::path> files = RecordFiles(folder, &partials);
    std::error_code error;
    for (size_t i = 0; i + kKeptRecords < files.size(); ++i)
        fs::remove(files[i], error);
    const auto now = fs::last_write_time(written, error);
    if (error)
        return;
    for (const fs::path& partial : partials) {
        std::error_code age;
        const auto time = fs::last_write_time(partial, age);
        if (!age && now - time > std::chrono::hours(1))
            fs::remove(partial, age);
    }
}

} // namespace

// ---- Recorder ----

void TCleanRecorder::Begin(int32_t objectCount)
{
    outcomes_.assign(static_cast<size_t>(std::max(0, objectCount)), TObjectOutcome());
    status_.clear();
    started_ = NowMilliseconds();
}

void TCleanRecorder::Leave(int32_t index, TReason reason)
{
    if (index >= 0 && static_cast<size_t>(index) < outcomes_.size())
        outcomes_[static_cast<size_t>(index)] = {TOutcome::Skipped, reason, 0, {}};
}

void TCleanRecorder::ObjectSkipped(int32_t index, TSkipReason reason)
{
    if (index < 0 || static_cast<size_t>(index) >= outcomes_.size())
        return;
    TObjectOutcome& outcome = outcomes_[static_cast<size_t>(index)];
    // What the caller left out before the clean keeps its own reason.
    if (outcome.outcome == TOutcome::Skipped)
        return;
    outcome.outcome = TOutcome::Skipped;
    switch (reason) {
    case srUnchecked: outcome.reason = TReason::Unchecked; break;
    case srDeclined: outcome.reason = TReason::Declined; break;
    case srChanged: outcome.reason = TReason::ChangedSinceScan; break;
    case srInUse: outcome.reason = TReason::InUse; break;
    case srStopped: outcome.reason = TReason::Stopped; break;
    case srNoBin: outcome.reason = TReason::NoRecycleBin; break;
    default: outcome.reason = TReason::Failed; break;
    }
}

void TCleanRecorder::ObjectCleaned(int32_t index, bool removed, int64_t removedBytes)
{
    if (index < 0 || static_cast<size_t>(index) >= outcomes_.size())
        return;
    TObjectOutcome& outcome = outcomes_[static_cast<size_t>(index)];
    // A move to the bin is told first, and counts as cleaned: it keeps where the object went.
    if (removed && outcome.outcome == TOutcome::Moved) {
        outcome.removedBytes = removedBytes;
    } else if (removed) {
        outcome = {TOutcome::Removed, TReason::None, removedBytes, {}};
    } else if (outcome.outcome != TOutcome::Skipped) {
        outcome.outcome = TOutcome::Skipped;
        outcome.reason = TReason::Failed;
    }
}

void TCleanRecorder::ObjectMoved(int32_t index, const TMovedObject& moved)
{
    if (index >= 0 && static_cast<size_t>(index) < outcomes_.size())
        outcomes_[static_cast<size_t>(index)] = {TOutcome::Moved, TReason::None, moved.bytes, moved.destination,
                                                 moved.modified};
}

const TObjectOutcome& TCleanRecorder::Outcome(int32_t index) const
{
    static const TObjectOutcome none;
    return index >= 0 && static_cast<size_t>(index) < outcomes_.size() ? outcomes_[static_cast<size_t>(index)] : none;
}

Json TCleanRecorder::Build(const TCleanFacts& facts, ICleanupList& objects, ICleanupOptionsList& options) const
{
    Json record = {{"recordVersion", kRecordVersion},
                   {"program", "Quillsweep"},
                   {"version", TDetect::GetProgramVersion()},
                   {"started", UnixMillisecondsText(started_)},
                   {"finished", UnixMillisecondsText(NowMilliseconds())},
                   {"from", facts.from},
                   {"review", facts.review},
                   {"mode", facts.recycle ? "recycle" : facts.secureDelete ? "secureDelete" : "delete"}};
    if (facts.secureDelete) {
        record["passes"] = facts.passes;
        record["randomPattern"] = facts.randomPattern;
    }
    AddPaths(record, "targets", facts.targets);
    Json chosen = Json::array();
    for (int option = 0; option < CleanupOptionCount; ++option)
        if (facts.options.Contains(option))
            chosen.push_back(option);
    record["options"] = std::move(chosen);
    record["status"] = {{"code", StatusCode(status_)}, {"text", status_}};

    Json list = Json::array();
    int64_t counts[4] = {}, sizes[4] = {};
    for (int32_t i = 0; i < objects.GetCount(); ++i) {
        const auto item = objects.GetItem(i);
        if (!item)
            continue;
        const bool bin = item->GetShellFolder() == ShellFolderRecycleBin;
        const auto option = options.GetOption(item->GetOption());
        const bool folder = option && option->GetObjectKind() == okDirectories;
        const int64_t bytes = item->GetByteSize() >= 0 ? item->GetByteSize() : item->GetSize() * 1024;
        Json entry = Json::object();
        if (bin) {
            const std::string trash = platform::UserTrashDirectory();
            AddPath(entry, "path", trash.empty() ? "shell:RecycleBinFolder" : trash);
            entry["itemCount"] = TStringRoutines::DigitsToIntDef(item->GetPath());
        } else {
            AddPath(entry, "path", item->GetPath());
        }
        entry["kind"] = bin ? "recycleBin" : folder ? "folder" : "file";
        const TObjectOrigin& origin = item->GetOrigin();
        entry["link"] = origin.Known() && origin.link;
        entry["size"] = bytes;
        if (origin.Known())
            entry["identity"] = Identity(origin.identity);
        entry["safety"] = TCycleSetup::SafetyWord(item->GetSafety());
        entry["option"] = item->GetOption();
        entry["title"] = item->GetOptionName();
        const TObjectOutcome& outcome = Outcome(i);
        // Left out of the clean, but checked by the user who reviewed it.
        entry["checked"] = item->GetChecked() || outcome.reason == TReason::ChangedSinceReview;
        switch (outcome.outcome) {
        case TOutcome::Removed:
            entry["outcome"] = "removed";
            entry["removedSize"] = outcome.removedBytes;
            ++counts[0];
            sizes[0] += outcome.removedBytes;
            break;
        case TOutcome::Moved:
            entry["outcome"] = "moved";
            AddPath(entry, "destination", outcome.destination);
            entry["movedSize"] = outcome.removedBytes;
            if (outcome.modified >= 0)
                entry["movedModified"] = IdentityWord(static_cast<uint64_t>(outcome.modified));
            ++counts[1];
            sizes[1] += outcome.removedBytes;
            break;
        default:
            // Not reached: a stop or a failure ended the clean before it.
            entry["outcome"] = "skipped";
            entry["reason"] = ReasonWord(outcome.outcome == TOutcome::NotReached ? TReason::NotReached : outcome.reason);
            ++counts[2];
            sizes[2] += bytes;
            break;
        }
        list.push_back(std::move(entry));
    }
    record["totals"] = {{"removedCount", counts[0]}, {"removedSize", sizes[0]}, {"movedCount", counts[1]},
                        {"movedSize", sizes[1]},     {"skippedCount", counts[2]}, {"skippedSize", sizes[2]}};
    record["objects"] = std::move(list);
    return record;
}

// ---- Files ----

std::string RecordsFolder()
{
    std::string base;
    if (platform::PathSeparator() == '\\') {
        if (!platform::GetEnvironmentValue("LOCALAPPDATA", base) || base.empty())
            base = platform::SpecialFolderPath(kLocalAppData);
        return base.empty() ? std::string() : TFileRoutines::IncludeTrailingSeparator(base) + "Quillsweep\\Records";
    }
    // A relative XDG_STATE_HOME is to be ignored, as the base directory rules say.
    if (!platform::GetEnvironmentValue("XDG_STATE_HOME", base) || base.empty() || base[0] != '/') {
        const std::string home = platform::HomeDirectory();
        base = home.empty() ? std::string() : TFileRoutines::IncludeTrailingSeparator(home) + ".local/state";
    }
    return base.empty() ? std::string() : TFileRoutines::IncludeTrailingSeparator(base) + "quillsweep/records";
}

bool SaveRecord(const std::string& folder, const Json& record, std::string& file, std::string& error)
{
    if (folder.empty()) {
        error = "there is no folder for the records of this user";
        return false;
    }
    const fs::path dir = fs::u8path(folder);
    std::error_code code;
    fs::create_directories(dir, code);
    if (!fs::is_directory(dir, code)) {
        error = "\"" + folder + "\" cannot be created";
        return false;
    }
    // The record names the user's files: no one else needs to read it.
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::replace, code);

    const int64_t now = NowMilliseconds();
    const int64_t seconds = FloorDiv(now, 1000);
    const std::string stem = kPrefix + UtcText(seconds, now - seconds * 1000, 3, true);
    std::string name;
    // Numbered within the millisecond, so that the names sort as the records were written.
    for (int n = 0;; ++n) {
        char number[16];
        std::snprintf(number, sizeof number, "-%03d", n);
        name = stem + number + kSuffix;
        if (!fs::exists(dir / fs::u8path(name), code))
            break;
    }
    const std::string target = Utf8Name(dir / fs::u8path(name));
    if (!platform::WriteFileWhole(target, RecordText(record))) {
        error = "\"" + folder + "\" cannot be written";
        return false;
    }
    file = target;
    Prune(dir, dir / fs::u8path(name));
    return true;
}

std::vector<TStoredRecord> ReadRecords(const std::string& folder)
{
    std::vector<TStoredRecord> records;
    if (folder.empty())
        return records;
    for (const fs::path& path : RecordFiles(fs::u8path(folder))) {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            continue;
        std::ostringstream text;
        text << in.rdbuf();
        Json record = Json::parse(text.str(), nullptr, false);
        if (record.is_discarded() || !record.is_object() || !record.contains("recordVersion") ||
            !record["recordVersion"].is_number_integer() || !record.contains("objects") ||
            !record["objects"].is_array())
            continue;
        records.push_back({Utf8Name(path), std::move(record)});
    }
    return records;
}

std::string RecordId(const std::string& file)
{
    const std::string name = Utf8Name(fs::u8path(file).filename());
    const size_t suffix = std::char_traits<char>::length(kSuffix);
    return IsRecordName(name) ? name.substr(0, name.size() - suffix) : name;
}

bool UpdateRecord(const std::string& file, const Json& record, std::string& error)
{
    if (!platform::WriteFileWhole(file, RecordText(record))) {
        error = "\"" + file + "\" cannot be written";
        return false;
    }
    return true;
}

std::string WriteRecord(const TCleanRecorder& recorder, const TCleanFacts& facts, ICleanupList& objects,
                        ICleanupOptionsList& options, std::string* file)
{
    std::string written, error;
    try {
        const std::string folder = RecordsFolder();
        if (SaveRecord(folder, recorder.Build(facts, objects, options), written, error)) {
            if (file)
                *file = written;
            return {};
        }
    } catch (const std::exception& failure) {
        error = failure.what();
    }
    return "The record of this clean could not be written: " + error + ".";
}

// ---- Texts ----

// Well-formed UTF-8 as the JSON writer reads it: no stray, cut or overlong sequence, no surrogate,
// nothing past U+10FFFF. Anything else it writes as U+FFFD, losing the bytes.
bool IsUtf8(const std::string& text)
{
    static const uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        // 0: no character starts with this byte.
        const size_t length = lead < 0x80 ? 1 : lead < 0xC0 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 0;
        if (length == 0)
            return false;
        uint32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
        if (length > text.size() - i)
            return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        if (length > 1 && (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
            return false;
        i += length;
    }
    return true;
}

std::string EscapedBytes(const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string result;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '%') {
            result += c;
        } else {
            result += '%';
            result += kHex[byte >> 4];
            result += kHex[byte & 0xF];
        }
    }
    return result;
}

void AddPath(Json& object, const std::string& key, const std::string& path)
{
    object[key] = path;
    if (!IsUtf8(path))
        object[key + "Bytes"] = EscapedBytes(path);
}

void AddPaths(Json& object, const std::string& key, const std::vector<std::string>& paths)
{
    object[key] = paths;
    if (std::all_of(paths.begin(), paths.end(), IsUtf8))
        return;
    auto bytes = Json::array();
    for (const std::string& path : paths)
        bytes.push_back(IsUtf8(path) ? Json() : Json(EscapedBytes(path)));
    object[key + "Bytes"] = bytes;
}

std::string FileTimeText(int64_t fileTime)
{
    const int64_t units = fileTime - kFileTimeOfUnixEpoch;
    const int64_t seconds = FloorDiv(units, 10000000);
    return UtcText(seconds, units - seconds * 10000000, 7, false);
}

bool ParseFileTimeText(const std::string& text, int64_t& fileTime)
{
    // Exactly the form FileTimeText writes: 2026-12-08T01:28:14.1234567Z.
    if (text.size() != 28 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':' || text[19] != '.' || text[27] != 'Z')
        return false;
    auto number = [&](size_t at, size_t length, int64_t& value) {
        value = 0;
        for (size_t i = at; i < at + length; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return false;
            value = value * 10 + (text[i] - '0');
        }
        return true;
    };
    int64_t year, month, day, hour, minute, second, fraction;
    if (!number(0, 4, year) || !number(5, 2, month) || !number(8, 2, day) || !number(11, 2, hour) ||
        !number(14, 2, minute) || !number(17, 2, second) || !number(20, 7, fraction))
        return false;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59)
        return false;
    const int64_t days = TTimeRoutines::DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    fileTime = ((days * 86400 + hour * 3600 + minute * 60 + second) * 10000000 + fraction) + kFileTimeOfUnixEpoch;
    return true;
}

std::string UnixMillisecondsText(int64_t milliseconds)
{
    const int64_t seconds = FloorDiv(milliseconds, 1000);
    return UtcText(seconds, milliseconds - seconds * 1000, 3, false);
}

} // namespace clean_record
