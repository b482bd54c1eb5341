// F1 in the real program: the help copied out beside the temporary files and opened maximised
// in the system's help viewer (Wine's hh.exe, which shows the help's title but blank pages), one
// copy per run, gone after exit; a program without its help says it is damaged.
#include "tests/windows/WindowDriver.h"

#include "TestSupport.h"
#include "platform/PlatformSystem.h"
#include "platform/win32/Win32SystemEntry.h"
#include "platform/win32/Win32Text.h"
#include "prefs/VelaPreferences.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace window_testing;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

std::string NextToTests(const std::string& relative)
{
    const std::string self = platform::ExecutablePath();
    return self.substr(0, self.find_last_of('\\') + 1) + relative;
}

bool Exists(const std::string& path) { return std::filesystem::exists(testing_support::PathOf(path)); }

// A help viewer the program started: its window and process, ended with this object.
class TViewer {
public:
    TViewer(HWND window, HANDLE process) : window_(window), process_(process) {}
    ~TViewer()
    {
        TerminateProcess(process_, 0);
        WaitForSingleObject(process_, kWaitMs);
        CloseHandle(process_);
    }
    TViewer(const TViewer&) = delete;
    TViewer& operator=(const TViewer&) = delete;
    HWND Window() const { return window_; }

    // How the viewer was started, as its process keeps it: the command line and the show state
    // (its own process parameters, read from the 32-bit layout the viewer runs with here).
    struct TStart {
        std::string commandLine;
        DWORD show = 0;
    };
    TStart Start() const
    {
        struct BasicInformation {
            LONG exitStatus;
            ULONG_PTR pebBaseAddress;
            ULONG_PTR affinityMask, basePriority, uniqueProcessId, inheritedFromUniqueProcessId;
        } basic{};
        using QueryFn = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
        const auto query = reinterpret_cast<QueryFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
        TStart start;
        ULONG length = 0;
        if (!query || query(process_, 0, &basic, sizeof basic, &length) != 0)
            return start;
        DWORD parameters = 0;
        BYTE block[0x70] = {};
        if (!Read(basic.pebBaseAddress + 0x10, &parameters, sizeof parameters) || !Read(parameters, block, sizeof block))
            return start;
        USHORT textLength = 0;
        DWORD text = 0;
        memcpy(&textLength, block + 0x40, sizeof textLength);
        memcpy(&text, block + 0x44, sizeof text);
        memcpy(&start.show, block + 0x6C, sizeof start.show);
        std::wstring commandLine(textLength / sizeof(wchar_t), L'\0');
        if (Read(text, commandLine.data(), textLength))
            start.commandLine = platform::Narrow(commandLine);
        return start;
    }

private:
    bool Read(ULONG_PTR address, void* buffer, SIZE_T size) const
    {
        SIZE_T read = 0;
        return ReadProcessMemory(process_, reinterpret_cast<LPCVOID>(address), buffer, size, &read) && read == size;
    }

    HWND window_;
    HANDLE process_;
};

std::string ImageName(HANDLE process)
{
    using QueryImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
    const auto queryImageName = platform::SystemEntry<QueryImageNameFn>(L"kernel32.dll", "QueryFullProcessImageNameW");
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!queryImageName || !queryImageName(process, 0, path, &size))
        return "";
    std::string name = platform::Narrow(path);
    name = name.substr(name.find_last_of('\\') + 1);
    for (char& c : name)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return name;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

// A visible window of an hh.exe process with this title (any title when empty), within timeoutMs.
std::unique_ptr<TViewer> FindViewer(const std::string& title, DWORD timeoutMs, std::vector<std::string>& seen)
{
    for (DWORD waited = 0;; waited += 100) {
        std::vector<HWND> all;
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
        seen.clear();
        for (HWND window : all) {
            const TWindowInfo info = Describe(window);
            if (!info.visible)
                continue;
            DWORD id = 0;
            GetWindowThreadProcessId(window, &id);
            HANDLE process =
                OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, id);
            const std::string image = process ? ImageName(process) : "";
            seen.push_back(image + ": " + info.className + " \"" + info.text + "\"");
            if (process && image == "hh.exe" && (title.empty() || info.text == title))
                return std::make_unique<TViewer>(window, process);
            if (process)
                CloseHandle(process);
        }
        if (waited >= timeoutMs)
            return nullptr;
        Sleep(100);
    }
}

