#include "ui/VelaUIColours.h"

#include "ui/VelaUIControl.h"

#include <atomic>

namespace ui {

namespace {

bool AskSystem()
{
    // Wine has no high-contrast mode: screenshots of it set this instead.
    wchar_t forcedByEnvironment[4] = {};
    if (GetEnvironmentVariableW(L"QUILLSWEEP_HIGH_CONTRAST", forcedByEnvironment, 4) == 1 &&
        forcedByEnvironment[0] == L'1')
        return true;
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

std::atomic<int>& Cached()
{
    static std::atomic<int> cached{-1}; // -1: not asked yet
    return cached;
}

std::atomic<bool> forced{false};

int SystemIndex(TColourRole role)
{
    switch (role) {
    case TColourRole::Text: return COLOR_WINDOWTEXT;
    case TColourRole::Ground: return COLOR_WINDOW;
    case TColourRole::Hot: return COLOR_HIGHLIGHT;
    case TColourRole::HotText: return COLOR_HIGHLIGHTTEXT;
    case TColourRole::Frame: return COLOR_WINDOWTEXT;
    case TColourRole::GreyText: return COLOR_GRAYTEXT;
    case TColourRole::Highlight: return COLOR_HIGHLIGHT;
    case TColourRole::HighlightText: return COLOR_HIGHLIGHTTEXT;
    }
    return COLOR_WINDOWTEXT;
}

BOOL CALLBACK TellModeChanged(HWND window, LPARAM)
{
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    return TRUE;
}

} // namespace

bool HighContrast()
{
    if (forced.load())
        return true;
    int cached = Cached().load();
    if (cached < 0) {
        cached = AskSystem() ? 1 : 0;
        Cached().store(cached);
    }
    return cached == 1;
}

bool ReadHighContrast()
{
    const int now = AskSystem() ? 1 : 0;
    return Cached().exchange(now) != now;
}

void ForceHighContrast(bool on)
{
    forced.store(on);
    EnumThreadWindows(GetCurrentThreadId(), &TellModeChanged, 0);
}

COLORREF Shown(COLORREF designed, TColourRole role)
{
    if (designed == kNoColour || !HighContrast())
        return designed;
    return GetSysColor(SystemIndex(role));
}

} // namespace ui
