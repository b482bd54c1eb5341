#pragma once
// The clean targets pane: the directory tree of the computer's drives and folders above the
// clean-up list of chosen directories. The pane decides what the current targets are and how
// the list is edited; the form only shows the controls and reports what the user does.
#include "app/uControllerInterfaces.h"
#include "app/uMainPanes.h"
#include "prefs/VelaPreferences.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace targets_texts {
extern const char* const kTreeHeader;
extern const char* const kListHeader;
extern const char* const kAddItem;
extern const char* const kDriveInfoItem;
extern const char* const kRefreshItem;
extern const char* const kRemoveItem;
extern const char* const kRemoveItems;
extern const char* const kClearItem;
extern const char* const kSelectedStatus; // %s = the ";"-joined targets
extern const char* const kConfirmClear;   // %d = the number of rows
extern const char* const kCannotSelect;   // %s = the folder named on the command line or restored
} // namespace targets_texts

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

class TTargetsPane : public ITargetsPane {
public:
    // directoryExists defaults to the disk's answer.
    TTargetsPane(ITargetsView& view, IMessageBoxService& messageBoxes, TPreferenceValues& preferences,
                 TCommandLine::TDirectoryExists directoryExists = nullptr);
    TTargetsPane(const TTargetsPane&) = delete;
    TTargetsPane& operator=(const TTargetsPane&) = delete;

    // "&Drive Information" of the tree's menu; the main controller shows the window.
    void SetDriveInformationHandler(std::function<void()> handler) { onDriveInformation_ = std::move(handler); }

    std::string SelectionText() override;
    void RefreshSelectionStatus() override;
    std::string DriveInformationTarget() override;
    void RestoreTargets() override;
    void ApplyCommandLine(const TCommandLine& commandLine) override;
    void SaveTargets() override;
    void ShowDriveInformation(bool shown) override;

    // The targets of the tree's selection: every drive for the root.
    std::vector<std::string> TreeTargets();
    // Says in the status line that the folder the user named has no node to select.
    void CannotSelect(const std::string& path);
    // The clean-up list's texts, top to bottom.
    std::vector<std::string> Rows();

    // The commands, as the buttons and menu items run them.
    void AddTreeSelection();
    void RemoveSelectedRows();
    void ClearRows();
    void UpdateListMenu();

    // Where text goes to keep the list in alphabetical order (letter case ignored); after
    // rows that compare equal.
    static int32_t SortedIndex(const std::vector<std::string>& rows, const std::string& text);

private:
    void WireEvents();
    void LoadStrings();
    // False when the exact text is listed already.
    bool AddRow(const std::string& text);
    void SelectDefaultDrive();

    ITargetsView& view_;
    IMessageBoxService& messageBoxes_;
    TPreferenceValues& prefs_;
    TCommandLine::TDirectoryExists directoryExists_;
    std::function<void()> onDriveInformation_;
};
