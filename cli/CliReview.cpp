// clean --from: a saved review (a scan document) stands in for the scan. Its objects go to the
// cleaner with the identities the scan saw, so the cleaner's own checks apply as after a scan;
// before that, each checked object is looked at again and left out unless its identity, kind,
// size and time are still those of the document.
#include "cycle/uCleanRecord.h"
#include "cycle/uCycleSetup.h"
#include "cli/CliCommands.h"
#include "cli/CliNames.h"
#include "engine/uEngineConstants.h"
#include "engine/uEngineImplementation.h"
#include "engine/uObjectOrigin.h"
#include "platform/PlatformDirectory.h"
#include "platform/PlatformFiles.h"
#include "platform/PlatformHeldDirectory.h"
#include "prefs/uPreferences.h"
#include "support/VelaRoutines.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>

using cli_json::Json;

namespace {

const char* const kNotAReview = "\"%s\" is not a scan document of this tool (scan --json, schema version 1).";

// The exact bytes of a name: its "Bytes" twin when the document has one (the name itself shows
// replacement characters then), else the name.
bool PathField(const Json& object, const std::string& key, std::string& path)
{
    const auto bytes = object.find(key + "Bytes");
    if (bytes != object.end() && bytes->is_string()) {
        const std::string escaped = bytes->get<std::string>();
        path.clear();
        for (size_t i = 0; i < escaped.size(); ++i) {
            if (escaped[i] != '%') {
                path += escaped[i];
                continue;
            }
            if (i + 2 >= escaped.size() || !std::isxdigit(static_cast<unsigned char>(escaped[i + 1])) ||
                !std::isxdigit(static_cast<unsigned char>(escaped[i + 2])))
                return false;
            path += static_cast<char>(std::stoi(escaped.substr(i + 1, 2), nullptr, 16));
            i += 2;
        }
        return true;
    }
    const auto text = object.find(key);
    if (text == object.end() || !text->is_string())
        return false;
    path = text->get<std::string>();
    return true;
}

bool DecimalWord(const Json& value, uint64_t& number)
{
    if (!value.is_string())
        return false;
    const std::string text = value.get<std::string>();
    if (text.empty() || text.size() > 20)
        return false;
    number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9' || number > (UINT64_MAX - static_cast<uint64_t>(c - '0')) / 10)
            return false;
        number = number * 10 + static_cast<uint64_t>(c - '0');
    }
    return true;
}

bool IdentityField(const Json& object, const std::string& key, platform::FileIdentity& identity)
{
    const auto field = object.find(key);
    return field != object.end() && field->is_object() && field->contains("volume") && field->contains("file") &&
           DecimalWord((*field)["volume"], identity.volume) && DecimalWord((*field)["file"], identity.file);
}

