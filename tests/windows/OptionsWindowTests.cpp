// The options window of the real program, driven as a user would: what OK stores reaches the
// preferences file at exit and shows again at the next opening; Cancel and Escape store nothing.
#include "tests/windows/WindowDriver.h"

#include "TestSupport.h"
#include "platform/PlatformSystem.h"
#include "platform/win32/Win32Text.h"
#include "prefs/VelaPreferences.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <sstream>

using namespace window_testing;
using testing_support::TempDir;

namespace {

const char kSecureDeleteWarning[] =
    "The Secure Delete Files option does not work with SSD devices.\r\nIf your computer contains a solid-state "
    "drive (SSD) instead of a hard disk drive (HDD), please disable this option because it will cause aggressive "
    "disk wear. In addition the deleted data will still be readily available to recovery software.";

const char* const kGeneralBoxes[] = {"Confir&mations",
                                     "&Open Object Confirmations",
                                     "Allow Window &Transparency",
                                     "Use &File System Icons",
                                     "&Quota Reports to the Largest Found Capacity",
                                     "Enable U&ninstall Applications",
                                     "Enable &Drive Information",
                                     "Minimi&ze to System Tray",
                                     "St&art Minimized"};

// Every value the options window edits, as one text, to compare two sets of preferences.
std::string OptionValues(const TPreferenceValues& v)
{
    std::ostringstream text;
    for (bool flag : {v.Confirmations, v.OpenObjectConfirmations, v.AllowWindowTransparency, v.UseFileSystemIcons,
                      v.QuotaReportsLargestCapacity, v.EnableUninstallApplications, v.EnableDriveInformation,
                      v.MinimizeToSystemTray, v.StartMinimized, v.IgnoreSymbolicLinks, v.FileDateValidator,
                      v.DateCreated, v.DateModified, v.DateAccessed, v.DateOlder, v.DateNewer,
                      v.FileAttributesValidator, v.AttributeArchive, v.AttributeReadOnly, v.AttributeHidden,
                      v.AttributeSystem, v.FileContentsValidator, v.CaseSensitive, v.FileSizeValidator,
                      v.IgnoreOnImplicitValidator, v.SecureDeleteFiles, v.RandomRewritePattern, v.ComputeSize})
        text << flag;
    text << '|' << v.ExcludeFiles << '|' << v.ExcludeDirectories << '|' << v.CustomFiles << '|'
         << v.CustomDirectories << '|' << v.Containing << '|' << v.ValidatorDate << '|' << v.MinimumSize << '|'
         << v.MaximumSize << '|' << int(v.SecureDeletePasses);
    return text.str();
}

// The field a label names: the control created right after it.
HWND FieldAfter(HWND window, const std::string& label)
{
    HWND found = FindChild(window, label, "Static");
    return found ? GetWindow(found, GW_HWNDNEXT) : nullptr;
}

void Type(HWND window, const std::string& label, const std::string& text)
{
    HWND field = FieldAfter(window, label);
    ASSERT_TRUE(field) << label;
    SetWindowTextW(field, platform::Widen(text).c_str());
}

// Sets a date picker of another process (its SYSTEMTIME travels through that process's memory).
void SetPickerDate(HWND picker, const SYSTEMTIME& date)
{
    DWORD id = 0;
    GetWindowThreadProcessId(picker, &id);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id);
    ASSERT_TRUE(process);
    void* remote = VirtualAllocEx(process, nullptr, sizeof date, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_TRUE(remote);
    ASSERT_TRUE(WriteProcessMemory(process, remote, &date, sizeof date, nullptr));
    EXPECT_TRUE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(remote)));
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
}

class OptionsWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string self = platform::ExecutablePath();
        exe = dir.File("quillswp32.exe");
        const std::string built = self.substr(0, self.find_last_of('\\') + 1) + "../app/" QS_PROGRAM_EXE;
        ASSERT_TRUE(CopyFileW(platform::Widen(built).c_str(), platform::Widen(exe).c_str(), FALSE));
        prefs = dir.File("quillswp32.prefs");
        stored.SetFileName(prefs);
        stored.SetDefaults();
        stored.FirstRun = false;
        ASSERT_TRUE(stored.Save());
    }

    std::unique_ptr<TPreferenceValues> Reloaded()
    {
        auto loaded = std::make_unique<TPreferenceValues>(false);
        loaded->SetFileName(prefs);
        loaded->Load();
        return loaded;
    }

    HWND OpenOptions(TProgram& program, HWND main)
    {
        if (!Press(main, "&Options"))
            return nullptr;
        return program.WaitForWindow("Options");
    }

    HWND Page(HWND options, const char* button)
    {
        HWND toolbarButton = FindChild(options, button, "Button");
        EXPECT_TRUE(Press(toolbarButton));
        EXPECT_TRUE(IsChecked(toolbarButton)) << button << " shows itself pressed";
        return options;
    }

    // Escape, then "Yes" to "Close Quillsweep?".
    static void Quit(TProgram& program, HWND main)
    {
        ASSERT_TRUE(PressKey(main, VK_ESCAPE));
        HWND confirm = program.WaitForWindow("Confirm");
        ASSERT_TRUE(confirm);
        ASSERT_TRUE(Press(FindChild(confirm, "Yes", "Button")));
        EXPECT_EQ(0u, program.WaitForExit().value_or(0xFFFFFFFF));
    }

    TempDir dir;
    std::string exe;
    std::string prefs;
    TPreferenceValues stored{false};
};

