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

platform::DirectoryHandle* THeldChain::OpenContainingFolder(const TObjectOrigin& origin, const std::string& path,
                                                            std::string& name)
{
    if (!origin.Known())
        return nullptr;
    std::vector<std::string> names = TObjectOrigins::NamesBelow(*origin.root, path);
    if (names.empty())
        return nullptr;
    name = names.back();
    names.pop_back();
    size_t shared = 0;
    if (!folders_.empty() && root_ == *origin.root && rootIdentity_ == origin.rootIdentity) {
        while (shared < names_.size() && shared < names.size() && names_[shared] == names[shared])
            ++shared;
        if (!StillLeads(shared))
            Drop();
    } else {
        Drop();
    }
    if (folders_.empty()) {
        shared = 0;
        // A root replaced since the scan (by a link to elsewhere, say) is not the folder scanned.
        platform::DirectoryHandle root = platform::DirectoryHandle::Open(*origin.root);
        if (!root.IsOpen() || !(root.Identity() == origin.rootIdentity))
            return nullptr;
        root_ = *origin.root;
        rootIdentity_ = origin.rootIdentity;
        folders_.push_back(std::move(root));
    }
    folders_.erase(folders_.begin() + static_cast<std::ptrdiff_t>(shared) + 1, folders_.end());
    names_.resize(shared);
    for (size_t step = shared; step < names.size(); ++step) {
        platform::DirectoryHandle next = folders_.back().OpenSubdirectory(names[step]);
        if (!next.IsOpen()) {
            Drop();
            return nullptr;
        }
        folders_.push_back(std::move(next));
        names_.push_back(names[step]);
    }
    return &folders_.back();
}

bool THeldChain::StillLeads(size_t depth) const
{
    if (!folders_[0].StillAt(root_))
        return false;
    for (size_t step = 0; step < depth; ++step)
        if (!folders_[step].StillHolds(names_[step], folders_[step + 1]))
            return false;
    return true;
}

void THeldChain::Drop()
{
    folders_.clear();
    names_.clear();
    root_.clear();
}
