// The floor a Windows scan or clean is measured against: a plain recursive FindFirstFileExW walk
// that counts (or deletes) the files whose names match one mask, with nothing else done.
// Usage: BareWalk root mask [--delete]. Built by benchmarks/windows-vs-walk.sh.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// "*" and "?" wildcards without letter case, as the tool matches its masks.
bool Matches(const wchar_t* name, const wchar_t* mask)
{
    if (*mask == L'\0')
        return *name == L'\0';
    if (*mask == L'*')
        return Matches(name, mask + 1) || (*name && Matches(name + 1, mask));
    return *name && (*mask == L'?' || towlower(*name) == towlower(*mask)) && Matches(name + 1, mask + 1);
}

long long Walk(const std::wstring& folder, const wchar_t* mask, bool remove)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoStandard, &data, FindExSearchNameMatch,
                                   nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    long long found = 0;
    do {
        if (wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0)
            continue;
        const std::wstring path = folder + L"\\" + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                found += Walk(path, mask, remove);
        } else if (Matches(data.cFileName, mask)) {
            ++found;
            if (remove)
                DeleteFileW(path.c_str());
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return found;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fputs("usage: BareWalk root mask [--delete]\n", stderr);
        return 2;
    }
    const bool remove = argc > 3 && wcscmp(argv[3], L"--delete") == 0;
    std::printf("%lld\n", Walk(argv[1], argv[2], remove));
    return 0;
}