TEST_F(OptionsWindow, OkStoresEveryControlAndTheNextOpeningShowsIt)
{
    TProgram program(exe, "", dir.Str());
    HWND main = program.WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    HWND options = OpenOptions(program, main);
    ASSERT_TRUE(options);
    EXPECT_TRUE(IsChecked(FindChild(options, "&General", "Button")));

    // Every box the other way round from its default (Start Minimized once the tray option allows it).
    for (const char* box : kGeneralBoxes) {
        HWND check = FindChild(options, box, "Button");
        ASSERT_TRUE(SetChecked(check, !IsChecked(check))) << box;
    }

    Page(options, "&Scanner");
    Type(options, "Exclude Fil&es:", "a.tmp;b.log");
    Type(options, "Exclude Di&rectories:", "cache");
    Type(options, "Custom &Files:", "*.bak");
    Type(options, "Custom &Directories:", "old*");
    ASSERT_TRUE(SetChecked(FindChild(options, "Ignore Sy&mbolic Links", "Button"), false));

    Page(options, "&Validator");
    for (const char* box : {"File &Date Validator", "File &Attributes Validator", "File C&ontents Validator",
                            "File Si&ze Validator", "Archive", "Hidden", "Case Sens&itive",
                            "Ignore on Implicit &Validator"})
        ASSERT_TRUE(SetChecked(FindChild(options, box, "Button"), true)) << box;
    ASSERT_TRUE(Press(FindChild(options, "Older", "Button")));
    SYSTEMTIME date{2024, 3, 5, 15, 10, 20, 30, 0};
    SetPickerDate(FieldAfter(options, "Dat&e:"), date);
    Type(options, "Con&taining:", "needle");
    Type(options, "Mi&nimum Size (in Ko):", "12a3");
    Type(options, "Ma&ximum Size (in Ko):", "-5");

    Page(options, "&Cleaner");
    ASSERT_TRUE(Press(FindChild(options, "Secure Delete &Files", "Button")));
    HWND warning = program.WaitForWindow("Warning");
    ASSERT_TRUE(warning);
    EXPECT_TRUE(FindChild(warning, kSecureDeleteWarning, "Static"));
    ASSERT_TRUE(Press(FindChild(warning, "Close", "Button")));
    ASSERT_TRUE(WaitUntilGone(warning));
    // The passes field takes one digit from 1 to 7, and nothing pasted.
    HWND passes = FieldAfter(options, "Secure &Delete Passes:");
    ASSERT_TRUE(PressAltKey(options, 'D'));
    ASSERT_TRUE(PressKey(options, '5'));
    EXPECT_EQ("5", WindowText(passes));
    ASSERT_TRUE(PressKey(options, VK_BACK));
    EXPECT_EQ("", WindowText(passes));
    ASSERT_TRUE(PressKey(options, '9'));
    EXPECT_EQ("1", WindowText(passes));
    ASSERT_TRUE(PressKey(options, '6'));
    EXPECT_EQ("6", WindowText(passes));
    SendMessageW(passes, WM_PASTE, 0, 0);
    EXPECT_EQ("6", WindowText(passes));
    ASSERT_TRUE(SetChecked(FindChild(options, "&Random Rewrite Pattern", "Button"), true));
    // Moving to the Recycle Bin and secure deletion exclude each other, both ways.
    HWND secure = FindChild(options, "Secure Delete &Files", "Button");
    HWND recycle = FindChild(options, "Move Objects to the Recycle Bin", "Button");
    ASSERT_TRUE(recycle);
    ASSERT_TRUE(Press(recycle));
    EXPECT_TRUE(IsChecked(recycle));
    EXPECT_FALSE(IsChecked(secure));
    ASSERT_TRUE(Press(secure));
    ASSERT_TRUE(Press(FindChild(program.WaitForWindow("Warning"), "Close", "Button")));
    EXPECT_FALSE(IsChecked(recycle));
    EXPECT_TRUE(IsChecked(secure));

    Page(options, "&Uninstall");
    ASSERT_TRUE(SetChecked(FindChild(options, "C&ompute Size", "Button"), true));

    ASSERT_TRUE(Press(FindChild(options, "OK", "Button")));
    ASSERT_TRUE(WaitUntilGone(options));
    ASSERT_TRUE(WaitForIdle(main));
    for (const auto& child : Children(main))
        EXPECT_FALSE(child.visible && child.text == "Uninstall Applications") << "hidden once OK applied it";

    // The second opening shows what was stored.
    options = OpenOptions(program, main);
    ASSERT_TRUE(options);
    const bool expectedGeneral[] = {true, false, true, false, false, false, false, true, true};
    for (size_t i = 0; i < std::size(kGeneralBoxes); ++i)
        EXPECT_EQ(expectedGeneral[i], IsChecked(FindChild(options, kGeneralBoxes[i], "Button"))) << kGeneralBoxes[i];
    Page(options, "&Scanner");
    EXPECT_EQ("a.tmp;b.log", WindowText(FieldAfter(options, "Exclude Fil&es:")));
    EXPECT_EQ("old*", WindowText(FieldAfter(options, "Custom &Directories:")));
    Page(options, "&Validator");
    EXPECT_TRUE(IsChecked(FindChild(options, "Older", "Button")));
    EXPECT_EQ("123", WindowText(FieldAfter(options, "Mi&nimum Size (in Ko):")));
    EXPECT_EQ("0", WindowText(FieldAfter(options, "Ma&ximum Size (in Ko):")));
    Page(options, "&Cleaner");
    EXPECT_EQ("6", WindowText(FieldAfter(options, "Secure &Delete Passes:")));
    ASSERT_TRUE(Press(FindChild(options, "Cancel", "Button")));
    ASSERT_TRUE(WaitUntilGone(options));
    Quit(program, main);

    // And the file written at exit holds it.
    TPreferenceValues expected(false);
    expected.SetDefaults();
    expected.Confirmations = true;
    expected.OpenObjectConfirmations = false;
    expected.AllowWindowTransparency = true;
    expected.UseFileSystemIcons = false;
    expected.QuotaReportsLargestCapacity = false;
    expected.EnableUninstallApplications = false;
    expected.EnableDriveInformation = false;
    expected.MinimizeToSystemTray = true;
    expected.StartMinimized = true;
    expected.ExcludeFiles = "a.tmp;b.log";
    expected.ExcludeDirectories = "cache";
    expected.CustomFiles = "*.bak";
    expected.CustomDirectories = "old*";
    expected.IgnoreSymbolicLinks = false;
    expected.FileDateValidator = expected.DateOlder = true;
    expected.ValidatorDate = TTimeRoutines::EncodeDateTime({2024, 3, 15, 10, 20, 30, 0});
    expected.FileAttributesValidator = expected.AttributeArchive = expected.AttributeHidden = true;
    expected.FileContentsValidator = expected.CaseSensitive = true;
    expected.Containing = "needle";
    expected.FileSizeValidator = true;
    expected.MinimumSize = 123;
    expected.MaximumSize = 0;
    expected.IgnoreOnImplicitValidator = true;
    expected.SecureDeleteFiles = expected.RandomRewritePattern = true;
    expected.SecureDeletePasses = 6;
    expected.ComputeSize = true;
    EXPECT_EQ(OptionValues(expected), OptionValues(*Reloaded()));
}

