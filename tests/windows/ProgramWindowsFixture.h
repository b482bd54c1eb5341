#pragma once
// The real program copied into a scratch folder, so its preferences file is the test's own, and
// the helpers its window tests share.
#include "tests/windows/WindowDriver.h"

#include "TestSupport.h"
#include "platform/PlatformSystem.h"
#include "platform/win32/Win32Text.h"
#include "prefs/VelaPreferences.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace program_testing {

using namespace window_testing;
using testing_support::TempDir;

inline std::string ProgramNextToTests()
{
    const std::string self = platform::ExecutablePath();
    return self.substr(0, self.find_last_of('\\') + 1) + "../app/" QS_PROGRAM_EXE;
}

inline void WriteFile(const std::string& path, const std::string& bytes) { testing_support::WriteBytes(path, bytes); }
inline bool Exists(const std::string& path) { return GetFileAttributesW(platform::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// The program's own copy in a scratch folder, so its preferences file is the test's.
class ProgramWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        exe = dir.File("quillswp32.exe");
        ASSERT_TRUE(CopyFileW(platform::Widen(ProgramNextToTests()).c_str(), platform::Widen(exe).c_str(), FALSE));
        prefs = dir.File("quillswp32.prefs");
    }

    // Preferences as a returning user has them: no welcome notice.
    TPreferenceValues& Stored()
    {
        if (!values) {
            values = std::make_unique<TPreferenceValues>(false);
            values->SetFileName(prefs);
            values->Load(); // the defaults when there is no file yet
            values->FirstRun = false;
        }
        return *values;
    }
    void Store() { ASSERT_TRUE(Stored().Save()); }
    std::unique_ptr<TPreferenceValues> Reloaded()
    {
        auto loaded = std::make_unique<TPreferenceValues>(false);
        loaded->SetFileName(prefs);
        loaded->Load();
        return loaded;
    }

    // A folder "target" in the scratch folder holding files (names below it, "\\" between folders,
    // each folder made on the way), each holding bytes; its path.
    std::string MakeTarget(std::initializer_list<const char*> files, const std::string& bytes = "data")
    {
        const std::string target = dir.File("target");
        for (const char* name : files) {
            const std::string path = target + "\\" + name;
            for (size_t slash = target.size(); slash != std::string::npos; slash = path.find('\\', slash + 1))
                CreateDirectoryW(platform::Widen(path.substr(0, slash)).c_str(), nullptr);
            WriteFile(path, bytes);
        }
        return target;
    }

    std::unique_ptr<TProgram> Start(const std::string& arguments = "")
    {
        return std::make_unique<TProgram>(exe, arguments, dir.Str());
    }

    // Escape, then "Yes" to the question: the way a user closes it from the keyboard.
    static void CloseWithEscape(TProgram& program, HWND main)
    {
        ASSERT_TRUE(PressKey(main, VK_ESCAPE));
        HWND confirm = program.WaitForWindow("Confirm");
        ASSERT_TRUE(confirm);
        ASSERT_TRUE(FindChild(confirm, "Close Quillsweep?", "Static"));
        ASSERT_TRUE(Press(FindChild(confirm, "Yes", "Button")));
        EXPECT_EQ(0u, program.WaitForExit().value_or(0xFFFFFFFF));
    }

    // Starts, answers the welcome notice when one is expected, closes: one whole run.
    void RunOnce(const std::string& arguments, bool welcome)
    {
        auto program = Start(arguments);
        HWND main = program->WaitForWindow("Quillsweep");
        ASSERT_TRUE(main);
        if (welcome) {
            HWND notice = program->WaitForWindow("Warning");
            ASSERT_TRUE(notice);
            ASSERT_TRUE(Press(FindChild(notice, "Close", "Button")));
            ASSERT_TRUE(WaitUntilGone(notice));
        }
        CloseWithEscape(*program, main);
    }

    TempDir dir;
    std::string exe;
    std::string prefs;
    std::unique_ptr<TPreferenceValues> values;
};

// The options list: the first list view after the options pane's caption (the targets list has
// one column too).
inline HWND OptionsList(HWND main)
{
    bool captionSeen = false;
    for (const TWindowInfo& child : Children(main)) {
        if (child.className == "Static" && child.text.find("Clean-up Options") != std::string::npos)
            captionSeen = true;
        else if (captionSeen && child.visible && child.className == "SysListView32")
            return child.handle;
    }
    return nullptr;
}

// The list of found objects: the list view on the shown page.
inline HWND ObjectsList(HWND main)
{
    for (const auto& child : Children(main))
        if (child.visible && child.className == "SysListView32" && ListViewColumnCount(child.handle) == 4)
            return child.handle;
    return nullptr;
}


} // namespace program_testing
