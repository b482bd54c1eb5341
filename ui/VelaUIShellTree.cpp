#include "ui/VelaUIShellTree.h"

#include "platform/win32/Win32SystemEntry.h"
#include "platform/win32/Win32Text.h"
#include "ui/VelaImageRoutines.h"

#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace ui {

namespace {

// Explorer's order: letter case ignored, "Folder 2" before "Folder 10".
bool NameBefore(const std::wstring& a, const std::wstring& b)
{
    constexpr DWORD kDigitsAsNumbers = 0x8;  // SORT_DIGITSASNUMBERS, Windows 7's
    int order = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | kDigitsAsNumbers, a.c_str(),
                               static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()));
    if (order == 0) // systems that do not know the digits flag
        order = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                               static_cast<int>(b.size()));
    return order == CSTR_LESS_THAN;
}

int FolderImage(UINT extraFlags)
{
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                        SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES | extraFlags))
        return -1;
    return info.iIcon;
}

struct TFolderEntry {
    std::wstring name;
    DWORD attributes;
};

std::vector<TFolderEntry> ReadFolders(std::wstring folder)
{
    if (folder.back() != L'\\')
        folder += L'\\';
    std::wstring pattern = folder + L'*';
    if (pattern.size() >= MAX_PATH)
        pattern = L"\\\\?\\" + pattern;
    // An empty card reader or DVD drive must not ask the user to insert a disk.
    platform::TNoDiskPrompts quiet;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchLimitToDirectories, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER) // before Windows 7
        find = FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data, FindExSearchLimitToDirectories, nullptr, 0);
    std::vector<TFolderEntry> entries;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                continue;
            if (std::wcscmp(data.cFileName, L".") == 0 || std::wcscmp(data.cFileName, L"..") == 0)
                continue;
            entries.push_back({data.cFileName, data.dwFileAttributes});
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    std::sort(entries.begin(), entries.end(),
              [](const TFolderEntry& a, const TFolderEntry& b) { return NameBefore(a.name, b.name); });
    return entries;
}

} // namespace

TShellTree::TShellTree(TContainer& parent, const TShellTreeArgs& args)
    : TTreeView(parent, TTreeViewArgs{.rect = args.rect, .anchors = args.anchors})
{
    TreeView_SetImageList(handle_, TIconRoutines::SystemSmallImageList(), TVSIL_NORMAL);
    folderImage_ = FolderImage(0);
    openFolderImage_ = FolderImage(SHGFI_OPENICON);
    ReadDrives();
}

HTREEITEM TShellTree::Insert(HTREEITEM parent, const std::wstring& text, TNode node, int image, int openImage,
                             bool hasChildren, bool hidden)
{
    std::wstring label = text;
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_STATE | (image >= 0 ? TVIF_IMAGE | TVIF_SELECTEDIMAGE : 0);
    insert.item.pszText = label.data();
    insert.item.cChildren = hasChildren ? 1 : 0;
    insert.item.iImage = image;
    insert.item.iSelectedImage = openImage >= 0 ? openImage : image;
    // Hidden folders are dimmed, as Explorer shows them.
    insert.item.state = hidden ? TVIS_CUT : 0;
    insert.item.stateMask = TVIS_CUT;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(handle_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item)
        nodes_[item] = std::move(node);
    return item;
}

