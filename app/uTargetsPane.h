#pragma once
// The clean targets pane: the directory tree of the computer's drives and folders above the
// clean-up list of chosen directories. The pane decides what the current targets are and how
// the list is edited; the form only shows the controls and reports what the user does.
#include "app/uControllerInterfaces.h"
#include "app/uMainPanes.h"
#include "app/uTargetsView.h"
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

class TTargetsPane : public ITargetsPane {
public:
    // directoryExists defaults to the disk's answer.
    TTargetsPane(ITargetsView& view, IMessageBoxService& messageBoxes, TPreferenceValues& preferences,
                 TCommandLine::TDirectoryExists directoryExists = nullptr);
    ~TTargetsPane() override;
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
