// The main window's own behaviour: placement, start-up notices, closing and the tray icon,
// against a view that records what it is told.
#include "app/uMainController.h"
#include "support/VelaDetect.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace {

class FakeMainView : public IMainView {
public:
    TMainViewEvents& Events() override { return events; }
    void OnCommand(TMainControl control, std::function<void()> handler) override { commands[control] = handler; }
    void SetText(TMainControl control, const std::string& text) override { texts[control] = text; }
    void SetHint(TMainControl, const std::string&) override {}
    void SetEnabled(TMainControl, bool) override {}
    void SetVisible(TMainControl, bool) override {}

    TWindowBounds GetBounds() override { return bounds; }
    void SetBounds(const TWindowBounds& b) override
    {
        bounds = b;
        Log("bounds " + Text(b.left, b.top) + " " + Text(b.width, b.height));
    }
    void SetSize(int32_t width, int32_t height) override { Log("size " + Text(width, height)); }
    void SetDesignSize(int32_t width, int32_t height) override { Log("design size " + Text(width, height)); }
    void CentreOnScreen() override { Log("centre"); }
    void ScreenSize(int32_t& width, int32_t& height) override { width = screenWidth, height = screenHeight; }
    void SetMaximized(bool maximized) override { Log(maximized ? "maximized" : "restored"); }
    int32_t MonitorNumber() override { return 1; }

    bool IsShown() override { return shown; }
    void SetShown(bool value) override
    {
        shown = value;
        Log(value ? "show" : "hide");
    }
    void MinimizeApplication() override { Log("minimize"); }
    void RequestClose() override { Log("request close"); }
    void BeginTitleDrag() override { Log("drag"); }
    void PostPrivateMessage(uint32_t message, uintptr_t first) override
    {
        Log("post " + Text(static_cast<int32_t>(message), static_cast<int32_t>(first)));
    }
    void ApplyTransparencyToAll(bool enabled, uint8_t alpha) override { Log("transparency " + Text(enabled, alpha)); }

    void AddTrayIcon() override { tray = true, Log("add icon"); }
    void RemoveTrayIcon() override { tray = false, Log("remove icon"); }
    bool HasTrayIcon() override { return tray; }
    void SetTrayTip(const std::string& text) override { Log("tip " + text); }
    void OpenTrayMenu() override { Log("tray menu " + texts[TMainControl::mcTrayRestore]); }

    void ClearCleanupList() override { Log("clear list"); }
    void AddCleanupTarget(const std::string& path, bool checked) override { Log("add " + path); }
    void SelectDirectory(const std::string& path) override { Log("select " + path); }

    static std::string Text(int32_t a, int32_t b) { return std::to_string(a) + "," + std::to_string(b); }
    void Log(const std::string& entry) { log.push_back(entry); }
    // The log since the last call.
    std::vector<std::string> Take() { return std::exchange(log, {}); }

    TMainViewEvents events;
    std::map<TMainControl, std::function<void()>> commands;
    std::map<TMainControl, std::string> texts;
    TWindowBounds bounds{5, 6, 700, 500};
    int32_t screenWidth = 1024;
    int32_t screenHeight = 768;
    bool shown = true;
    bool tray = false;
    std::vector<std::string> log;
};

struct ShownBox {
    TMsgBoxKind kind;
    std::string text;
    uint32_t buttons;
};

class ScriptedMessageBoxes : public IMessageBoxService {
public:
    TMsgBoxResult Execute(TMsgBoxKind kind, const std::string& text, int32_t monitor, TMsgBoxFocus,
                          uint32_t buttons) override
    {
        EXPECT_EQ(1, monitor);
        shown.push_back({kind, text, buttons});
        if (answers.empty())
            return TMsgBoxResult::mrAccept;
        const TMsgBoxResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<TMsgBoxResult> answers;
    std::vector<ShownBox> shown;
};

class CountingWindowServices : public IWindowServices {
public:
    void BringWindowsToFront() override { ++broughtToFront; }
    int32_t ShowAbout() override { return 0; }
    int32_t ShowDriveInfo(const std::string&) override { return 0; }
    int32_t ShowEditList(const std::string&, std::string&, bool, bool&) override { return 0; }
    int32_t ShowFileViewer(const std::string&, int32_t) override { return 0; }
    int32_t ShowLegend() override { return 0; }
    int32_t ShowOptions(IMainController&) override { return 0; }
    int32_t ShowReport(const std::string&, bool, const std::string&) override { return 0; }
    int32_t ShowUninstall() override { return 0; }
    int broughtToFront = 0;
};

class MainController : public ::testing::Test {
protected:
    MainController()
    {
        prefs.SetDefaults();
        prefs.FirstRun = false;
    }

