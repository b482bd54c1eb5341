#pragma once
// The computer's drives and folders as a tree: the computer at the root, its drives below it,
// then their folders, hidden and system ones included. A folder's subfolders are read the first
// time it opens. Paths are UTF-8.
#include "ui/VelaUIControls.h"

#include <map>
#include <string>
#include <vector>

namespace ui {

struct TShellTreeArgs {
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
};

class TShellTree : public TTreeView {
public:
    TShellTree(TContainer& parent, const TShellTreeArgs& args);

    // Reads the drives again; the selection and the open folders stay where they still exist.
    void Reload();

    // 0 for the root, 1 for a drive, 2 and deeper for a folder; -1 for no item.
    int Level(HTREEITEM item) const;
    // "C:\" for a drive, "C:\Windows" for a folder; "" for the root and for no item.
    std::string PathOf(HTREEITEM item) const;
    HTREEITEM Selection() const { return TreeView_GetSelection(handle_); }
    // The item under a point of the screen, or null.
    HTREEITEM ItemAt(POINT screen) const;
    // The drives' paths in the tree's order.
    std::vector<std::string> DrivePaths() const;
    // Opens the tree down to the folder (letter case ignored, through junctions on the way) and
    // selects it; false, with nothing selected, when no node shows it.
    bool SelectPath(const std::string& path);

    std::function<void()> onClick;
    bool HandleNotify(NMHDR& header, LRESULT& result) override;

private:
    struct TNode {
        int level = 0;
        std::wstring path;
        std::wstring name; // what SelectPath compares: the folder's name, the drive's path
        bool filled = false;
        bool link = false;        // a junction, folder link or mounted folder: not entered by expanding
        bool linkFilled = false;  // entered once for a path that passes through it
    };
    HTREEITEM Insert(HTREEITEM parent, const std::wstring& text, TNode node, int image, int openImage, bool hasChildren,
                     bool hidden);
    const TNode* NodeOf(HTREEITEM item) const;
    // Adds the subfolders of a folder or drive once; false when it has none.
    // A link's node is filled only when enterLinks: when a path named by the user passes through it.
    bool Fill(HTREEITEM item, bool enterLinks = false);
    HTREEITEM FindChild(HTREEITEM parent, const std::wstring& name);
    // The item for the path, its drive and folders read as needed but nothing opened; null when missing.
    HTREEITEM Find(const std::wstring& path);
    void ReadDrives();

    std::map<HTREEITEM, TNode> nodes_;
    HTREEITEM root_ = nullptr;
    int folderImage_ = -1;
    int openFolderImage_ = -1;
    bool reloading_ = false;
};

} // namespace ui
