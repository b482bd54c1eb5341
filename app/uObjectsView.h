#pragma once
// The found-objects list as its pane sees it: a report-style list view in owner-data (virtual)
// mode. The view stores no row texts; it asks the pane for every cell it draws, so 100,000
// rows cost the view nothing but their count. The Win32 form implements it; tests use a fake.
#include "app/uListSupport.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum TObjectsColumn : int32_t { cnCategory = 0, cnPath = 1, cnSize = 2, cnQuota = 3 };
constexpr int32_t kObjectsColumnCount = 4;

// The system's small file icons, or the three safety images "fsafe16", "fpunsafe16", "funsafe16".
enum TObjectsImageList : uint8_t { ilSafety, ilSystem };

enum TObjectsCommand : uint8_t {
    cmNone, cmOpen, cmOpenDirectory, cmCopyNames, cmViewHex, cmViewBinary, cmViewText
};

// Colours are 0x00BBGGRR; this one leaves the list's own colour.
constexpr uint32_t kObjectsDefaultColour = 0xFFFFFFFF;

using TObjectsColumnInfo = TListColumnInfo;

struct TObjectsMenuItem {
    TObjectsCommand command = cmNone;
    std::string caption;
    bool enabled = false;
    bool isDefault = false;
};

// The view asks the drawing queries while it paints and reports the user's actions; the pane
// answers. A row index out of range gives an empty cell.
struct TObjectsViewEvents {
    std::function<std::string(int32_t row, int32_t column)> onCellText;
    std::function<int32_t(int32_t row)> onRowImage;
    std::function<bool(int32_t row)> onRowChecked;
    std::function<uint32_t(int32_t row, int32_t column)> onCellTextColour;
    std::function<TQuotaBar(int32_t row, const TCellRect& cell)> onQuotaBar;
    // What the image and colour show, in words and figures for assistive tools: the safety
    // class's word, and the quota bar's share in percent (-1 without a bar).
    std::function<std::string(int32_t row)> onRowSafety;
    std::function<int32_t(int32_t row)> onRowQuotaPercent;

    // The mouse went down on exactly the check box of row (nothing else of the row).
    std::function<void(int32_t row)> onCheckBoxClicked;
    std::function<void(int32_t column)> onHeaderClicked;
    // Double click on a row (not on its check box).
    std::function<void()> onDoubleClicked;
    // The view then shows the items the pane gives it.
    std::function<void()> onContextMenuRequested;
    // Keys while the list has the focus; true when handled (the list then ignores the key).
    std::function<bool(uint32_t key, bool control)> onKeyDown;
    std::function<void()> onFocusLost;
};

class IObjectsView : public IRowSelection {
public:
    virtual TObjectsViewEvents& Events() = 0;
    virtual void SetColumns(const std::vector<TObjectsColumnInfo>& columns) = 0;
    // The pane header's text above the list.
    virtual void SetHeaderText(const std::string& text) = 0;

    // Keeps the scroll position; repaints may be coalesced (rows arrive fast during a scan).
    virtual void SetRowCount(int32_t count) = 0;
    virtual void RedrawRows(int32_t first, int32_t last) = 0;
    virtual void RedrawAll() = 0;

    virtual void SelectAll(bool selected) = 0;

    virtual void SetSortImage(int32_t column, TSortImage image) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void SetImageList(TObjectsImageList list) = 0;
    // The shell's index of path's small icon in the system image list.
    virtual int32_t SystemIconIndex(const std::string& path) = 0;

    virtual void SetClipboardText(const std::string& text) = 0;
    // The shell's "open" verb in a normal window.
    virtual bool ShellOpen(const std::string& path) = 0;
    // The folder of path, opened with the object selected.
    virtual bool OpenContainingFolder(const std::string& path) = 0;
    // Shows the menu at the cursor; the chosen command, cmNone when dismissed.
    virtual TObjectsCommand ShowContextMenu(const std::vector<TObjectsMenuItem>& items) = 0;
    // For the message boxes the list raises.
    virtual int32_t MonitorNumber() = 0;
};
