// The options window's behaviour over a fake window: what it loads, previews, checks and stores.
#include "app/uOptionsController.h"
#include "tests/app/MainTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using main_testing::ScriptedMessageBoxes;

namespace {

struct FakeControl {
    std::string text;
    std::string hint;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
};

class FakeOptionsWindowView : public IOptionsWindowView {
public:
    TOptionsWindowEvents& Events() override { return events; }
    bool HasControl(const std::string& name) override { return controls.count(name) != 0; }
    void OnClick(const std::string& name, std::function<void()> handler) override { clicks[name] = handler; }
    std::string Text(const std::string& name) override { return controls[name].text; }
    void SetText(const std::string& name, const std::string& text) override { controls[name].text = text; }
    void SetHint(const std::string& name, const std::string& text) override { controls[name].hint = text; }
    void SetGlyph(const std::string&, const std::string&) override {}
    bool Checked(const std::string& name) override { return controls[name].checked; }
    void SetChecked(const std::string& name, bool checked) override { controls[name].checked = checked; }
    void SetEnabled(const std::string& name, bool enabled) override { controls[name].enabled = enabled; }
    void SetVisible(const std::string& name, bool visible) override { controls[name].visible = visible; }
    void SetFocus(const std::string& name) override { focus = name; }
    void ShowPage(size_t index) override { page = index; }
    size_t ActivePage() override { return page; }
    void SetDateFormat(const std::string& format) override { dateFormat = format; }
    TDateTime Date() override { return date; }
    void SetDate(TDateTime value) override { date = value; }
    int32_t MonitorNumber() override { return 1; }
    void ApplyTransparencyToAll(bool enabled, uint8_t alpha) override
    {
        log.push_back(std::string("transparency ") + (enabled ? "on " : "off ") + std::to_string(alpha));
    }
    void Close(bool accepted) override
    {
        closed = accepted ? "ok" : "cancel";
        events.onClosed(accepted);
    }

    // A user's click: a check box toggles, a radio button takes the group's choice.
    void Click(const std::string& name)
    {
        FakeControl& control = controls.at(name);
        ASSERT_TRUE(control.enabled && control.visible) << name;
        if (name.rfind("cb", 0) == 0)
            control.checked = !control.checked;
        if (name.rfind("rb", 0) == 0) {
            for (auto& [other, state] : controls)
                if (other.rfind("rb", 0) == 0)
                    state.checked = false;
            control.checked = true;
        }
        if (clicks.count(name))
            clicks[name]();
    }
    void Type(const std::string& field, const std::string& text) { controls.at(field).text = text; }

    TOptionsWindowEvents events;
    std::map<std::string, FakeControl> controls;
    std::map<std::string, std::function<void()>> clicks;
    std::vector<std::string>& log;
    std::string focus;
    std::string dateFormat;
    std::string closed;
    size_t page = 99;
    TDateTime date = 0;

    explicit FakeOptionsWindowView(std::vector<std::string>& sharedLog) : log(sharedLog) {}
};

class RecordingMainController : public IMainController {
public:
    explicit RecordingMainController(std::vector<std::string>& sharedLog) : log(sharedLog) {}
    int32_t ResizeHitTest(int32_t, int32_t, int32_t, int32_t, int32_t result) override { return result; }
    void LoadStrings() override {}
    void UpdateTrayTip() override { log.push_back("tray tip"); }
    void SetFileSystemIcons(bool on) override { log.push_back(std::string("icons ") + (on ? "on" : "off")); }
    void PreviewQuotaMode(bool on) override { log.push_back(std::string("quota ") + (on ? "largest" : "total")); }
    void ApplyFeatureVisibility() override { log.push_back("features"); }
    void PreviewMinimizeToTray(bool on) override { log.push_back(std::string("tray ") + (on ? "on" : "off")); }
    void ApplyCustomMasks() override { log.push_back("masks"); }
    void RepaintOptions() override { log.push_back("repaint"); }
    std::vector<std::string>& log;
};

struct EditListCall {
    std::string name;
    std::string text;
    bool directories;
};

class EditListServices : public main_testing::CountingWindowServices {
public:
    int32_t ShowEditList(const std::string& name, std::string& text, bool directories, bool& changed) override
    {
        calls.push_back({name, text, directories});
        changed = true;
        text = "edited;list";
        return result;
    }
    int32_t result = 1;
    std::vector<EditListCall> calls;
};

class OptionsWindow : public ::testing::Test {
protected:
    OptionsWindow()
    {
        stored.SetDefaults();
        stored.ValidatorDate = 45000.5;
    }
    void Open()
    {
        controller = std::make_unique<TOptionsController>(view, boxes, services, stored);
        controller->SetMainController(main);
        view.events.onShow();
        log.clear();
    }
    void Ok() { view.Click("btnOK"); }
    void Select(size_t page) { view.Click("b" + std::to_string(page + 1)); }