std::unique_ptr<TViewer> WaitForViewer(const std::string& title)
{
    std::vector<std::string> seen;
    auto viewer = FindViewer(title, kWaitMs, seen);
    if (!viewer) {
        std::string list;
        for (const std::string& window : seen)
            list += "\n  " + window;
        ADD_FAILURE() << "no help viewer \"" << title << "\" came; windows:" << list;
    }
    return viewer;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

FILETIME LastWrite(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(platform::Widen(path).c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// The program's temporary folder for the tests' programs: TMP and TEMP, which they inherit.
class TemporaryFolderOf {
public:
    explicit TemporaryFolderOf(const std::string& folder)
    {
        for (const wchar_t* name : {L"TMP", L"TEMP"}) {
            wchar_t value[MAX_PATH] = {};
            saved_.push_back(GetEnvironmentVariableW(name, value, MAX_PATH) ? value : L"");
            SetEnvironmentVariableW(name, platform::Widen(folder).c_str());
        }
    }
    ~TemporaryFolderOf()
    {
        SetEnvironmentVariableW(L"TMP", saved_[0].empty() ? nullptr : saved_[0].c_str());
        SetEnvironmentVariableW(L"TEMP", saved_[1].empty() ? nullptr : saved_[1].c_str());
    }

private:
    std::vector<std::wstring> saved_;
};

class ProgramHelp : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CopyFileW(platform::Widen(NextToTests("../app/" QS_PROGRAM_EXE)).c_str(),
                              platform::Widen(exe).c_str(), FALSE));
        TPreferenceValues returning(false);  // no welcome notice
        returning.SetFileName(dir.File("quillswp32.prefs"));
        returning.Load();
        returning.FirstRun = false;
        ASSERT_TRUE(returning.Save());
    }

    static void CloseProgram(TProgram& program, HWND main)
    {
        ASSERT_TRUE(Press(FindChild(main, "Close", "Button")));
        EXPECT_EQ(0u, program.WaitForExit().value_or(0xFFFFFFFF));
    }

    TempDir dir, temp;
    TemporaryFolderOf temporaryFolder{temp.Str()};
    const std::string exe = dir.File("quillswp32.exe");
    const std::string copy = temp.File("quillswp32.chm");
};

} // namespace

TEST_F(ProgramHelp, F1CopiesTheHelpOutOnceAndOpensItMaximisedAndExitRemovesTheCopy)
{
    const std::string program = ReadBytes(exe);
    TProgram running(exe, "", dir.Str());
    HWND main = running.WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);

    ASSERT_TRUE(PressKey(main, VK_F1));
    {
        auto viewer = WaitForViewer("Quillsweep Help");  // the compiled help's own title
        ASSERT_TRUE(viewer);
        const auto start = viewer->Start();
        EXPECT_NE(std::string::npos, Lower(start.commandLine).find(Lower("mk:@MSITStore:" + copy))) << start.commandLine;
        EXPECT_EQ(static_cast<DWORD>(SW_SHOWMAXIMIZED), start.show);
    }
    const std::string help = ReadBytes(copy);
    ASSERT_GT(help.size(), 8u);
    EXPECT_EQ("ITSF", help.substr(0, 4));
    EXPECT_EQ(program.substr(program.size() - 8 - help.size(), help.size()), help);

    // A second copy would be written anew; the first keeps the time given to it here.
    const FILETIME old{0x12345678, 0x01C00000};
    HANDLE file = CreateFileW(platform::Widen(copy).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &old));
    CloseHandle(file);
    ASSERT_TRUE(PressKey(main, VK_F1));
    EXPECT_TRUE(WaitForViewer("Quillsweep Help")) << "the viewer starts on every F1";
    const FILETIME written = LastWrite(copy);
    EXPECT_TRUE(written.dwLowDateTime == old.dwLowDateTime && written.dwHighDateTime == old.dwHighDateTime)
        << "copied out once per run";

    CloseProgram(running, main);
    EXPECT_FALSE(Exists(copy));
}

TEST_F(ProgramHelp, ProgramWithoutItsHelpSaysItIsDamagedOnEveryF1)
{
    std::string program = ReadBytes(exe);
    program.replace(program.size() - 8, 8, std::string(8, '\0'));
    WriteBytes(exe, program);
    TProgram running(exe, "", dir.Str());
    HWND main = running.WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);

    for (int request = 0; request < 2; ++request) {
        ASSERT_TRUE(PressKey(main, VK_F1));
        HWND box = running.WaitForWindow("Error");
        ASSERT_TRUE(box);
        EXPECT_TRUE(FindChild(box,
                              "Failed to display the Help topics because this copy of Quillsweep is damaged.\r\n"
                              "Please obtain a new copy of \"quillswp32.exe\".",
                              "Static"));
        ASSERT_TRUE(Press(FindChild(box, "Close", "Button")));
        ASSERT_TRUE(WaitUntilGone(box));
    }
    std::vector<std::string> seen;
    EXPECT_FALSE(FindViewer("", 500, seen)) << "no viewer for a damaged help";
    EXPECT_TRUE(Exists(copy)) << "the empty copy stays until the program ends";
    CloseProgram(running, main);
    EXPECT_FALSE(Exists(copy));
}
