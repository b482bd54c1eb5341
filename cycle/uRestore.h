#pragma once
// Undoing a clean that moved objects to the Recycle Bin or the Trash: each object the record says
// went there is taken back to the place it was cleaned from, by rename, when it is still the
// object that went (platform/PlatformRestore.h), and the record notes what came back.
#include "cycle/uCleanRecord.h"
#include "platform/PlatformRestore.h"

#include <functional>
#include <string>
#include <vector>

namespace restore {

using Json = clean_record::Json;

enum class TOutcome : uint8_t { Restored, AlreadyRestored, NotInBin, PlaceTaken, Refused };

// "restored", "alreadyRestored", "notInBin", "placeTaken", "refused": as documents word it.
const char* OutcomeWord(TOutcome outcome);
// "Restored", "Already restored", "No longer in the bin" ...: as the user reads it.
std::string OutcomeText(TOutcome outcome);

// Where the bin keeps the object now at destination, and its own record of it: a Trash's
// files/NAME with info/NAME.trashinfo, or a Windows bin's $R... with the $I... beside it.
platform::BinEntry BinEntryOf(const std::string& destination);
// The walk back to path: from the deepest of targets (the clean's, which the user named) that
// holds it and still is a folder, else from the root of path.
platform::RestorePlace PlaceOf(const std::string& path, const std::vector<std::string>& targets);

// A path of an object as it was: the exact bytes of key + "Bytes" when the name is not UTF-8.
std::string ExactPath(const Json& object, const std::string& key);

// The objects of the record that went to the bin; pending: those not restored yet.
size_t MovedCount(const Json& record);
std::vector<size_t> PendingObjects(const Json& record);

struct TObjectResult {
    size_t index = 0;
    std::string path;
    int64_t size = 0;
    TOutcome outcome = TOutcome::NotInBin;
    std::string detail;  // Refused: why
};

TOutcome RestoreObject(const Json& record, const Json& object, std::string& detail);

// Restores the pending objects in the record's order until stop says so, and notes restoredAt
// on each that is back at its place, so that a later restore knows. The caller saves the record.
std::vector<TObjectResult> RestoreRecord(Json& record, const std::function<bool()>& stop = nullptr);

} // namespace restore