    std::unique_ptr<TMainController> Create(std::vector<std::string> arguments = {})
    {
        TSystemQueries system{[this] { return version; }, [] { return std::string("4.10.2222"); },
                              [](const std::string& path) { return path == "C:\\data"; }};
        return std::make_unique<TMainController>(view, boxes, services, prefs, std::move(arguments), system);
    }

    FakeMainView view;
    ScriptedMessageBoxes boxes;
    CountingWindowServices services;
    TPreferenceValues prefs{false};
    int version = wvXP;
};

using Log = std::vector<std::string>;

} // namespace

TEST(MainWindowSize, DefaultSizeFollowsTheScreen)
{
    struct Row { int32_t screenWidth, screenHeight, width, height; };
    const Row rows[] = {{800, 600, 851, 583},    {1024, 768, 851, 583},  {1025, 769, 852, 584},
                        {1920, 1200, 1331, 912}, {1921, 1201, 1331, 912}, {1920, 1300, 0, 0},
                        {1024, 1000, 0, 0},     {1025, 768, 0, 0}};
    for (const Row& row : rows) {
        int32_t width = 0, height = 0;
        EXPECT_EQ(row.width != 0, TMainController::DefaultSize(row.screenWidth, row.screenHeight, width, height))
            << row.screenWidth << "x" << row.screenHeight;
        EXPECT_EQ(row.width, width) << row.screenWidth << "x" << row.screenHeight;
        EXPECT_EQ(row.height, height) << row.screenWidth << "x" << row.screenHeight;
    }
}

TEST_F(MainController, CreationRestoresThePlacementAndTheTrayIcon)
{
    prefs.ProgramRuns = 4;
    Create();
    EXPECT_EQ((Log{"size 851,583", "centre"}), view.Take()) << "nothing stored: default size, centred";
    EXPECT_EQ(5u, prefs.ProgramRuns);
    EXPECT_EQ("&Options", view.texts[TMainControl::mcTrayOptions]);

    prefs.WindowLeft = 30, prefs.WindowTop = 40, prefs.WindowWidth = 900, prefs.WindowHeight = 600;
    prefs.MinimizeToSystemTray = true;
    Create();
    EXPECT_EQ((Log{"bounds 30,40 900,600", "add icon", "tip Quillsweep"}), view.Take());

    prefs.WindowWidth = 0;
    view.tray = false;
    prefs.MinimizeToSystemTray = false;
    view.screenWidth = 1920, view.screenHeight = 1300;
    Create();
    EXPECT_EQ((Log{"bounds 30,40 900,600"}), view.Take()) << "a stored place keeps the size as designed";
}

TEST_F(MainController, FirstShowingWarnsOnceRestoresTheStateAndPostsTheAftermath)
{
    prefs.FirstRun = true;
    prefs.WindowMaximized = true;
    prefs.AllowWindowTransparency = true;
    version = wvMe;
    auto controller = Create({"-defaultsize"});
    view.Take();
    view.events.onFirstShow();
    ASSERT_EQ(2u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkWarning, boxes.shown[0].kind);
    EXPECT_EQ(msgbox_buttons::kClose, boxes.shown[0].buttons);
    EXPECT_EQ(0u, boxes.shown[0].text.find("Quillsweep does not support Microsoft Windows 4.10.2222.\r\n"));
    EXPECT_NE(std::string::npos, boxes.shown[1].text.find("before cleanning your disks"));
    EXPECT_FALSE(prefs.FirstRun);
    EXPECT_EQ((Log{"transparency 1,245", "maximized", "design size 960,661", "post " + FakeMainView::Text(WM_AFTERSHOW, 0)}),
              view.Take());
    EXPECT_TRUE(controller->Maximized());
    EXPECT_FALSE(controller->SaveTargets());

    view.events.onFirstShow();
    EXPECT_TRUE(view.Take().empty());
    EXPECT_EQ(2u, boxes.shown.size());

    for (int known : {wv2000, wv10}) {
        version = known;
        auto later = Create();
        view.events.onFirstShow();
    }
    version = wvUnknown;
    auto unknown = Create();
    view.events.onFirstShow();
    EXPECT_EQ(3u, boxes.shown.size()) << "only versions before 2000, unknown included";
}