void TShellTree::ReadDrives()
{
    std::wstring computer = L"Computer";
    int computerImage = -1;
    PIDLIST_ABSOLUTE drivesFolder = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drivesFolder))) {
        SHFILEINFOW info{};
        if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(drivesFolder), 0, &info, sizeof info,
                           SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) {
            if (info.szDisplayName[0])
                computer = info.szDisplayName;
            computerImage = info.iIcon;
        }
        ILFree(drivesFolder);
    }
    TNode rootNode;
    rootNode.filled = true;
    root_ = Insert(nullptr, computer, rootNode, computerImage, computerImage, true, false);

    wchar_t drives[4 * 26 + 2] = {};
    const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(drives) - 1), drives);
    if (length == 0 || length >= std::size(drives))
        return;
    platform::TNoDiskPrompts quiet;
    for (const wchar_t* drive = drives; *drive; drive += std::wcslen(drive) + 1) {
        TNode node;
        node.level = 1;
        node.path = node.name = drive;
        std::wstring text = drive;
        SHFILEINFOW info{};
        int image = -1;
        if (SHGetFileInfoW(drive, 0, &info, sizeof info, SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) {
            if (info.szDisplayName[0])
                text = info.szDisplayName;
            image = info.iIcon;
        }
        Insert(root_, text, std::move(node), image, image, true, false);
    }
    TreeView_Expand(handle_, root_, TVE_EXPAND);
}

const TShellTree::TNode* TShellTree::NodeOf(HTREEITEM item) const
{
    const auto found = item ? nodes_.find(item) : nodes_.end();
    return found == nodes_.end() ? nullptr : &found->second;
}

bool TShellTree::Fill(HTREEITEM item, bool enterLinks)
{
    const auto found = nodes_.find(item);
    if (found == nodes_.end())
        return false;
    if (found->second.filled && !(enterLinks && found->second.link && !found->second.linkFilled))
        return TreeView_GetChild(handle_, item) != nullptr;
    found->second.filled = true;
    found->second.linkFilled = found->second.link;
    const TNode parent = found->second; // nodes_ grows below
    HCURSOR previousCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const std::vector<TFolderEntry> entries = ReadFolders(parent.path);
    const bool redraw = !reloading_; // Reload draws once at its end
    if (redraw)
        SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    for (const TFolderEntry& entry : entries) {
        TNode node;
        node.level = parent.level + 1;
        node.path = parent.path + (parent.path.back() == L'\\' ? L"" : L"\\") + entry.name;
        node.name = entry.name;
        // A junction or link is listed but never entered: it may lead back up the tree or elsewhere.
        const bool link = (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        node.filled = link;
        node.link = link;
        Insert(item, entry.name, std::move(node), folderImage_, openFolderImage_, !link,
               (entry.attributes & FILE_ATTRIBUTE_HIDDEN) != 0);
    }
    if (!entries.empty() && parent.link) {
        TVITEMW change{};
        change.mask = TVIF_CHILDREN;
        change.hItem = item;
        change.cChildren = 1;
        SendMessageW(handle_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&change));
    }
    if (entries.empty()) {
        TVITEMW change{};
        change.mask = TVIF_CHILDREN;
        change.hItem = item;
        change.cChildren = 0;
        SendMessageW(handle_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&change));
    }
    if (redraw) {
        SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(handle_, nullptr, TRUE);
    }
    SetCursor(previousCursor);
    return !entries.empty();
}

HTREEITEM TShellTree::FindChild(HTREEITEM parent, const std::wstring& name)
{
    for (HTREEITEM child = TreeView_GetChild(handle_, parent); child; child = TreeView_GetNextSibling(handle_, child))
        if (const TNode* node = NodeOf(child); node && platform::EqualIgnoringCase(node->name, name))
            return child;
    return nullptr;
}

HTREEITEM TShellTree::Find(const std::wstring& path)
{
    std::wstring wanted = path;
    std::replace(wanted.begin(), wanted.end(), L'/', L'\\');
    if (wanted.size() < 2 || wanted[1] != L':')
        return nullptr;
    HTREEITEM item = FindChild(root_, wanted.substr(0, 2) + L'\\');
    for (size_t at = 2; item && at < wanted.size();) {
        if (wanted[at] == L'\\') {
            ++at;
            continue;
        }
        const size_t end = std::min(wanted.find(L'\\', at), wanted.size());
        // Selecting a folder the user named is not scanning it: the way may pass a junction.
        Fill(item, true);
        item = FindChild(item, wanted.substr(at, end - at));
        at = end;
    }
    return item;
}