    std::vector<std::string> log;
    FakeOptionsWindowView view{log};
    RecordingMainController main{log};
    ScriptedMessageBoxes boxes;
    EditListServices services;
    TPreferenceValues stored{false};
    std::unique_ptr<TOptionsController> controller;
};

TEST(OptionsRoutines, ItemCheckReportsTheFirstForbiddenCharacterWithItsItem)
{
    EXPECT_FALSE(TOptionsController::FindInvalidItem(""));
    EXPECT_FALSE(TOptionsController::FindInvalidItem("Temp*.tmp;*.chk"));
    EXPECT_FALSE(TOptionsController::FindInvalidItem("C:\\Logs\\*.log;my file.bak"));
    auto fault = TOptionsController::FindInvalidItem("Temp?.tmp");
    ASSERT_TRUE(fault);
    EXPECT_EQ("?", fault->character);
    EXPECT_EQ("Temp?.tmp", fault->item);
    fault = TOptionsController::FindInvalidItem("ok;a|b;c\"d");
    ASSERT_TRUE(fault);
    EXPECT_EQ("|", fault->character);
    EXPECT_EQ("a|b", fault->item);
}

TEST(OptionsRoutines, SizeFieldsKeepTheirDigitsAndNeverGoNegative)
{
    EXPECT_EQ(123, TOptionsController::ParseSize("12a3"));
    EXPECT_EQ(0, TOptionsController::ParseSize("-5"));
    EXPECT_EQ(0, TOptionsController::ParseSize(""));
    EXPECT_EQ(12, TOptionsController::ParseSize("1-2 Ko"));
    EXPECT_EQ(0, TOptionsController::ParseSize("99999999999"));
    EXPECT_EQ(2147483647, TOptionsController::ParseSize("2147483647"));
}

TEST_F(OptionsWindow, ShowsTheStoredValuesWithPanelsOfTheTickedValidators)
{
    stored.FileSizeValidator = true;
    stored.MinimumSize = 42;
    stored.ExcludeDirectories = "cache";
    Open();
    EXPECT_EQ("yyyy-MM-dd", view.dateFormat);
    EXPECT_EQ(0u, view.page);
    EXPECT_TRUE(view.controls["b1"].checked);
    EXPECT_EQ("Exclude Fil&es:", view.Text("lblExcludeFiles"));
    EXPECT_EQ("desktop.ini;index.dat", view.Text("edtExcludeFiles"));
    EXPECT_EQ("cache", view.Text("edtExcludeDirectories"));
    EXPECT_EQ("42", view.Text("edtMinimumSize"));
    EXPECT_EQ("1", view.Text("edtSecureDeletePasses"));
    EXPECT_EQ(45000.5, view.date);
    EXPECT_TRUE(view.controls["pnlFileSizeValidator"].visible);
    EXPECT_FALSE(view.controls["pnlFileDateValidator"].visible);
    EXPECT_FALSE(view.controls["pnlSecureDeleteFiles"].visible);

    Select(3);
    EXPECT_EQ(3u, view.page);
    EXPECT_TRUE(view.controls["b4"].checked);
    EXPECT_FALSE(view.controls["b1"].checked);
    view.Click("cbSecureDeleteFiles");
    EXPECT_TRUE(view.controls["pnlSecureDeleteFiles"].visible);
    view.Click("cbSecureDeleteFiles");
    EXPECT_FALSE(view.controls["pnlSecureDeleteFiles"].visible);
}

TEST_F(OptionsWindow, StartMinimizedFollowsMinimizeToTrayAndTheStoredValue)
{
    stored.MinimizeToSystemTray = false;
    stored.StartMinimized = true;
    Open();
    EXPECT_FALSE(view.controls["cbStartMinimized"].enabled);
    EXPECT_FALSE(view.Checked("cbStartMinimized"));
    view.Click("cbMinimizeToSystemTray");
    EXPECT_TRUE(view.controls["cbStartMinimized"].enabled);
    EXPECT_TRUE(view.Checked("cbStartMinimized"));

    // A tick the user gave is lost when the tray option goes off and on again.
    stored.StartMinimized = false;
    view.Click("cbStartMinimized");
    view.Click("cbStartMinimized");
    ASSERT_TRUE(view.Checked("cbStartMinimized"));
    view.Click("cbMinimizeToSystemTray");
    view.Click("cbMinimizeToSystemTray");
    EXPECT_FALSE(view.Checked("cbStartMinimized"));
    EXPECT_EQ((std::vector<std::string>{"tray on", "tray off", "tray on"}), log);
}

TEST_F(OptionsWindow, PassesFieldHoldsOneDigitFromOneToSevenOrNothing)
{
    Open();
    const auto type = [this](uint32_t character) {
        view.events.onPassesKey(character);
        return view.Text("edtSecureDeletePasses");
    };
    EXPECT_EQ("5", type('5'));
    EXPECT_EQ("7", type('7'));
    EXPECT_EQ("", type(8));
    EXPECT_EQ("1", type('8'));
    EXPECT_EQ("1", type('0'));
    EXPECT_EQ("1", type('x'));
    EXPECT_EQ("1", type(0x16)); // Ctrl+V
}

TEST_F(OptionsWindow, SecureDeleteWarnsWhenTheButtonIsReleasedOverATickedBox)
{
    Open();
    view.events.onSecureDeleteMouseUp();
    EXPECT_TRUE(boxes.shown.empty());
    view.Click("cbSecureDeleteFiles");
    view.events.onSecureDeleteMouseUp();
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkWarning, boxes.shown[0].kind);
    EXPECT_EQ(options_texts::kSecureDeleteWarning, boxes.shown[0].text);
    EXPECT_EQ(msgbox_buttons::kClose, boxes.shown[0].buttons);
}

