#include "cycle/uRestore.h"

#include "platform/PlatformFiles.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>

namespace restore {

namespace {

bool IsSeparator(char c)
{
    return c == '/' || (platform::PathSeparator() == '\\' && c == '\\');
}

// The names of path from at on; false when one climbs with "..".
bool SplitNames(const std::string& path, size_t at, std::vector<std::string>& names)
{
    names.clear();
    for (size_t start = at; start < path.size();) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        const std::string name = path.substr(start, end - start);
        if (name == "..")
            return false;
        if (!name.empty() && name != ".")
            names.push_back(name);
        start = end + 1;
    }
    return true;
}

// The root of path ("/", "C:\", "\\server\share\") and the names below it; false for a relative
// path or one that climbs with "..".
bool SplitPath(const std::string& path, std::string& root, std::vector<std::string>& names)
{
    if (platform::PathSeparator() != '\\') {
        if (path.empty() || path[0] != '/')
            return false;
        root = "/";
        return SplitNames(path, 1, names);
    }
    std::string rest = path;
    if (rest.compare(0, 8, "\\\\?\\UNC\\") == 0)
        rest = "\\\\" + rest.substr(8);
    else if (rest.compare(0, 4, "\\\\?\\") == 0)
        rest = rest.substr(4);
    size_t at = 0;
    if (rest.size() >= 3 && rest[1] == ':' && IsSeparator(rest[2])) {
        at = 3;
    } else if (rest.size() > 2 && IsSeparator(rest[0]) && IsSeparator(rest[1])) {
        // \\server\share\: the share is the root.
        size_t end = 2;
        for (int step = 0; step < 2 && end != std::string::npos; ++step)
            end = rest.find_first_of("\\/", end + (step == 0 ? 0 : 1));
        if (end == std::string::npos)
            return false;
        at = end + 1;
    } else {
        return false;
    }
    root = rest.substr(0, at);
    if (root.size() == 3)
        root[2] = '\\';
    return SplitNames(rest, at, names);
}

std::string Joined(const std::string& root, const std::vector<std::string>& names, size_t count)
{
    std::string path = root;
    for (size_t i = 0; i < count; ++i)
        path += (i == 0 ? "" : std::string(1, platform::PathSeparator())) + names[i];
    return path;
}

int HexValue(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

bool ParseIdentityWord(const Json& value, uint64_t& number)
{
    if (!value.is_string())
        return false;
    const std::string text = value.get<std::string>();
    if (text.empty() || text.size() > 20 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    number = std::strtoull(text.c_str(), nullptr, 10);
    return true;
}

bool Pending(const Json& object)
{
    return object.is_object() && object.value("outcome", "") == "moved" && object.contains("destination") &&
           !object.contains("restoredAt");
}

} // namespace

const char* OutcomeWord(TOutcome outcome)
{
    switch (outcome) {
    case TOutcome::Restored: return "restored";
    case TOutcome::AlreadyRestored: return "alreadyRestored";
    case TOutcome::NotInBin: return "notInBin";
    case TOutcome::PlaceTaken: return "placeTaken";
    default: return "refused";
    }
}

std::string OutcomeText(TOutcome outcome)
{
    switch (outcome) {
    case TOutcome::Restored: return "Restored";
    case TOutcome::AlreadyRestored: return "Already restored";
    case TOutcome::NotInBin: return "No longer in the bin";
    case TOutcome::PlaceTaken: return "Original place taken, left in the bin";
    default: return "Refused by the system, left in the bin";
    }
}

platform::BinEntry BinEntryOf(const std::string& destination)
{
    platform::BinEntry entry;
    size_t slash = destination.size();
    while (slash > 0 && !IsSeparator(destination[slash - 1]))
        --slash;
    if (slash == 0)
        return entry;
    entry.name = destination.substr(slash);
    std::string folder = destination.substr(0, slash - 1);
    size_t parent = folder.size();
    while (parent > 0 && !IsSeparator(folder[parent - 1]))
        --parent;
    if (folder.substr(parent) == "files" && parent > 0) {
        // A freedesktop Trash, also Wine's bin: info/NAME.trashinfo beside files/NAME.
        entry.base = folder.substr(0, parent > 1 ? parent - 1 : parent);
        entry.entryFolder = "files";
        entry.recordFolder = "info";
        entry.recordName = entry.name + ".trashinfo";
    } else {
        entry.base = folder.empty() ? destination.substr(0, 1) : folder;
        // A Windows bin: $R... holds the object, $I... beside it says where it came from.
        if (entry.name.size() > 2 && (entry.name.compare(0, 2, "$R") == 0 || entry.name.compare(0, 2, "$r") == 0))
            entry.recordName = "$I" + entry.name.substr(2);
    }
    return entry;
}

platform::RestorePlace PlaceOf(const std::string& path, const std::vector<std::string>& targets)
{
    platform::RestorePlace place;
    std::string root;
    std::vector<std::string> names;
    if (!SplitPath(path, root, names) || names.empty())
        return place;
    size_t anchored = 0;
    for (const std::string& target : targets) {
        std::string targetRoot;
        std::vector<std::string> targetNames;
        if (!SplitPath(target, targetRoot, targetNames) || targetRoot != root || targetNames.size() >= names.size() ||
            targetNames.size() <= anchored)
            continue;
        bool holds = true;
        for (size_t i = 0; i < targetNames.size() && holds; ++i)
            holds = targetNames[i] == names[i];
        if (holds && platform::DirectoryExists(Joined(root, targetNames, targetNames.size())))
            anchored = targetNames.size();
    }
    place.anchor = Joined(root, names, anchored);
    place.folders.assign(names.begin() + static_cast<std::ptrdiff_t>(anchored), names.end() - 1);
    place.name = names.back();
    return place;
}

std::string ExactPath(const Json& object, const std::string& key)
{
    const auto bytes = object.find(key + "Bytes");
    if (bytes == object.end() || !bytes->is_string()) {
        const auto text = object.find(key);
        return text != object.end() && text->is_string() ? text->get<std::string>() : std::string();
    }
    const std::string escaped = bytes->get<std::string>();
    std::string path;
    for (size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '%' && i + 2 < escaped.size() && HexValue(escaped[i + 1]) >= 0 && HexValue(escaped[i + 2]) >= 0) {
            path += static_cast<char>(HexValue(escaped[i + 1]) * 16 + HexValue(escaped[i + 2]));
            i += 2;
        } else {
            path += escaped[i];
        }
    }
    return path;
}

size_t MovedCount(const Json& record)
{
    size_t count = 0;
    if (record.contains("objects") && record["objects"].is_array())
        for (const Json& object : record["objects"])
            count += object.is_object() && object.value("outcome", "") == "moved";
    return count;
}

std::vector<size_t> PendingObjects(const Json& record)
{
    std::vector<size_t> pending;
    if (record.contains("objects") && record["objects"].is_array())
        for (size_t i = 0; i < record["objects"].size(); ++i)
            if (Pending(record["objects"][i]))
                pending.push_back(i);
    return pending;
}

TOutcome RestoreObject(const Json& record, const Json& object, std::string& detail)
{
    detail.clear();
    platform::RestoreExpectation expected;
    const std::string kind = object.value("kind", "");
    const auto identity = object.find("identity");
    if ((kind != "file" && kind != "folder") || identity == object.end() || !identity->is_object() ||
        !ParseIdentityWord(identity->value("volume", Json()), expected.identity.volume) ||
        !ParseIdentityWord(identity->value("file", Json()), expected.identity.file)) {
        // Without its identity no entry of the bin can be told to be this object.
        detail = "the record does not say which object it was";
        return TOutcome::Refused;
    }
    // A link goes as itself, whichever option found it: one that leads to a folder is a "folder".
    expected.kind = object.value("link", false) ? platform::RestoreKind::Link
                    : kind == "folder"          ? platform::RestoreKind::Folder
                                                : platform::RestoreKind::File;
    for (const char* key : {"size", "movedSize"})
        if (object.contains(key) && object[key].is_number_integer())
            expected.fileSizes.push_back(object[key].get<int64_t>());
    // Records written before it was kept do without.
    uint64_t modified = 0;
    if (object.contains("movedModified") && ParseIdentityWord(object["movedModified"], modified) &&
        modified <= static_cast<uint64_t>(INT64_MAX))
        expected.modified = static_cast<int64_t>(modified);

    std::vector<std::string> targets;
    if (record.contains("targets") && record["targets"].is_array()) {
        Json holder = {{"t", nullptr}, {"tBytes", nullptr}};
        for (size_t i = 0; i < record["targets"].size(); ++i) {
            holder["t"] = record["targets"][i];
            holder["tBytes"] = record.contains("targetsBytes") && record["targetsBytes"].is_array() &&
                                       i < record["targetsBytes"].size()
                                   ? record["targetsBytes"][i]
                                   : Json();
            targets.push_back(ExactPath(holder, "t"));
        }
    }
    const std::string destination = ExactPath(object, "destination");
    if (destination.empty()) {
        // Windows XP's bin keeps its own layout, and the clean could not say where the object went.
        detail = "the record does not say where in the bin it went";
        return TOutcome::Refused;
    }
    const platform::BinEntry bin = BinEntryOf(destination);
    const platform::RestorePlace place = PlaceOf(ExactPath(object, "path"), targets);
    if (bin.name.empty() || place.name.empty()) {
        detail = "the record's paths cannot be read";
        return TOutcome::Refused;
    }
    switch (platform::RestoreFromBin(bin, place, expected, detail)) {
    case platform::RestoreOutcome::Restored: return TOutcome::Restored;
    case platform::RestoreOutcome::AlreadyRestored: return TOutcome::AlreadyRestored;
    case platform::RestoreOutcome::NotInBin: return TOutcome::NotInBin;
    case platform::RestoreOutcome::PlaceTaken: return TOutcome::PlaceTaken;
    default: return TOutcome::Refused;
    }
}

std::vector<TObjectResult> RestoreRecord(Json& record, const std::function<bool()>& stop)
{
    std::vector<TObjectResult> results;
    for (const size_t index : PendingObjects(record)) {
        if (stop && stop())
            break;
        Json& object = record["objects"][index];
        TObjectResult result;
        result.index = index;
        result.path = ExactPath(object, "path");
        result.size = object.value("movedSize", object.value("size", int64_t{0}));
        result.outcome = RestoreObject(record, object, result.detail);
        if (result.outcome == TOutcome::Restored || result.outcome == TOutcome::AlreadyRestored)
            object["restoredAt"] = clean_record::UnixMillisecondsText(
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
                    .count());
        results.push_back(std::move(result));
    }
    return results;
}

} // namespace restore
