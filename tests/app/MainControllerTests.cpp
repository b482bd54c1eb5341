// The main window's own behaviour: placement, start-up notices, closing, the tray icon, keys and
// the menu bar, against a view that records what it is told.
#include "MainTestSupport.h"

namespace {

using namespace main_testing;

class MainController : public MainFixture {};

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
    EXPECT_EQ((Log{"transparency 1,245", "maximized", "design size 960,661", "post after first show"}),
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

TEST_F(MainController, TargetsComeFromTheStoreThenTheCommandLineAndAreKeptOnlyWithoutArguments)
{
    auto controller = Create({"C:\\data\\"});
    EXPECT_EQ((Log{"status"}), panes.targets->log) << "the first page's selection status";
    view.events.onFirstShow();
    EXPECT_EQ((Log{"status", "restore", "command line 2 C:\\data"}), panes.targets->log);
    view.events.onClose();
    EXPECT_EQ("command line 2 C:\\data", panes.targets->log.back()) << "targets of one run are not stored";
    EXPECT_EQ("store", panes.optionsPane->log.back()) << "the ticked options are";

    controller.reset(); // one controller per view: the one going unwires it
    controller = Create();
    view.events.onFirstShow();
    view.events.onClose();
    EXPECT_EQ((Log{"status", "restore", "command line 0", "save"}), panes.targets->log);
}

TEST_F(MainController, StartMinimizedHidesToTheTrayOnlyWithTheTrayOn)
{
    prefs.StartMinimized = true;
    auto controller = Create();
    view.events.onAfterFirstShow();
    EXPECT_TRUE(view.shown);

    prefs.MinimizeToSystemTray = true;
    controller.reset();
    controller = Create();
    view.events.onAfterFirstShow();
    EXPECT_FALSE(view.shown);
}

// Refused while busy: MainWorkflow.StatesEnableTheirCommands.
TEST_F(MainController, ClosingAsksOnEscapeAndWithConfirmations)
{
    auto controller = Create();
    view.Take();
    EXPECT_TRUE(view.events.onKeyDown(keys::kEscape));
    EXPECT_EQ((Log{"request close"}), view.Take());
    boxes.answers = {TMsgBoxResult::mrRefuse};
    EXPECT_FALSE(view.events.onCloseQuery()) << "Escape asks even without confirmations";
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkConfirm, boxes.shown[0].kind);
    EXPECT_EQ(msgbox_buttons::kYesNo, boxes.shown[0].buttons);

    view.commands[TMainControl::mcClose]();
    EXPECT_TRUE(view.events.onCloseQuery()) << "the Escape mark lasts one query";
    EXPECT_EQ(1u, boxes.shown.size());

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
    controller.reset();
    controller = Create();
    view.Take();
    view.events.onTrayClick(TTrayClick::tcLeft);
    view.events.onTrayClick(TTrayClick::tcRight);
    EXPECT_EQ((Log{"tip Quillsweep", "hide", "tray menu Restore"}), view.Take());
    view.commands[TMainControl::mcMinimize]();
    EXPECT_TRUE(view.shown);
    EXPECT_EQ(1, services.broughtToFront);
    view.events.onTrayClick(TTrayClick::tcRight);
    EXPECT_EQ("tray menu Minimize", view.Take().back());

    view.shown = false;
    controller->PreviewMinimizeToTray(false);
    EXPECT_EQ((Log{"show", "remove icon"}), view.Take()) << "never hidden without a way back";
    EXPECT_TRUE(prefs.MinimizeToSystemTray);
    controller->PreviewMinimizeToTray(true);
    EXPECT_EQ((Log{"add icon", "tip Quillsweep"}), view.Take());
}

TEST_F(MainController, KeysShowTheirTextsAndF6NeedsF8)
{
    auto controller = Create();
    EXPECT_TRUE(view.events.onKeyDown(keys::kF1)) << "help";
    EXPECT_TRUE(view.events.onKeyDown(keys::kF2));
    EXPECT_EQ(main_texts::kKeyF2Text, view.Status());
    EXPECT_TRUE(view.events.onKeyDown(keys::kF3));
    EXPECT_EQ(main_texts::kKeyF3Text, view.Status());
    EXPECT_FALSE(view.events.onKeyDown(keys::kF6));
    EXPECT_EQ(main_texts::kKeyF3Text, view.Status());
    view.keysDown = {keys::kF8};
    EXPECT_TRUE(view.events.onKeyDown(keys::kF6));
    EXPECT_EQ(main_texts::kKeyF6Text, view.Status());
}

TEST_F(MainController, TheFirstShowingChecksTheDate)
{
    now = {2019, 6, 24, 9, 0, 0, 0};
    auto controller = Create();
    view.events.onFirstShow();
    EXPECT_EQ(kMidsummerTitleColor, view.titleColor);
    EXPECT_TRUE(view.statusTexts.empty()) << "before 2020 only the colour";

    now = {2024, 6, 25, 9, 0, 0, 0};
    view.titleColor = 0;
    controller.reset();
    controller = Create();
    view.events.onFirstShow();
    EXPECT_EQ(0u, view.titleColor);
    EXPECT_EQ(TCycleSetup::FormatText(main_texts::kYearGreeting, "2024"), view.Status());
}

TEST_F(MainController, MenuAndPageCommandsReachTheirWindowsAndPanes)
{
    prefs.EnableUninstallApplications = false;
    prefs.EnableDriveInformation = true;
    auto controller = Create();
    EXPECT_FALSE(view.visible[TMainControl::mcUninstall]);
    EXPECT_TRUE(view.visible[TMainControl::mcDriveInfo]);
    prefs.EnableUninstallApplications = true;
    prefs.EnableDriveInformation = false;
    controller->ApplyFeatureVisibility();
    EXPECT_TRUE(view.visible[TMainControl::mcUninstall]);
    EXPECT_FALSE(view.visible[TMainControl::mcDriveInfo]);
    EXPECT_FALSE(panes.targets->driveInformationShown) << "nor in the tree's menu";

    view.commands[TMainControl::mcUpdates]();
    EXPECT_EQ((Log{"https://quillsweep.example/download?vquery=4.10.2222"}), view.openedAddresses);

    panes.targets->driveTarget = "D:\\";
    view.commands[TMainControl::mcDriveInfo]();
    EXPECT_EQ((Log{"D:\\"}), services.driveInfo);
    panes.targets->driveTarget = "";
    view.commands[TMainControl::mcDriveInfo]();
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkInformation, boxes.shown[0].kind);
    EXPECT_EQ("The \"\" target does not designate a solid-state drive (SSD) or a hard disk drive (HDD).\r\n"
              "Please select another target device drive.",
              boxes.shown[0].text);

    view.commands[TMainControl::mcUninstall]();
    EXPECT_EQ(1, services.uninstalls);
    view.commands[TMainControl::mcSetDefault]();
    view.commands[TMainControl::mcSetNone]();
    prefs.CustomFiles = "*.one";
    controller->ApplyCustomMasks();
    controller->RepaintOptions();
    EXPECT_EQ((Log{"masks", "restore", "preset 1", "preset 3", "masks", "repaint"}), panes.optionsPane->log);
    EXPECT_EQ("*.one", panes.options->GetOption(21)->GetMasks());

    controller->SetFileSystemIcons(true);
    controller->PreviewQuotaMode(false);
    EXPECT_EQ((Log{"icons 1", "quota 0"}), panes.objects->log);
}