TEST_F(OptionsWindow, OkStoresEveryControlAndHasTheMainWindowApplyThem)
{
    Open();
    view.Click("cbConfirmations");
    view.Click("cbEnableDriveInformation");
    view.Type("edtCustomFiles", "*.tmp;*.~*");
    view.Type("edtContaining", "secret");
    view.Click("cbFileDateValidator");
    view.Click("rbOlder");
    view.date = 46000.25;
    view.Type("edtMinimumSize", "12a3");
    view.Type("edtMaximumSize", "-5");
    view.Type("edtSecureDeletePasses", "6");
    view.Click("cbComputeSize");
    log.clear();
    Ok();
    EXPECT_EQ("ok", view.closed);
    EXPECT_EQ((std::vector<std::string>{"tray tip", "features", "masks", "repaint"}), log);
    EXPECT_TRUE(stored.Confirmations);
    EXPECT_FALSE(stored.EnableDriveInformation);
    EXPECT_EQ("*.tmp;*.~*", stored.CustomFiles);
    EXPECT_EQ("secret", stored.Containing);
    EXPECT_TRUE(stored.FileDateValidator);
    EXPECT_TRUE(stored.DateOlder);
    EXPECT_FALSE(stored.DateCreated);
    EXPECT_EQ(46000.25, stored.ValidatorDate);
    EXPECT_EQ(123, stored.MinimumSize);
    EXPECT_EQ(0, stored.MaximumSize);
    EXPECT_EQ(6, stored.SecureDeletePasses);
    EXPECT_TRUE(stored.ComputeSize);
}

TEST_F(OptionsWindow, OkWithAnEmptiedPassesFieldKeepsTheStoredCount)
{
    stored.SecureDeletePasses = 4;
    Open();
    view.events.onPassesKey(8);
    Ok();
    EXPECT_EQ("ok", view.closed);
    EXPECT_EQ(4, stored.SecureDeletePasses);
}