bool TShellTree::SelectPath(const std::string& path)
{
    HTREEITEM item = Find(platform::Widen(path));
    if (!item) {
        // Never a different folder in its place: the user would clean what they did not name.
        TreeView_SelectItem(handle_, nullptr);
        return false;
    }
    for (HTREEITEM parent = TreeView_GetParent(handle_, item); parent; parent = TreeView_GetParent(handle_, parent))
        TreeView_Expand(handle_, parent, TVE_EXPAND);
    TreeView_SelectItem(handle_, item);
    TreeView_EnsureVisible(handle_, item);
    return true;
}

void TShellTree::Reload()
{
    const TNode* selected = NodeOf(Selection());
    const int selectedLevel = selected ? selected->level : -1;
    std::wstring selectedPath = selected ? selected->path : std::wstring();
    std::vector<std::wstring> open;
    std::function<void(HTREEITEM)> collectOpen = [&](HTREEITEM parent) {
        for (HTREEITEM child = TreeView_GetChild(handle_, parent); child; child = TreeView_GetNextSibling(handle_, child))
            if (TreeView_GetItemState(handle_, child, TVIS_EXPANDED) & TVIS_EXPANDED) {
                if (const TNode* node = NodeOf(child))
                    open.push_back(node->path);
                collectOpen(child);
            }
    };
    if (root_)
        collectOpen(root_);

    reloading_ = true;
    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(handle_);
    nodes_.clear();
    root_ = nullptr;
    ReadDrives();
    for (const std::wstring& path : open)
        if (HTREEITEM item = Find(path))
            TreeView_Expand(handle_, item, TVE_EXPAND);
    HTREEITEM reselect = selectedLevel == 0 ? root_ : nullptr;
    // A folder that is gone gives way to the nearest one above it that is still there.
    while (!reselect && selectedLevel > 0 && selectedPath.size() >= 2) {
        reselect = Find(selectedPath);
        const size_t cut = selectedPath.find_last_of(L'\\', selectedPath.size() - 2);
        if (cut == std::wstring::npos)
            break;
        selectedPath.resize(cut == 2 ? 3 : cut);
    }
    if (reselect) {
        for (HTREEITEM parent = TreeView_GetParent(handle_, reselect); parent; parent = TreeView_GetParent(handle_, parent))
            TreeView_Expand(handle_, parent, TVE_EXPAND);
        TreeView_SelectItem(handle_, reselect);
    }
    SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
    if (reselect)
        TreeView_EnsureVisible(handle_, reselect);
    reloading_ = false;
    if (onSelect)
        onSelect(Selection());
}

int TShellTree::Level(HTREEITEM item) const
{
    const TNode* node = NodeOf(item);
    return node ? node->level : -1;
}

std::string TShellTree::PathOf(HTREEITEM item) const
{
    const TNode* node = NodeOf(item);
    return node ? platform::Narrow(node->path) : std::string();
}

HTREEITEM TShellTree::ItemAt(POINT screen) const
{
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(handle_, &hit.pt);
    return TreeView_HitTest(handle_, &hit);
}

std::vector<std::string> TShellTree::DrivePaths() const
{
    std::vector<std::string> paths;
    if (!root_)
        return paths;
    for (HTREEITEM drive = TreeView_GetChild(handle_, root_); drive; drive = TreeView_GetNextSibling(handle_, drive))
        paths.push_back(PathOf(drive));
    return paths;
}

bool TShellTree::HandleNotify(NMHDR& header, LRESULT& result)
{
    switch (header.code) {
    case TVN_ITEMEXPANDINGW: {
        const auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
        // A folder found empty only loses its button.
        if ((change.action & (TVE_EXPAND | TVE_COLLAPSE)) == TVE_EXPAND && !Fill(change.itemNew.hItem))
            result = TRUE;
        return true;
    }
    case TVN_SELCHANGEDW:
        if (reloading_)
            return true;
        break;
    case NM_CLICK:
        if (onClick)
            onClick();
        return true;
    default:
        break;
    }
    return TTreeView::HandleNotify(header, result);
}

} // namespace ui