TEST_F(OptionsWindow, CancelAndEscapeStoreNothing)
{
    const std::string before = OptionValues(*Reloaded());
    TProgram program(exe, "", dir.Str());
    HWND main = program.WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);

    HWND options = OpenOptions(program, main);
    ASSERT_TRUE(options);
    // The page buttons stand whole in their 52-pixel strip (glyph above caption), with no band
    // between the strip and the pages.
    for (const char* caption : {"&General", "&Scanner", "&Validator", "&Cleaner", "&Uninstall"}) {
        HWND button = FindChild(options, caption, "Button");
        ASSERT_TRUE(button) << caption;
        const RECT shown = WindowRect(button), strip = WindowRect(GetParent(button));
        EXPECT_EQ(52, strip.bottom - strip.top) << caption;
        EXPECT_EQ(46, shown.bottom - shown.top) << caption;
        EXPECT_EQ(3, shown.top - strip.top) << caption;
    }
    ASSERT_TRUE(SetChecked(FindChild(options, "Use &File System Icons", "Button"), false));
    ASSERT_TRUE(SetChecked(FindChild(options, "Minimi&ze to System Tray", "Button"), true));
    Page(options, "&Scanner");
    Type(options, "Custom &Files:", "*.*");
    ASSERT_TRUE(Press(FindChild(options, "Defaults", "Button")));
    EXPECT_EQ("*.tmp", WindowText(FieldAfter(options, "Custom &Files:")));
    Type(options, "Exclude Di&rectories:", "x");
    ASSERT_TRUE(Press(FindChild(options, "Cancel", "Button")));
    ASSERT_TRUE(WaitUntilGone(options));

    options = OpenOptions(program, main);
    ASSERT_TRUE(options);
    EXPECT_TRUE(IsChecked(FindChild(options, "Use &File System Icons", "Button")));
    EXPECT_FALSE(IsChecked(FindChild(options, "Minimi&ze to System Tray", "Button")));
    ASSERT_TRUE(SetChecked(FindChild(options, "Confir&mations", "Button"), true));
    ASSERT_TRUE(PressKey(options, VK_ESCAPE));
    ASSERT_TRUE(WaitUntilGone(options));

    // Confirmations stayed off: the close button ends the program without a question.
    ASSERT_TRUE(Press(FindChild(main, "Close", "Button")));
    EXPECT_EQ(0u, program.WaitForExit().value_or(0xFFFFFFFF));
    EXPECT_EQ(before, OptionValues(*Reloaded()));
}

} // namespace

TEST_F(OptionsWindow, TheListEditorReturnsItsEditedListIntoTheField)
{
    TProgram program(exe, "", dir.Str());
    HWND main = program.WaitForWindow("Quillsweep");
    ASSERT_TRUE(main);
    HWND options = OpenOptions(program, main);
    ASSERT_TRUE(options);
    Page(options, "&Scanner");
    Type(options, "Exclude Fil&es:", "a.tmp;b.log");
    // The field, its Validate button, then its mass-edit button.
    HWND field = FieldAfter(options, "Exclude Fil&es:");
    HWND edit = GetWindow(GetWindow(field, GW_HWNDNEXT), GW_HWNDNEXT);
    ASSERT_EQ("Mass edit the items", WindowText(edit));
    ASSERT_TRUE(Press(edit));

    HWND editor = program.WaitForWindow("Exclude Files Editor");
    ASSERT_TRUE(editor);
    HWND list = FindChild(editor, "", "SysListView32");
    ASSERT_TRUE(list);
    EXPECT_EQ(2, ListViewItemCount(list));
    ASSERT_TRUE(TypeText(editor, "c.dat"));
    ASSERT_TRUE(Press(editor, "&Add"));
    ASSERT_TRUE(Press(FindChild(editor, "OK", "Button")));
    ASSERT_TRUE(WaitUntilGone(editor));
    EXPECT_TRUE(WaitForText(field, "a.tmp;b.log;c.dat"));

    // A cancelled editor leaves the field as it was.
    ASSERT_TRUE(Press(edit));
    editor = program.WaitForWindow("Exclude Files Editor");
    ASSERT_TRUE(editor);
    ASSERT_TRUE(TypeText(editor, "d.dat"));
    ASSERT_TRUE(Press(editor, "&Add"));
    ASSERT_TRUE(PressKey(editor, VK_ESCAPE));
    ASSERT_TRUE(WaitUntilGone(editor));
    EXPECT_EQ("a.tmp;b.log;c.dat", WindowText(field));

    ASSERT_TRUE(Press(FindChild(options, "Cancel", "Button")));
    ASSERT_TRUE(WaitUntilGone(options));
    Quit(program, main);
}
