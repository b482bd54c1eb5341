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
    // The folder that holds the object, reached from the root (still the one scanned) through held
    // folders only, never through a link or into another mount; invalid otherwise. name is the
    // object's own name in it.
    static platform::DirectoryHandle OpenContainingFolder(const TObjectOrigin& origin, const std::string& path,
                                                          std::string& name);
};