TEST_F(OptionsWindow, OkRefusesABadItemOnAnotherPageAndStoresNothing)
{
    Open();
    view.Click("cbConfirmations");
    view.Type("edtExcludeDirectories", "ok;a|b;c");
    Ok();
    EXPECT_EQ("", view.closed);
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkError, boxes.shown[0].kind);
    EXPECT_EQ("An invalid character (\"|\") was found while attempting to validate the \"a|b\" file or directory "
              "name.\r\nPlease correct this error in order to continue.",
              boxes.shown[0].text);
    EXPECT_EQ(1u, view.page);
    EXPECT_EQ("edtExcludeDirectories", view.focus);
    EXPECT_FALSE(stored.Confirmations);
    EXPECT_TRUE(log.empty());
}

TEST_F(OptionsWindow, OkWithTheDateValidatorButNoDateChoiceShowsTheValidatorPage)
{
    Open();
    Select(2);
    view.Click("cbFileDateValidator");
    Select(0);
    Ok();
    EXPECT_EQ("", view.closed);
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkInformation, boxes.shown[0].kind);
    EXPECT_EQ("Please select a date modifier in order to properly use the File Date Validator.", boxes.shown[0].text);
    EXPECT_EQ(2u, view.page);
    EXPECT_TRUE(view.controls["b3"].checked);
    EXPECT_EQ("pnlFileDateValidator", view.focus);
    EXPECT_FALSE(stored.FileDateValidator);
}

TEST_F(OptionsWindow, OkRefusesTextsThePreferencesFileCannotHold)
{
    Open();
    view.Click("cbCaseSensitive");
    view.Type("edtContaining", "caf\xC3\xA9");
    Ok();
    EXPECT_EQ("", view.closed);
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkError, boxes.shown[0].kind);
    EXPECT_NE(std::string::npos, boxes.shown[0].text.find("\"Containing\""));
    EXPECT_EQ(2u, view.page);
    EXPECT_EQ("edtContaining", view.focus);
    EXPECT_FALSE(stored.CaseSensitive);
    EXPECT_EQ("", stored.Containing);
}

TEST_F(OptionsWindow, DefaultsResetOnlyTheCurrentPageAndActLikeClicks)
{
    stored.UseFileSystemIcons = false;
    stored.ExcludeFiles = "mine";
    stored.FileContentsValidator = true;
    stored.DateNewer = true;
    stored.SecureDeletePasses = 3;
    Open();
    Select(1);
    view.Click("btnDefaults");
    EXPECT_EQ("desktop.ini;index.dat", view.Text("edtExcludeFiles"));
    EXPECT_EQ("mine", stored.ExcludeFiles);
    EXPECT_FALSE(view.Checked("cbUseFileSystemIcons"));
    EXPECT_TRUE(view.Checked("rbNewer"));
    EXPECT_EQ("3", view.Text("edtSecureDeletePasses"));
    EXPECT_TRUE(log.empty());

    Select(2);
    view.Type("edtMaximumSize", "77");
    view.Click("btnDefaults");
    EXPECT_FALSE(view.Checked("rbNewer"));
    EXPECT_FALSE(view.Checked("cbFileContentsValidator"));
    EXPECT_FALSE(view.controls["pnlFileContentsValidator"].visible);
    EXPECT_EQ("0", view.Text("edtMaximumSize"));

    Select(0);
    view.Click("btnDefaults");
    EXPECT_TRUE(view.Checked("cbUseFileSystemIcons"));
    EXPECT_EQ((std::vector<std::string>{"icons on"}), log);

    // Cancel after Defaults stores nothing.
    view.Click("btnCancel");
    EXPECT_FALSE(stored.UseFileSystemIcons);
    EXPECT_TRUE(stored.FileContentsValidator);
    EXPECT_EQ("mine", stored.ExcludeFiles);
}

