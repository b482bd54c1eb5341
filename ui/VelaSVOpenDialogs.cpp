#include "ui/VelaSVOpenDialogs.h"

#include "platform/win32/Win32Text.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cwchar>
#include <memory>

namespace ui {

namespace {
// Room for a few thousand chosen names at once.
constexpr DWORD kSelectionChars = 1 << 18;

struct TComApartment {
    // The folder dialog's newer style needs the thread in a single-threaded apartment.
    TComApartment() : owned(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~TComApartment()
    {
        if (owned)
            CoUninitialize();
    }
    bool owned;
};

struct TItemListDeleter {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};

int CALLBACK FolderDialogProc(HWND dialog, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED)
        SetWindowTextW(dialog, reinterpret_cast<const wchar_t*>(data));
    return 0;
}
} // namespace

std::vector<std::string> TOpenDialogs::SplitSelection(const wchar_t* buffer)
{
    std::vector<std::string> paths;
    const std::wstring first = buffer;
    const wchar_t* name = buffer + first.size() + 1;
    if (first.empty())
        return paths;
    if (*name == L'\0') {
        paths.push_back(platform::Narrow(first));
        return paths;
    }
    // A drive's root comes with its backslash, other folders without.
    const std::wstring folder = first.back() == L'\\' ? first : first + L'\\';
    for (; *name; name += std::wcslen(name) + 1)
        paths.push_back(platform::Narrow(folder + name));
    return paths;
}

std::vector<std::string> TOpenDialogs::ChooseFiles(HWND owner, const std::string& title, const std::string& filter,
                                                   const std::string& initialDir, bool multiSelect)
{
    std::wstring wideFilter = platform::Widen(filter);
    for (wchar_t& ch : wideFilter)
        if (ch == L'|')
            ch = L'\0';
    wideFilter.push_back(L'\0');
    const std::wstring wideTitle = platform::Widen(title);
    const std::wstring wideDir = platform::Widen(initialDir);
    auto buffer = std::make_unique<wchar_t[]>(kSelectionChars);
    buffer[0] = L'\0';

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = wideFilter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = buffer.get();
    request.nMaxFile = kSelectionChars;
    request.lpstrInitialDir = wideDir.empty() ? nullptr : wideDir.c_str();
    request.lpstrTitle = wideTitle.c_str();
    request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                    OFN_NOCHANGEDIR | (multiSelect ? OFN_ALLOWMULTISELECT : 0);
    if (!GetOpenFileNameW(&request))
        return {};
    return SplitSelection(buffer.get());
}

std::string TOpenDialogs::ChooseFolder(HWND owner, const std::string& title, const std::string& root)
{
    TComApartment apartment;
    std::unique_ptr<ITEMIDLIST, TItemListDeleter> rootList;
    if (!root.empty()) {
        ITEMIDLIST* parsed = nullptr;
        if (SUCCEEDED(SHParseDisplayName(platform::Widen(root).c_str(), nullptr, &parsed, 0, nullptr)))
            rootList.reset(parsed);
    }
    const std::wstring wideTitle = platform::Widen(title);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW request{};
    request.hwndOwner = owner;
    request.pidlRoot = rootList.get();
    request.pszDisplayName = displayName;
    request.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    request.lpfn = &FolderDialogProc;
    request.lParam = reinterpret_cast<LPARAM>(wideTitle.c_str());
    std::unique_ptr<ITEMIDLIST, TItemListDeleter> chosen(SHBrowseForFolderW(&request));
    if (!chosen)
        return {};
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(chosen.get(), path))
        return {};
    return platform::Narrow(path);
}

} // namespace ui
