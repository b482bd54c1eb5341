#pragma once
// The record every clean leaves in the user's own data folder, window or command line alike: when,
// how, and what became of each object (docs/clean-record-schema.json). It is written after the
// clean, by the thread that started it; the worker only reports each object's outcome.
#include "engine/uEngineInterfaces.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace clean_record {

using Json = nlohmann::ordered_json;

// Raised when a field changes meaning or goes away; new fields may appear in any version.
constexpr int kRecordVersion = 1;
// The newest records kept; a new one removes the oldest beyond them.
constexpr size_t kKeptRecords = 50;

enum class TOutcome : uint8_t { NotReached, Removed, Moved, Skipped };

// Why an object stayed, as the record words it: the cleaner's reasons, and two of the caller's.
enum class TReason : uint8_t {
    None,
    Unchecked,
    Declined,
    ChangedSinceScan,
    ChangedSinceReview,  // a saved review: no longer the object the document describes
    InUse,
    Stopped,
    Failed,
    NotReached,
    NoRecycleBin,  // a recycling clean: no bin could take it (none on its volume, read-only, another file system)
};

// "unchecked", "changedSinceReview" ...: the reason as records and documents word it.
const char* ReasonWord(TReason reason);

struct TObjectOutcome {
    TOutcome outcome = TOutcome::NotReached;
    TReason reason = TReason::None;
    int64_t removedBytes = 0;  // Removed: what it held when it went; Moved: what was moved
    std::string destination;   // Moved: where it is now
    int64_t modified = -1;     // Moved: a file's last write then (TMovedObject)
};

// What the caller knows of the clean beyond its objects.
struct TCleanFacts {
    std::string from;    // "window" or "commandLine"
    std::string review;  // "scan", or "document" for a saved review
    std::vector<std::string> targets;
    TCleanupOptionSet options;
    bool secureDelete = false;
    int passes = 0;
    bool randomPattern = false;
    bool recycle = false;  // moved to the Recycle Bin or Trash
};

// Collects the outcome of each object of one clean, in the order of the cleaned list.
class TCleanRecorder {
public:
    // Before the worker starts; objectCount: the size of the list it cleans.
    void Begin(int32_t objectCount);
    // Known before the clean: the object is left out of it for that reason.
    void Leave(int32_t index, TReason reason);
    // From the cleaner's dispatch.
    void ObjectSkipped(int32_t index, TSkipReason reason);
    void ObjectCleaned(int32_t index, bool removed, int64_t removedBytes);
    void ObjectMoved(int32_t index, const TMovedObject& moved);
    // The worker's last status text ("Clean complete.", "Clean stopped." ...).
    void NoteStatus(const std::string& text) { status_ = text; }

    const TObjectOutcome& Outcome(int32_t index) const;
    // The whole record of the clean, finished now.
    Json Build(const TCleanFacts& facts, ICleanupList& objects, ICleanupOptionsList& options) const;

private:
    std::vector<TObjectOutcome> outcomes_;
    std::string status_;
    int64_t started_ = 0;  // Unix time in milliseconds
};

// "Quillsweep/Records" in %LOCALAPPDATA% on Windows, "quillsweep/records" in $XDG_STATE_HOME
// (~/.local/state) elsewhere; empty when neither can be found.
std::string RecordsFolder();

// Writes the record as a new file of folder (created when missing) and keeps the newest
// kKeptRecords. It goes under a temporary name first and is renamed whole, so a crash leaves no
// record half-written. False with the reason when it could not be written.
bool SaveRecord(const std::string& folder, const Json& record, std::string& file, std::string& error);

struct TStoredRecord {
    std::string file;
    Json record;
};
// The records of folder, oldest first; a file that is not a whole record is passed over.
std::vector<TStoredRecord> ReadRecords(const std::string& folder);

// A record's id, as the tool names it: its file name without ".json" ("clean-20261208T012814-123-000").
std::string RecordId(const std::string& file);
// Writes a stored record back after a restore noted what came back: whole under a temporary name,
// then renamed over the old one. False with the reason when it could not be written.
bool UpdateRecord(const std::string& file, const Json& record, std::string& error);

// Builds, saves and tells: the line to show when the record could not be written, else empty.
std::string WriteRecord(const TCleanRecorder& recorder, const TCleanFacts& facts, ICleanupList& objects,
                        ICleanupOptionsList& options, std::string* file = nullptr);

// Names as JSON keeps them: valid UTF-8 as it is, and for any other the exact bytes beside it.
bool IsUtf8(const std::string& text);
// Every byte kept in a form a URL decoder reads back: printable ASCII but "%" as it is, the rest %XX.
std::string EscapedBytes(const std::string& text);
void AddPath(Json& object, const std::string& key, const std::string& path);
void AddPaths(Json& object, const std::string& key, const std::vector<std::string>& paths);

// Windows file times (100 ns since 1601) and Unix milliseconds as RFC 3339 UTC text, and back.
std::string FileTimeText(int64_t fileTime);
bool ParseFileTimeText(const std::string& text, int64_t& fileTime);
std::string UnixMillisecondsText(int64_t milliseconds);

} // namespace clean_record