TEST_F(OptionsWindow, CancelTakesBackEveryPreviewFromTheStoredValues)
{
    Open();
    view.Click("cbAllowWindowTransparency");
    view.Click("cbUseFileSystemIcons");
    view.Click("cbQuotaReportsLargestCapacity");
    view.Click("cbMinimizeToSystemTray");
    EXPECT_EQ((std::vector<std::string>{"transparency on 245", "icons off", "quota total", "tray on"}), log);
    log.clear();
    view.Click("btnCancel");
    EXPECT_EQ("cancel", view.closed);
    EXPECT_EQ((std::vector<std::string>{"transparency off 245", "tray off", "tray tip", "icons on", "quota largest",
                                        "features"}),
              log);
    EXPECT_FALSE(stored.AllowWindowTransparency);
    EXPECT_TRUE(stored.UseFileSystemIcons);
    EXPECT_FALSE(stored.MinimizeToSystemTray);
}

TEST_F(OptionsWindow, ValidateAndEditButtonsWorkOnTheirOwnField)
{
    Open();
    view.Click("btnValidateExcludeFiles");
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ("The \"Exclude Files\" field seems to contain a valid selection of items.", boxes.shown[0].text);
    view.Type("edtCustomFiles", "Temp?.tmp");
    view.Click("btnValidateCustomFiles");
    ASSERT_EQ(2u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkError, boxes.shown[1].kind);
    EXPECT_EQ("edtCustomFiles", view.focus);

    view.Type("edtCustomDirectories", "old");
    view.Click("btnEditCustomDirectories");
    ASSERT_EQ(1u, services.calls.size());
    EXPECT_EQ("Custom Directories", services.calls[0].name);
    EXPECT_EQ("old", services.calls[0].text);
    EXPECT_TRUE(services.calls[0].directories);
    EXPECT_EQ("edited;list", view.Text("edtCustomDirectories"));

    services.result = 2; // cancelled
    view.Click("btnEditExcludeFiles");
    ASSERT_EQ(2u, services.calls.size());
    EXPECT_FALSE(services.calls[1].directories);
    EXPECT_EQ("desktop.ini;index.dat", view.Text("edtExcludeFiles"));
}

} // namespace

// The Recycle Bin box is kept in the settings file beside the preferences, whose bytes it never
// changes; it and Secure Delete Files exclude each other.
TEST_F(OptionsWindow, RecycleBinExcludesSecureDeleteAndIsKeptBesideThePreferences)
{
    testing_support::TempDir dir;
    stored.SetFileName(dir.File("quillswp32.prefs"));
    stored.SecureDeleteFiles = true;
    ASSERT_TRUE(stored.Save());
    Open();
    EXPECT_EQ("Move Objects to the Recycle Bin", view.Text("cbRecycle"));
    EXPECT_NE(std::string::npos, view.Text("lblRecycle").find("not overwritten"));
    EXPECT_FALSE(view.Checked("cbRecycle"));
    view.Click("cbRecycle");
    EXPECT_FALSE(view.Checked("cbSecureDeleteFiles"));
    EXPECT_FALSE(view.controls["pnlSecureDeleteFiles"].visible);
    view.Click("cbSecureDeleteFiles");
    EXPECT_FALSE(view.Checked("cbRecycle"));
    view.Click("cbRecycle");
    Ok();
    EXPECT_FALSE(stored.SecureDeleteFiles);

    // The preferences file as it would be saved is the same with the setting on or off.
    ASSERT_TRUE(stored.Save());
    const std::string prefsBytes = testing_support::ReadBytes(dir.File("quillswp32.prefs"));
    TSettings settings;
    settings.Load(TSettings::FileBeside(stored.GetFileName()));
    EXPECT_TRUE(settings.Recycle());
    Open();
    EXPECT_TRUE(view.Checked("cbRecycle"));
    view.Click("cbRecycle");
    Ok();
    settings.Load(TSettings::FileBeside(stored.GetFileName()));
    EXPECT_FALSE(settings.Recycle());
    ASSERT_TRUE(stored.Save());
    EXPECT_EQ(prefsBytes, testing_support::ReadBytes(dir.File("quillswp32.prefs")));

    // A damaged settings file shows the default, and says so.
    testing_support::WriteBytes(TSettings::FileBeside(stored.GetFileName()), "recycle=1\ngarbage\n");
    Open();
    EXPECT_FALSE(view.Checked("cbRecycle"));
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_NE(std::string::npos, boxes.shown[0].text.find("quillsweep-settings.ini"));
}
