#pragma once
// Where the scan found an object, captured when it is listed and walked again when it is cleaned.
#include "engine/uEngineTypes.h"
#include "platform/PlatformHeldDirectory.h"

#include <memory>
#include <string>
#include <vector>

class TObjectOrigins {
public:
    // The origin of the object at path, found below root with the identity and kind its directory
    // listing gave; unknown when path does not lie below root.
    static TObjectOrigin Capture(const std::shared_ptr<const std::string>& root, const platform::FileIdentity& rootIdentity,
                                 const std::string& path, const platform::FileIdentity& identity, bool link);
    // The names leading from the origin's root down to path; empty when path does not lie below it.
    static std::vector<std::string> NamesBelow(const std::string& root, const std::string& path);
};

// The folders leading to the last object cleaned, held open from its walk root down, so the
// objects that follow in the same folders cost no walk of their own. A held folder follows its
// folder wherever that is moved, so each reuse first checks the chain against the path the user
// reviewed: the root path still names the root, and each held folder is still its name's entry
// in the held folder above, a real folder of the same file system. A chain that fails is dropped
// and the object's folder walked afresh with every check of a first walk.
class THeldChain {
public:
    // The folder that holds the object, reached from the root (still the one scanned) through held
    // folders only, never through a link or into another mount; null otherwise. name is the
    // object's own name in it. The folder stays valid until the next call or Drop.
    platform::DirectoryHandle* OpenContainingFolder(const TObjectOrigin& origin, const std::string& path,
                                                    std::string& name);
    // Closes every held folder (at the end of a clean, or after a check failed).
    void Drop();

private:
    // The held folders still lead from the root path, name by name, to the deepest one in use.
    bool StillLeads(size_t depth) const;

    std::string root_;
    platform::FileIdentity rootIdentity_;
    std::vector<std::string> names_;                 // below the root, one per held folder after it
    std::vector<platform::DirectoryHandle> folders_; // the root first, then one per name
};
