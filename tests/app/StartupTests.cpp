// Starts the real Windows program in a scratch folder and looks at the preferences it leaves.
#ifdef _WIN32
#include "TestSupport.h"

#include "platform/PlatformSystem.h"
#include "platform/win32/Win32Text.h"
#include "prefs/VelaPreferences.h"

#include <gtest/gtest.h>
#include <windows.h>

using testing_support::ReadBytes;
using testing_support::TempDir;

namespace {

std::string ProgramNextToTests()
{
    const std::string self = platform::ExecutablePath();
    return self.substr(0, self.find_last_of('\\') + 1) + "../app/" QS_PROGRAM_EXE;
}

DWORD RunProgram(const std::string& exe, const std::string& arguments)
{
    std::wstring commandLine = L"\"" + platform::Widen(exe) + L"\" " + platform::Widen(arguments);
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0xFFFFFFFF;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

class ProgramStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        exe = dir.File("quillswp32.exe");
        ASSERT_TRUE(CopyFileW(platform::Widen(ProgramNextToTests()).c_str(), platform::Widen(exe).c_str(), FALSE))
            << ProgramNextToTests();
        prefs = dir.File("quillswp32.prefs");
    }

    TempDir dir;
    std::string exe;
    std::string prefs;
};

} // namespace

TEST_F(ProgramStart, FirstStartLeavesDefaultFileWithTheProgramsStamp)
{
    ASSERT_EQ(0u, RunProgram(exe, ""));
    const std::string bytes = ReadBytes(prefs);
    ASSERT_EQ(152u, bytes.size());
    EXPECT_EQ("Vela.PREFS", bytes.substr(0, 10));
    EXPECT_EQ(std::string("\xE9\x03\x00\x00", 4), bytes.substr(10, 4)) << "stamp 1001 of version 1.0.0.1";

    TPreferenceValues values(false);
    values.SetFileName(prefs);
    values.Load();
    EXPECT_TRUE(values.FirstRun) << "the stamp in the file matches the running version";
    EXPECT_EQ("desktop.ini;index.dat", values.ExcludeFiles);
}

TEST_F(ProgramStart, ResetArgumentInCapitalsBringsTheDefaultsBack)
{
    ASSERT_EQ(0u, RunProgram(exe, ""));
    TPreferenceValues values(false);
    values.SetFileName(prefs);
    values.Load();
    values.FirstRun = false;
    values.ExcludeFiles = "only-this.txt";
    values.ProgramRuns = 41;
    ASSERT_TRUE(values.Save());

    ASSERT_EQ(0u, RunProgram(exe, "-resetprefs_not C:\\"));
    TPreferenceValues kept(false);
    kept.SetFileName(prefs);
    kept.Load();
    EXPECT_EQ("only-this.txt", kept.ExcludeFiles);

    ASSERT_EQ(0u, RunProgram(exe, "C:\\ -RESETPREFS"));
    kept.Load();
    EXPECT_EQ(41u, kept.ProgramRuns) << "only the first argument may ask for a reset";

    ASSERT_EQ(0u, RunProgram(exe, "-RESETPREFS"));
    TPreferenceValues reset(false);
    reset.SetFileName(prefs);
    reset.Load();
    EXPECT_TRUE(reset.FirstRun);
    EXPECT_EQ("desktop.ini;index.dat", reset.ExcludeFiles);
    EXPECT_EQ(0u, reset.ProgramRuns);
    EXPECT_EQ(152u, ReadBytes(prefs).size());
}
#endif
