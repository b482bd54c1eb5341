#pragma once
// The list editor: adds typed or browsed items, removes, clears and reorders them, and tells
// its opener whether the list changed.
#include "app/uControllerInterfaces.h"
#include "app/uEditListView.h"
#include "app/uWindowController.h"
#include "prefs/VelaPreferences.h"

#include <string>
#include <vector>

struct TWindowArguments;

namespace editlist_texts {
extern const char* const kTitleFormat;   // %s = the list's name
extern const char* const kItemsColumn;
extern const char* const kTipTitle;
extern const char* const kTipText;
extern const char* const kItemExists;    // %s = the item
extern const char* const kItemHasDelimiter; // %s = the item
extern const char* const kConfirmRemove; // %s = the item
extern const char* const kConfirmClear;
extern const char* const kAddFilesTitle;
extern const char* const kAddObjectTitle;
extern const char* const kAllFilesFilter;
} // namespace editlist_texts

class TEditListController : public TWindowController, public IEditListController {
public:
    TEditListController(IEditListView& view, IMessageBoxService& messageBoxes, const TPreferenceValues& preferences);
    TEditListController(const TEditListController&) = delete;
    TEditListController& operator=(const TEditListController&) = delete;

    // IEditListController
    int32_t ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult) override;
    void LoadStrings() override;
    void SetTitle(const std::string& text) override;
    std::string GetItems() override;
    bool IsChanged() override;
    std::string GetInitialItems() override;
    void SetItems(const std::string& text) override;
    void SetDirectoryMode(bool directoryMode) override;

    // The editor's share of ShowEditList: title, items and mode before the window shows; after it
    // closed, whether the list changed and, when it was closed with OK, the edited text.
    void Open(const TWindowArguments& arguments);
    void StoreResults(TWindowArguments& arguments);

    // The commands, as the buttons run them.
    void Add();
    void AddMultiple();
    void Remove();
    void Clear();
    void MoveUp() { MoveSelected(-1); }
    void MoveDown() { MoveSelected(1); }
    void BrowseObject();
    void Accept();

    bool DirectoryMode() const { return directoryMode_; }

protected:
    void WireEvents() override;
    void LoadImages() override;

private:
    void Shown();
    void UpdateButtons();
    void UpdateTip();
    void MoveSelected(int32_t step);
    std::vector<std::string> Rows();
    bool Contains(const std::string& item);
    // Whether item may become a row; tells the user why not (offering "Apply to all items" when
    // asked), and reports a tick of it through applyToAll.
    bool Acceptable(const std::string& item, bool offerApplyToAll, bool& applyToAll);
    bool Confirm(const std::string& text);

    IEditListView& view_;
    IMessageBoxService& messageBoxes_;
    const TPreferenceValues& prefs_;
    std::vector<std::string> initialItems_;
    bool directoryMode_ = false;
    bool accepted_ = false;
};
