#pragma once
// The list editor as its controller sees it. The Win32 form implements it; tests use a fake.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Controls of the editor that the controller names: captions, glyphs, enabling, commands.
enum class TEditListControl : uint8_t {
    ecAdd, ecAddMultiple, ecRemove, ecClear, ecMoveUp, ecMoveDown, // the toolbar
    ecBrowseObject, ecOK, ecCancel,
    ecItemsColumn, // the list's one column (SetText only)
};

struct TEditListViewEvents {
    std::function<void()> onShow;             // each time the window is shown
    std::function<void()> onNewItemChanged;   // the new item's text changed, whoever changed it
    std::function<void()> onSelectionChanged; // a row was selected or lost its selection
};

// A standard open-file dialog. filter: "description|pattern" pairs joined by '|'.
struct TOpenFileRequest {
    std::string title;
    std::string filter;
    std::string initialDir; // "" lets the system choose
    bool multiSelect = false;
};

class IEditListView {
public:
    virtual ~IEditListView() = default;

    virtual TEditListViewEvents& Events() = 0;
    virtual void OnCommand(TEditListControl control, std::function<void()> handler) = 0;
    virtual void SetText(TEditListControl control, const std::string& text) = 0;
    virtual void SetGlyph(TEditListControl control, const std::string& bitmapName) = 0;
    virtual void SetEnabled(TEditListControl control, bool enabled) = 0;
    virtual void SetTitle(const std::string& text) = 0;
    // Ends the modal run: accepted is OK, otherwise Cancel.
    virtual void Close(bool accepted) = 0;
    virtual int32_t MonitorNumber() = 0;

    // The field the new item is typed in.
    virtual std::string NewItemText() = 0;
    virtual void SetNewItemText(const std::string& text) = 0;
    virtual bool NewItemFocused() = 0;
    virtual void FocusNewItem() = 0;
    // A balloon on the field; showing a new one replaces the old.
    virtual void ShowNewItemTip(const std::string& title, const std::string& text) = 0;
    virtual void RemoveNewItemTip() = 0;

    // The rows, one item each, single selection.
    virtual int32_t RowCount() = 0;
    virtual std::string RowText(int32_t row) = 0;
    virtual void AddRow(const std::string& text) = 0;
    virtual void DeleteRow(int32_t row) = 0;
    virtual void DeleteAllRows() = 0;
    // -1 when no row is selected.
    virtual int32_t SelectedRow() = 0;
    // Swaps the selected row with its neighbour step (-1 or 1) rows away; it stays selected.
    virtual void MoveSelectedRow(int32_t step) = 0;

    // Full paths in the order the dialog gives them; empty when cancelled.
    virtual std::vector<std::string> ChooseFiles(const TOpenFileRequest& request) = 0;
    // The system's folder dialog rooted at root ("" for the desktop); the chosen folder's path,
    // "" when cancelled or when the choice has no path.
    virtual std::string ChooseFolder(const std::string& title, const std::string& root) = 0;
};
