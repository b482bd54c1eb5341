#include "platform/PlatformShell.h"
#include "platform/win32/Win32SystemEntry.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32Paths.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

namespace platform {

namespace {

struct ComScope {
    HRESULT hr;
    ComScope() : hr(CoInitialize(nullptr)) {}
    ~ComScope()
    {
        if (SUCCEEDED(hr))
            CoUninitialize();
    }
};

template <typename T> struct ComRef {
    T* ptr = nullptr;
    ~ComRef()
    {
        if (ptr)
            ptr->Release();
    }
};

} // namespace

std::string SpecialFolderPath(int csidl)
{
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list)
        return std::string();
    wchar_t buffer[MAX_PATH + 1] = {};
    const BOOL ok = SHGetPathFromIDListW(list, buffer);
    CoTaskMemFree(list);
    return ok ? Narrow(buffer) : std::string();
}

std::string UserTrashDirectory() { return std::string(); }

bool QueryRecycleBin(int64_t& sizeBytes, int64_t& itemCount)
{
    using QueryFn = HRESULT(WINAPI*)(LPCWSTR, LPSHQUERYRBINFO);
    TSystemLibrary shell(L"shell32.dll");
    const auto query = shell.Entry<QueryFn>("SHQueryRecycleBinW");
    if (!query)
        return false;
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    if (query(nullptr, &info) != S_OK)
        return false;
    sizeBytes = info.i64Size;
    itemCount = info.i64NumItems;
    return true;
}

bool EmptyRecycleBin(void* ownerWindow)
{
    using EmptyFn = HRESULT(WINAPI*)(HWND, LPCWSTR, DWORD);
    TSystemLibrary shell(L"shell32.dll");
    const auto empty = shell.Entry<EmptyFn>("SHEmptyRecycleBinW");
    if (!empty)
        return false;
    const DWORD flags = SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND;
    return empty(static_cast<HWND>(ownerWindow), nullptr, flags) == S_OK;
}

bool ReadShellLinkTarget(const std::string& linkPath, std::string& target)
{
    ComScope com;
    ComRef<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link.ptr))))
        return false;
    ComRef<IPersistFile> file;
    if (FAILED(link.ptr->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.ptr))))
        return false;
    if (FAILED(file.ptr->Load(ExtendedPath(linkPath).c_str(), STGM_READ)))
        return false;
    wchar_t buffer[MAX_PATH + 1] = {};
    if (FAILED(link.ptr->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH)))
        return false;
    target = Narrow(buffer);
    return true;
}

SelectResult OpenFolderAndSelect(const std::string& path)
{
    using CreateFn = LPITEMIDLIST(WINAPI*)(LPCWSTR);
    using FreeFn = void(WINAPI*)(LPITEMIDLIST);
    using OpenFn = HRESULT(WINAPI*)(LPCITEMIDLIST, UINT, LPCITEMIDLIST*, DWORD);
    TSystemLibrary shell(L"shell32.dll");
    const auto create = shell.Entry<CreateFn>("ILCreateFromPathW");
    const auto release = shell.Entry<FreeFn>("ILFree");
    const auto open = shell.Entry<OpenFn>("SHOpenFolderAndSelectItems");
    if (!create || !release || !open)
        return SelectResult::srNotAvailable;
    LPITEMIDLIST list = create(Widen(path).c_str());
    if (!list)
        return SelectResult::srNotAvailable;
    HRESULT hr = open(list, 0, nullptr, 0);
    if (hr == CO_E_NOTINITIALIZED) {
        ComScope com;
        hr = open(list, 0, nullptr, 0);
    }
    release(list);
    return SUCCEEDED(hr) ? SelectResult::srShown : SelectResult::srFailed;
}

bool StartFileManagerSelecting(const std::string& path)
{
    // Quoted, so that a comma or blank in the path stays part of it.
    const std::wstring parameters = L"/select,\"" + Widen(path) + L"\"";
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", L"explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool ShellOpen(const std::string& program, const std::string& parameters, bool maximized)
{
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", Widen(program).c_str(), Widen(parameters).c_str(), nullptr,
                                           maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool DisableFsRedirection(void*& oldValue)
{
    using DisableFn = BOOL(WINAPI*)(PVOID*);
    const auto disable = SystemEntry<DisableFn>(L"kernel32.dll", "Wow64DisableWow64FsRedirection");
    return disable && disable(&oldValue);
}

bool EnableFsRedirection(void* oldValue)
{
    // Reverting restores exactly the state that the matching disable call saved.
    using RevertFn = BOOL(WINAPI*)(PVOID);
    const auto revert = SystemEntry<RevertFn>(L"kernel32.dll", "Wow64RevertWow64FsRedirection");
    return revert && revert(oldValue);
}

} // namespace platform
