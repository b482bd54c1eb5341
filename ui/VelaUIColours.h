#pragma once
// Windows' high-contrast mode. While it is on, whatever the toolkit draws in the program's own
// colours takes the user's system colour for the same role instead, and follows a change of
// mode or of the system colours while the program runs (windows pass WM_SETTINGCHANGE and
// WM_SYSCOLORCHANGE on to their controls' ColoursChanged).
#include <windows.h>

#include <cstdint>

namespace ui {

enum class TColourRole : uint8_t {
    Text,          // text on a ground
    Ground,        // a window's or control's ground
    Hot,           // the ground under the mouse or of a pressed button
    HotText,       // text on a hot ground
    Frame,         // lines and frames
    GreyText,      // what cannot be used now
    Highlight,     // a selection, a progress bar's filled part
    HighlightText, // text on a highlight
};

// Asked of the system once and again after each ReadHighContrast; or forced on.
bool HighContrast();
// Draws as in high contrast whatever the system says: for the window gallery and the tests, as
// Wine has no high-contrast mode. Windows then hear of it as of a change of mode.
void ForceHighContrast(bool on);
// Reads the mode again; true when it changed.
bool ReadHighContrast();
// designed while high contrast is off, else the system's colour for role; kNoColour (no colour
// of the control's own) stays as it is.
COLORREF Shown(COLORREF designed, TColourRole role);

} // namespace ui