bool ReadDocument(const std::string& file, std::string& text)
{
    if (file == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return !std::cin.bad();
    }
    std::ifstream in(std::filesystem::u8path(file), std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// One object of the document as it was reviewed.
struct TReviewed {
    std::string path;
    std::string kind;  // "file", "folder", "recycleBin"
    int option = -1;
    int64_t size = -1;
    bool checked = false;
    bool link = false;
    int64_t itemCount = 0;
    bool hasModified = false;
    std::string modified;
    bool hasIdentity = false;
    platform::FileIdentity identity;
    std::string root;
    platform::FileIdentity rootIdentity;
};

bool ReadObject(const Json& object, TReviewed& reviewed)
{
    if (!object.is_object() || !PathField(object, "path", reviewed.path) || !object.contains("kind") ||
        !object["kind"].is_string() || !object.contains("option") || !object["option"].is_number_integer() ||
        !object.contains("size") || !object["size"].is_number_integer() || !object.contains("checked") ||
        !object["checked"].is_boolean())
        return false;
    reviewed.kind = object["kind"].get<std::string>();
    reviewed.option = object["option"].get<int>();
    reviewed.size = object["size"].get<int64_t>();
    reviewed.checked = object["checked"].get<bool>();
    if (reviewed.option < 0 || reviewed.option >= CleanupOptionCount || reviewed.size < 0)
        return false;
    if (object.contains("itemCount") && object["itemCount"].is_number_integer())
        reviewed.itemCount = object["itemCount"].get<int64_t>();
    if (object.contains("link") && object["link"].is_boolean())
        reviewed.link = object["link"].get<bool>();
    if (object.contains("modified")) {
        reviewed.hasModified = true;
        reviewed.modified = object["modified"].is_string() ? object["modified"].get<std::string>() : std::string();
    }
    reviewed.hasIdentity = IdentityField(object, "identity", reviewed.identity) && PathField(object, "root", reviewed.root) &&
                           IdentityField(object, "rootIdentity", reviewed.rootIdentity);
    return true;
}

// Whether the object at its path is still the one the document describes.
bool Unchanged(const TReviewed& reviewed)
{
    if (reviewed.kind == "recycleBin") {
        int64_t bytes = 0, items = 0;
        return TAPIRoutines::QueryRecycleBin(bytes, items) && bytes == reviewed.size && items == reviewed.itemCount;
    }
    // A document without identities (an older one, or edited) cannot say the object is the same.
    if (!reviewed.hasIdentity)
        return false;
    platform::DirectoryEntry entry;
    platform::FileIdentity identity;
    if (!platform::QueryEntry(reviewed.path, entry) || !platform::QueryOwnIdentity(reviewed.path, identity) ||
        !(identity == reviewed.identity))
        return false;
    const bool link = (entry.attributes & platform::kAttrReparsePoint) != 0;
    const bool folder = !link && (entry.attributes & platform::kAttrDirectory) != 0;
    if (link != reviewed.link || (!link && folder != (reviewed.kind == "folder")))
        return false;
    if (reviewed.hasModified) {
        int64_t modified = 0;
        if (!clean_record::ParseFileTimeText(reviewed.modified, modified) || modified != entry.lastWriteTime)
            return false;
    }
    // Sized as the scan sized it: a link as itself (a folder link as nothing), a folder by its contents.
    const int64_t size = folder ? TDirectoryRoutines::GetDirectorySize(reviewed.path, true)
                         : link && reviewed.kind == "folder" ? 0
                                                             : entry.size;
    return size == reviewed.size;
}

} // namespace

int TCliSession::PrepareReview()
{
    if (const int status = LoadSettings(); status >= 0)
        return status;

    const std::string shown = request.fromFile == "-" ? std::string("standard input") : request.fromFile;
    std::string text;
    if (!ReadDocument(request.fromFile, text)) {
        terminal.Message("The review \"" + shown + "\" cannot be read.");
        return kExitUsage;
    }
    try {
        return ReadReview(Json::parse(text, nullptr, false), shown);
    } catch (const nlohmann::json::exception&) {
        // A field of another type than the schema's.
        terminal.Message(TCycleSetup::FormatText(kNotAReview, shown));
        return kExitUsage;
    }
}

int TCliSession::ReadReview(const cli_json::Json& document, const std::string& shown)
{
    const bool scanDocument = document.is_object() && document.value("schemaVersion", 0) == cli_json::kSchemaVersion &&
                              document.value("command", "") == "scan" && document.contains("scan") &&
                              document["scan"].is_object() && document["scan"].contains("objects") &&
                              document["scan"]["objects"].is_array() && document["scan"].contains("targets") &&
                              document["scan"]["targets"].is_array() && document["scan"].contains("options") &&
                              document["scan"]["options"].is_array();
    if (!scanDocument) {
        terminal.Message(TCycleSetup::FormatText(kNotAReview, shown));
        return kExitUsage;
    }
    const Json& scan = document["scan"];

    const Json& targetBytes = scan.contains("targetsBytes") ? scan["targetsBytes"] : Json();
    for (size_t i = 0; i < scan["targets"].size(); ++i) {
        Json holder = {{"target", scan["targets"][i]}};
        if (targetBytes.is_array() && i < targetBytes.size() && targetBytes[i].is_string())
            holder["targetBytes"] = targetBytes[i];
        std::string target;
        if (!PathField(holder, "target", target)) {
            terminal.Message(TCycleSetup::FormatText(kNotAReview, shown));
            return kExitUsage;
        }
        targets.push_back(target);
    }
    selectionText = TStringRoutines::JoinStrings(targets);
    for (const Json& option : scan["options"])
        if (option.is_number_integer())
            mask.Include(option.get<int>());
    // The temporary-folders option also removes empty folders that no document lists: a review
    // cleans what it lists and nothing else.
    mask.Exclude(0);
    if (scan.contains("status") && scan["status"].is_object())
        finalStatus = scan["status"].value("text", "");

    broadcast = TEngineServices::CreateBroadcastParameters();
    objects = TEngineServices::CreateCleanupList(std::make_shared<TCRC32>());
    cleanReport = TEngineServices::CreateCleanReport();
    std::map<std::string, std::shared_ptr<const std::string>> roots;
    std::set<std::string> changed;
    int32_t found = 0, selected = 0;
    int64_t foundKo = 0, selectedKo = 0;
    for (const Json& object : scan["objects"]) {
        TReviewed reviewed;
        if (!ReadObject(object, reviewed)) {
            terminal.Message(TCycleSetup::FormatText(kNotAReview, shown));
            return kExitUsage;
        }
        const bool bin = reviewed.kind == "recycleBin";
        const bool keep = reviewed.checked && Unchanged(reviewed);
        const auto catalogued = options->GetOption(reviewed.option);
        const int64_t ko = TNumberRoutines::BytesToKo(reviewed.size);
        // The bin is named by its item count, as the scan names it.
        const std::string path = bin ? TNumberRoutines::GroupThousands(reviewed.itemCount) + " object(s)" : reviewed.path;
        std::shared_ptr<ICleanupListItem> item;
        if (!objects->Add(keep, catalogued->GetSafety(), static_cast<TCleanupOption>(reviewed.option),
                          catalogued->GetName(), path, ko, bin ? ShellFolderRecycleBin : ShellFolderNone, item))
            continue;
        item->SetByteSize(reviewed.size);
        if (!bin && reviewed.hasIdentity) {
            auto& root = roots[reviewed.root];
            if (!root)
                root = std::make_shared<const std::string>(reviewed.root);
            item->SetOrigin(
                TObjectOrigins::Capture(root, reviewed.rootIdentity, reviewed.path, reviewed.identity, reviewed.link));
        }
        if (reviewed.checked && !keep)
            changed.insert(path);
        ++found;
        foundKo += ko;
        selected += keep;
        selectedKo += keep ? ko : 0;
    }
    broadcast->SetFoundCount(found);
    broadcast->SetFoundCapacity(foundKo);
    broadcast->SetSelectedCount(selected);
    broadcast->SetSelectedCapacity(selectedKo);

    for (int32_t i = 0; i < objects->GetCount(); ++i) {
        const auto item = objects->GetItem(i);
        if (!item)
            continue;
        ShowObject(*item);
        if (changed.count(item->GetPath()) != 0) {
            changedSinceReview.push_back(i);
            terminal.Message("Changed since the review, skipped: " + TCliTerminal::Printable(ObjectPath(*item)));
        }
    }
    SummarizeObjectLines();
    return -1;
}