TEST_F(MainController, CommandLineTargetsReplaceTheListAtTheFirstShowing)
{
    auto controller = Create({"C:\\data\\"});
    view.events.onFirstShow();
    EXPECT_EQ((Log{"clear list", "select C:\\data"}), Log(view.log.end() - 3, view.log.end() - 1));
}

TEST_F(MainController, StartMinimizedHidesToTheTrayOnlyWithTheTrayOn)
{
    prefs.StartMinimized = true;
    auto controller = Create();
    view.events.onPrivateMessage(WM_AFTERSHOW, 0, 0);
    EXPECT_TRUE(view.shown);

    prefs.MinimizeToSystemTray = true;
    controller = Create();
    view.events.onPrivateMessage(WM_AFTERSHOW, 1, 0);
    EXPECT_TRUE(view.shown);
    view.events.onPrivateMessage(WM_AFTERSHOW, 0, 0);
    EXPECT_FALSE(view.shown);
}

TEST_F(MainController, ClosingAsksWhenBusyOnEscapeAndWithConfirmations)
{
    auto controller = Create();
    controller->SetIdle(false);
    EXPECT_FALSE(view.events.onCloseQuery());
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkInformation, boxes.shown[0].kind);
    controller->SetIdle(true);

    view.Take();
    EXPECT_TRUE(view.events.onKeyDown(keys::kEscape));
    EXPECT_EQ((Log{"request close"}), view.Take());
    boxes.answers = {TMsgBoxResult::mrRefuse};
    EXPECT_FALSE(view.events.onCloseQuery()) << "Escape asks even without confirmations";
    ASSERT_EQ(2u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkConfirm, boxes.shown[1].kind);
    EXPECT_EQ(msgbox_buttons::kYesNo, boxes.shown[1].buttons);

    view.commands[TMainControl::mcClose]();
    EXPECT_TRUE(view.events.onCloseQuery()) << "the Escape mark lasts one query";
    EXPECT_EQ(2u, boxes.shown.size());

    prefs.Confirmations = true;
    boxes.answers = {TMsgBoxResult::mrRefuseAll, TMsgBoxResult::mrAccept};
    EXPECT_FALSE(view.events.onCloseQuery());
    EXPECT_TRUE(view.events.onCloseQuery());
}

TEST_F(MainController, ClosingStoresTheBoundsOnlyWhenNotMaximized)
{
    auto controller = Create();
    view.events.onFirstShow();
    view.bounds = {1, 2, 800, 600};
    view.events.onClose();
    EXPECT_FALSE(prefs.WindowMaximized);
    EXPECT_EQ(800, prefs.WindowWidth);
    EXPECT_EQ(2, prefs.WindowTop);

    view.events.onTitleDoubleClick();
    view.bounds = {0, 0, 1920, 1080};
    view.events.onClose();
    EXPECT_TRUE(prefs.WindowMaximized);
    EXPECT_EQ(800, prefs.WindowWidth);
}

TEST_F(MainController, TrayIconTogglesTheWindowAndItsMenuNamesTheNextStep)
{
    auto controller = Create();
    view.commands[TMainControl::mcMinimize]();
    EXPECT_EQ("minimize", view.Take().back()) << "without the tray the program minimizes";

    prefs.MinimizeToSystemTray = true;
    controller = Create();
    view.Take();
    view.events.onPrivateMessage(WM_TRAYNOTIFY, 0, kTrayLeftButtonDown);
    view.events.onPrivateMessage(WM_TRAYNOTIFY, 0, kTrayRightButtonDown);
    EXPECT_EQ((Log{"tip Quillsweep", "hide", "tray menu Restore"}), view.Take());
    view.commands[TMainControl::mcMinimize]();
    EXPECT_TRUE(view.shown);
    EXPECT_EQ(1, services.broughtToFront);
    controller->TrayIconNotify(kTrayRightButtonDown);
    EXPECT_EQ("tray menu Minimize", view.Take().back());

    view.shown = false;
    controller->PreviewMinimizeToTray(false);
    EXPECT_EQ((Log{"show", "remove icon"}), view.Take()) << "never hidden without a way back";
    EXPECT_TRUE(prefs.MinimizeToSystemTray);
    controller->PreviewMinimizeToTray(true);
    EXPECT_EQ((Log{"add icon", "tip Quillsweep"}), view.Take());
}
