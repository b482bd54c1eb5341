#include "engine/uObjectOrigin.h"

#include "platform/PlatformFiles.h"

namespace {

bool IsSeparator(char ch) { return ch == '/' || ch == platform::PathSeparator(); }

// path begins with root and names something inside it (the steps are checked when walked).
bool LiesBelow(const std::string& root, const std::string& path)
{
    if (root.empty() || path.size() <= root.size() || path.compare(0, root.size(), root) != 0)
        return false;
    return IsSeparator(root.back()) || (IsSeparator(path[root.size()]) && path.size() > root.size() + 1);
}

} // namespace

std::vector<std::string> TObjectOrigins::NamesBelow(const std::string& root, const std::string& path)
{
    std::vector<std::string> names;
    size_t start = root.size();
    if (root.empty() || path.size() <= start || path.compare(0, start, root) != 0)
        return names;
    // A root such as "/" or "C:\" ends with its separator; any other is followed by one.
    if (!IsSeparator(root.back())) {
        if (!IsSeparator(path[start]))
            return names;
        ++start;
    }
    std::string name;
    for (size_t at = start; at <= path.size(); ++at) {
        if (at == path.size() || IsSeparator(path[at])) {
            // An empty, "." or ".." step would leave the folder the walk holds.
            if (name.empty() || name == "." || name == "..")
                return {};
            names.push_back(name);
            name.clear();
        } else {
            name += path[at];
        }
    }
    return names;
}

TObjectOrigin TObjectOrigins::Capture(const std::shared_ptr<const std::string>& root,
                                      const platform::FileIdentity& rootIdentity, const std::string& path,
                                      const platform::FileIdentity& identity, bool link)
{
    TObjectOrigin origin;
    if (!root || !LiesBelow(*root, path))
        return origin;
    origin.root = root;
    origin.rootIdentity = rootIdentity;
    origin.identity = identity;
    origin.link = link;
    return origin;
}

platform::DirectoryHandle TObjectOrigins::OpenContainingFolder(const TObjectOrigin& origin, const std::string& path,
                                                               std::string& name)
{
    if (!origin.Known())
        return {};
    std::vector<std::string> names = NamesBelow(*origin.root, path);
    if (names.empty())
        return {};
    // A root replaced since the scan (by a link to elsewhere, say) is not the folder scanned.
    platform::DirectoryHandle folder = platform::DirectoryHandle::Open(*origin.root);
    if (!folder.IsOpen() || !(folder.Identity() == origin.rootIdentity))
        return {};
    name = names.back();
    names.pop_back();
    for (const std::string& step : names) {
        folder = folder.OpenSubdirectory(step);
        if (!folder.IsOpen())
            return {};
    }
    return folder;
}
