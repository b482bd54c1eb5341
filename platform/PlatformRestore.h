#pragma once
// Taking an object back out of the Recycle Bin or the Trash to the place it was cleaned from. The
// bin's entry is held and checked against what the record says went there, then renamed back
// between held folders: never over anything that took its place, never through a link.
#include "platform/PlatformFileIdentity.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Where the object lies in the bin, and the bin's own record of it.
struct BinEntry {
    std::string base;          // opened as named: the Trash folder, or the bin folder that holds $R...
    std::string entryFolder;   // "files" in the Trash; empty when the entry lies in base itself
    std::string recordFolder;  // "info" in the Trash; empty when the record lies beside the entry
    std::string name;
    std::string recordName;    // "x.trashinfo", "$I...": removed only once the object is back; empty: none
};

// Where the object goes back. The walk starts at anchor, opened as named (a folder the user chose
// as a clean's target, or the root); below it every folder is reached without following a link,
// and made when missing.
struct RestorePlace {
    std::string anchor;
    std::vector<std::string> folders;
    std::string name;
};

enum class RestoreKind : uint8_t { File, Folder, Link };

// What the record says went into the bin.
struct RestoreExpectation {
    RestoreKind kind = RestoreKind::File;
    FileIdentity identity;
    std::vector<int64_t> fileSizes;  // a file's sizes the record gives; empty: not checked
    // A file's last write when it went (HeldEntry's units); -1: not checked. A file number freed
    // in the bin can be given again, so alone it does not tell the object from a later file.
    int64_t modified = -1;
};

enum class RestoreOutcome : uint8_t {
    Restored,
    AlreadyRestored,  // the object is at its place already
    NotInBin,         // nothing in the bin is that object any more
    PlaceTaken,       // something else has its name: it stays in the bin
    Refused,          // the system refused, or a folder on the way is a link: detail says which
};

RestoreOutcome RestoreFromBin(const BinEntry& bin, const RestorePlace& place, const RestoreExpectation& expected,
                              std::string& detail);

} // namespace platform
