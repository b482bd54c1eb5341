#pragma once
// The clean targets as their pane sees them: the shell-namespace directory tree, the checked
// clean-up list, their buttons and menus, and the main window's status line. The Win32 form
// implements it; tests use a fake.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Controls of the pane that the pane names. A button and the menu item of the same name run
// the same command.
enum class TTargetsControl : uint8_t {
    tcTreeHeader, tcListHeader,
    tcAddButton, tcRefreshButton, tcRemoveButton, tcClearButton,
    tcAddItem, tcDriveInfoItem, tcRefreshItem, // the tree's context menu
    tcRemoveItem, tcClearItem,                 // the clean-up list's context menu
};

// A node of the directory tree. Level 0 is the root (the computer folder), 1 a drive, 2 and
// deeper a folder; -1 stands for no node.
struct TTreeNode {
    int32_t level = -1;
    std::string path; // the node's file-system path; "" for the root and for virtual folders
};

struct TTargetsViewEvents {
    std::function<void()> onTreeSelectionChanged;
    std::function<void()> onTreeClick;
    // Before the tree's context menu opens.
    std::function<void()> onTreeRightClick;
    // A clean-up list row's check box changed, whoever changed it.
    std::function<void(int32_t row)> onRowCheckChanged;
    // Before the clean-up list's context menu opens.
    std::function<void()> onListMenuPopup;
};

// The shell-namespace tree and the checked, multi-selection list view of the form.
class ITargetsView {
public:
    virtual ~ITargetsView() = default;

    virtual TTargetsViewEvents& Events() = 0;
    // Connects a button's or a menu item's click.
    virtual void OnCommand(TTargetsControl control, std::function<void()> handler) = 0;
    virtual void SetText(TTargetsControl control, const std::string& text) = 0;
    virtual void SetEnabled(TTargetsControl control, bool enabled) = 0;
    // A menu item that is hidden is neither shown nor run.
    virtual void SetVisible(TTargetsControl control, bool visible) = 0;

    // Directory tree.
    virtual TTreeNode SelectedNode() = 0;
    // The paths of the drive nodes (level 1), in tree order.
    virtual std::vector<std::string> DrivePaths() = 0;
    // Selects the node of path, expanding the tree down to it; false, with nothing selected, when
    // no node shows it.
    virtual bool SelectPath(const std::string& path) = 0;
    virtual void SelectNodeUnderCursor() = 0;
    // Reads the tree again from its root.
    virtual void RefreshTree() = 0;

    // Clean-up list. The view keeps rows where they are put; the pane keeps the order.
    virtual int32_t RowCount() = 0;
    virtual std::string RowText(int32_t row) = 0;
    virtual bool RowChecked(int32_t row) = 0;
    virtual bool RowSelected(int32_t row) = 0;
    virtual void InsertRow(int32_t row, const std::string& text, bool checked) = 0;
    virtual void DeleteRow(int32_t row) = 0;
    virtual void DeleteAllRows() = 0;
    // Makes row the only selected row and the focused one, scrolled into view.
    virtual void SelectRow(int32_t row) = 0;

    // The main window's status line.
    virtual void SetStatusText(const std::string& text) = 0;
    virtual int32_t MonitorNumber() = 0;
};
