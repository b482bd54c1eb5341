#pragma once
// Drives this process's windows from a second thread as a user would: finds them by title and
// presses their buttons and keys through posted messages, so the window's own loop serves them.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace msgbox_testing {

inline std::wstring TextOf(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

struct TWindowSearch {
    const std::wstring* title = nullptr;
    const std::function<bool(HWND)>* test = nullptr;
    std::vector<HWND> found;
};

inline BOOL CALLBACK MatchTopLevel(HWND window, LPARAM data)
{
    auto& search = *reinterpret_cast<TWindowSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && TextOf(window) == *search.title)
        search.found.push_back(window);
    return search.found.empty();
}

inline BOOL CALLBACK MatchChild(HWND child, LPARAM data)
{
    auto& search = *reinterpret_cast<TWindowSearch*>(data);
    if ((*search.test)(child))
        search.found.push_back(child);
    return TRUE;
}

// A visible top-level window of this process with that title, waited for up to 10 seconds.
inline HWND WaitForWindow(const std::wstring& title)
{
    TWindowSearch search;
    search.title = &title;
    const DWORD deadline = GetTickCount() + 10000;
    while (search.found.empty() && GetTickCount() < deadline) {
        EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found.empty())
            Sleep(10);
    }
    return search.found.empty() ? nullptr : search.found.front();
}

inline std::vector<HWND> ChildrenWhere(HWND parent, const std::function<bool(HWND)>& test)
{
    TWindowSearch search;
    search.test = &test;
    EnumChildWindows(parent, &MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline LONG ButtonType(HWND child)
{
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    return lstrcmpiW(name, L"Button") == 0 ? GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK : -1;
}

inline bool IsPushButton(HWND child)
{
    const LONG type = ButtonType(child);
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// The push button with that caption: a glyph button may bear the same text as its name, but it
// is owner-drawn, so it is never taken for it.
inline HWND PushButton(HWND box, const std::wstring& caption)
{
    const auto found = ChildrenWhere(box, [&](HWND c) { return IsPushButton(c) && TextOf(c) == caption; });
    return found.empty() ? nullptr : found.front();
}

inline HWND GlyphButton(HWND box, const std::wstring& name)
{
    const auto found = ChildrenWhere(box, [&](HWND c) { return ButtonType(c) == BS_OWNERDRAW && TextOf(c) == name; });
    return found.empty() ? nullptr : found.front();
}

inline HWND CheckBox(HWND box)
{
    const auto found = ChildrenWhere(box, [](HWND c) { return ButtonType(c) == BS_AUTOCHECKBOX; });
    return found.empty() ? nullptr : found.front();
}

inline std::vector<std::wstring> VisiblePushButtons(HWND box)
{
    std::vector<std::wstring> captions;
    for (HWND button : ChildrenWhere(box, [](HWND c) { return IsPushButton(c) && IsWindowVisible(c); }))
        captions.push_back(TextOf(button));
    return captions;
}

// The control of the window that has the keyboard focus, waited for up to 10 seconds.
inline HWND WaitForFocus(HWND window)
{
    const DWORD deadline = GetTickCount() + 10000;
    do {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus &&
            IsChild(window, info.hwndFocus))
            return info.hwndFocus;
        Sleep(10);
    } while (GetTickCount() < deadline);
    return nullptr;
}

inline void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
inline void PressKey(HWND control, UINT key) { PostMessageW(control, WM_KEYDOWN, key, 0); }

// Acts on the window titled `title` from a second thread once it shows. When it never shows or
// the act fails, the window or this thread's loop is ended, so a broken window fails the test
// instead of hanging it. Join before looking at Succeeded().
class TDriver {
public:
    TDriver(std::wstring title, std::function<bool(HWND)> act) : caller_(GetCurrentThreadId())
    {
        thread_ = std::thread([this, title = std::move(title), act = std::move(act)] {
            HWND window = WaitForWindow(title);
            if (window && act(window)) {
                succeeded_ = true;
                return;
            }
            if (window)
                PostMessageW(window, WM_CLOSE, 0, 0);
            else
                PostThreadMessageW(caller_, WM_QUIT, 0, 0);
        });
    }
    ~TDriver() { Join(); }

    bool Join()
    {
        if (thread_.joinable())
            thread_.join();
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        return succeeded_;
    }

private:
    DWORD caller_;
    std::atomic<bool> succeeded_{false};
    std::thread thread_;
};

} // namespace msgbox_testing
