#pragma once
// Moving an object to the Recycle Bin of its volume (Windows) or to the freedesktop Trash of its
// file system (elsewhere), reached from its held folder like a deletion, so that the desktop's own
// bin shows it and can put it back.
#include "platform/PlatformHeldDirectory.h"

#include <map>
#include <memory>
#include <string>

namespace platform {

enum class RecycleResult : uint8_t {
    Moved,
    Changed,  // no longer the object expected
    NoBin,    // no bin can take it (none on its volume, read-only medium, another file system)
    Failed,   // the system refused the move
};

struct RecycleOutcome {
    RecycleResult result = RecycleResult::Failed;
    // Moved: the object's full path inside the bin (POSIX "<trash>/files/<name>", whose record is
    // "<trash>/info/<name>.trashinfo"; Windows the path the bin gave it). Otherwise empty.
    std::string destination;
    // NoBin and Failed: why, in a few words for the clean report.
    std::string reason;
};

// The bins of one clean: each is found (and made where the rules allow) once, and its folders are
// held until the clean ends.
class RecycleBins {
public:
    RecycleBins();
    ~RecycleBins();
    RecycleBins(const RecycleBins&) = delete;
    RecycleBins& operator=(const RecycleBins&) = delete;

    // Moves name, a child of folder that must still be expected (kind and identity), to its bin.
    // path: its full original path, as the bin records it. Never copies and never deletes: an
    // object that cannot be moved whole stays where it is.
    RecycleOutcome Move(const DirectoryHandle& folder, const std::string& name, const HeldEntry& expected,
                        const std::string& path);

private:
    struct Bin;
    std::map<uint64_t, std::shared_ptr<Bin>> bins_;  // by volume; none where none can be had
};

// The "Path=" value of a .trashinfo: every byte but unreserved URI characters and "/" as %XX.
std::string TrashInfoPath(const std::string& path);

} // namespace platform
