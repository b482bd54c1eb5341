#pragma once
// The clean-up options list as its pane sees it: an owner-drawn list view with check boxes, its
// header and the four preset buttons. The Win32 form implements it; tests use a fake.
#include "cycle/uCycleSetup.h"

#include <cstdint>
#include <functional>
#include <string>

// Where a row's parts go, in pixels from the row's top left corner.
namespace option_row_layout {
constexpr int32_t kHeight = 36;
constexpr int32_t kImageLeft = 4;
constexpr int32_t kImageTop = 3;
constexpr int32_t kTextLeft = 24;
constexpr int32_t kCaptionTop = 4;
constexpr int32_t kDescriptionTop = 18;
} // namespace option_row_layout

// How one option row is drawn. Colours as the system's COLORREF (0x00BBGGRR).
struct TOptionRowDrawing {
    bool selected = false;   // filled with the selection colour, else the list's own brush
    int32_t imageIndex = 0;  // into the safety images: the option's safety class
    std::string caption;
    std::string description;
    uint32_t captionColour = 0;
    uint32_t descriptionColour = 0;
    bool boldCaption = true; // the description is always of normal weight
    bool available = true;   // greyed, and read as unavailable by assistive tools
};

struct TOptionsViewEvents {
    // A row's check box changed by the user (click or Space).
    std::function<void(int32_t row)> onRowCheckToggled;
    // row: -1 off the rows. The view leaves the check alone; the pane toggles it.
    std::function<void(int32_t row)> onDoubleClick;
    // WM_MOUSEWHEEL's delta: positive when turned away from the user.
    std::function<void(int32_t delta)> onWheel;
    std::function<void(TOptionPreset preset)> onPreset;
    // Asked for every row the view paints.
    std::function<TOptionRowDrawing(int32_t row, bool selected)> onDrawRow;
};

// An owner-drawn list view with check boxes and rows kHeight pixels high, its header, and the
// four preset buttons.
class IOptionsView {
public:
    virtual ~IOptionsView() = default;

    virtual TOptionsViewEvents& Events() = 0;
    virtual void SetRowCount(int32_t count) = 0;
    virtual bool RowChecked(int32_t row) = 0;
    // May report the change through onRowCheckToggled like a user's; the pane ignores its own.
    virtual void SetRowChecked(int32_t row, bool checked) = 0;
    // As if the key were pressed in the list: focus and selection move one row, scrolled to.
    virtual void PressArrowKey(bool down) = 0;
    virtual void SetHeaderText(const std::string& text) = 0;
    virtual void SetPresetCaption(TOptionPreset preset, const std::string& text) = 0;
    virtual void Repaint() = 0;
    virtual int32_t MonitorNumber() = 0;
};
