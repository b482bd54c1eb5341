#pragma once
// Rules of the program's own message box: titles, images, buttons, the result of how it was
// closed, its design-size layout, height fitting and centring. Portable; the Win32 form applies them.
#include "ui/models/uWidgetServices.h"

#include <cstdint>
#include <string>

// "Error", "Warning", "Information", "Confirm", "Important", "Safe".
const char* MsgBoxTitle(TMsgBoxKind kind);
// Bitmap resource names: "ERROR", "WARNING", "INFORMATION", "CONFIRM", "IMPORTANT", "SAFE".
const char* MsgBoxBitmapName(TMsgBoxKind kind);

namespace msgbox_captions {
extern const char* const kApplyToAll; // "Apply to all items"
extern const char* const kOK;         // "OK"
extern const char* const kYes;        // "Yes"
extern const char* const kClose;      // "Close"
extern const char* const kCancel;     // "Cancel"
extern const char* const kNo;         // "No"
} // namespace msgbox_captions

// What the button bits (msgbox_buttons) show. OK, Yes, Close caption the one accept button;
// Cancel, No the one refuse button; the highest requested bit's caption wins.
struct TMsgBoxButtonSet {
    bool showApplyToAll = false;
    bool showAccept = false;
    std::string acceptCaption;
    bool showRefuse = false;
    std::string refuseCaption;
};
TMsgBoxButtonSet MsgBoxButtons(uint32_t buttons);

// How the box was closed.
enum class TMsgBoxClose : uint8_t {
    mcAcceptButton,  // the accept button
    mcRefuseButton,  // the refuse button
    mcTitleClose,    // the title bar's close button
    mcEscape,        // the Escape key
    mcOther,         // any other way (the system closing it, Alt+F4 ...)
};
// Accept: 1, or 2 with "Apply to all items" checked; refuse, title close, Escape: 3, or 4 with
// the check; any other way: 1.
TMsgBoxResult MsgBoxResult(TMsgBoxClose how, bool applyToAll);

// The layout at design size (96 DPI pixels); the client is the whole borderless window.
namespace msgbox_layout {
constexpr int32_t kClientWidth = 465;
constexpr int32_t kClientHeight = 143;
constexpr int32_t kTitleBarHeight = 25;
constexpr int32_t kFrameWidth = 3; // frame lines left, right and bottom

constexpr int32_t kBitmapLeft = 24;
constexpr int32_t kBitmapTop = 40;
constexpr int32_t kBitmapSize = 32;

constexpr int32_t kMessageLeft = 72;
constexpr int32_t kMessageTop = 40;
constexpr int32_t kMessageWidth = 377;
constexpr int32_t kMessageHeight = 57;

constexpr int32_t kButtonWidth = 81;
constexpr int32_t kButtonHeight = 25;
constexpr int32_t kButtonTop = 104;
constexpr int32_t kAcceptLeft = 370; // anchored bottom-right
constexpr int32_t kRefuseLeft = 282; // anchored bottom-right

constexpr int32_t kCheckLeft = 72; // anchored bottom-left
constexpr int32_t kCheckTop = 108;

// Padding added below the fitted message.
constexpr int32_t kFitPadding = 4;

// Anchor distances kept when the box changes size.
constexpr int32_t kAcceptRightMargin = kClientWidth - kAcceptLeft - kButtonWidth;  // 14
constexpr int32_t kRefuseRightMargin = kClientWidth - kRefuseLeft - kButtonWidth;  // 102
constexpr int32_t kButtonBottomMargin = kClientHeight - kButtonTop - kButtonHeight; // 14
constexpr int32_t kCheckBottomOffset = kClientHeight - kCheckTop;                   // 35: box bottom - check top
} // namespace msgbox_layout

// The box height for a message measured at measuredTextHeight (the message takes that height):
// kClientHeight + (measured - kMessageHeight) + kFitPadding. Design pixels in and out.
int32_t MsgBoxFittedHeight(int32_t measuredTextHeight);

struct TMsgBoxRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Every control placed for a message of measuredTextHeight (design pixels): the message takes the
// measured height, the buttons and check box keep their bottom anchors. The check box's size is the
// form's own (width and height 0 here).
struct TMsgBoxArrangement {
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    TMsgBoxRect bitmap;
    TMsgBoxRect message;
    TMsgBoxRect acceptButton;
    TMsgBoxRect refuseButton;
    TMsgBoxRect checkBox;
};
TMsgBoxArrangement MsgBoxArrange(int32_t measuredTextHeight);

struct TMsgBoxPosition {
    int32_t left = 0;
    int32_t top = 0;
};
// Centred on the monitor's rectangle: monitorLeft + monitorWidth / 2 - boxWidth / 2, and the same
// for the top (integer halves, each taken separately).
TMsgBoxPosition MsgBoxCentre(int32_t monitorLeft, int32_t monitorTop, int32_t monitorWidth, int32_t monitorHeight,
                             int32_t boxWidth, int32_t boxHeight);
