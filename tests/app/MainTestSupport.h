#pragma once
// The main controller's surroundings for tests: a view, message boxes, window services and the
// three panes that record what they are told. The view's synchronizer is pumped by the test
// thread, which plays the user-interface thread, so the real workers run against them.
#include "cycle/uCycleSetup.h"
#include "app/uMainController.h"
#include "engine/EngineTestSupport.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace main_testing {

constexpr TWindowHandle kMainWindow = 0x4711;

class FakeComputingWindow : public IComputingWindow {
public:
    explicit FakeComputingWindow(std::vector<std::string>& log) : log_(log) {}
    void Show() override { log_.push_back("computing shown"); }
    void Close() override { log_.push_back("computing closed"); }
    void SetMaximum(int32_t) override {}
    void Step() override {}

private:
    std::vector<std::string>& log_;
};

class FakeMainView : public IMainView {
public:
    TMainViewEvents& Events() override { return events; }
    void OnCommand(TMainControl control, std::function<void()> handler) override { commands[control] = handler; }
    void SetText(TMainControl control, const std::string& text) override
    {
        texts[control] = text;
        if (control == TMainControl::mcStatus)
            statusTexts.push_back(text);
    }
    void SetHint(TMainControl, const std::string&) override {}
    void SetEnabled(TMainControl control, bool value) override { enabled[control] = value; }
    void SetVisible(TMainControl control, bool value) override { visible[control] = value; }

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
    void PostAfterFirstShow() override { Log("post after first show"); }
    void ApplyTransparencyToAll(bool enabled, uint8_t alpha) override { Log("transparency " + Text(enabled, alpha)); }

    void AddTrayIcon() override { tray = true, Log("add icon"); }
    void RemoveTrayIcon() override { tray = false, Log("remove icon"); }
    bool HasTrayIcon() override { return tray; }
    void SetTrayTip(const std::string& text) override { Log("tip " + text); }
    void OpenTrayMenu() override { Log("tray menu " + texts[TMainControl::mcTrayRestore]); }

    // The workflow's operations keep their state apart from the log.
    void ShowPage(TMainPage value) override { page = value; }
    void SetBusyCursor(bool value) override { busy = value; }
    void SetProgressMaximum(int32_t value) override { progressMaximum = value; }
    void SetProgressPosition(int32_t value) override { progressPositions.push_back(value); }
    void SetTitleColor(uint32_t color) override { titleColor = color; }
    std::shared_ptr<IComputingWindow> CreateComputingWindow(bool showProgress, bool centreOnScreen,
                                                            bool disableWindow) override
    {
        computingLog.push_back("computing " + Text(showProgress, centreOnScreen) + "," + std::to_string(disableWindow));
        return std::make_shared<FakeComputingWindow>(computingLog);
    }
    void OpenAddress(const std::string& address) override { openedAddresses.push_back(address); }
    bool IsKeyDown(uint32_t key) override { return keysDown.count(key) != 0; }
    std::shared_ptr<ISynchronizer> GetSynchronizer() override { return synchronizer; }
    TWindowHandle WindowHandle() override { return kMainWindow; }

    // A control never told otherwise is enabled.
    bool Enabled(TMainControl control) const
    {
        const auto found = enabled.find(control);
        return found == enabled.end() || found->second;
    }
    std::string Status() { return texts[TMainControl::mcStatus]; }

    static std::string Text(int32_t a, int32_t b) { return std::to_string(a) + "," + std::to_string(b); }
    void Log(const std::string& entry) { log.push_back(entry); }
    // The log since the last call.
    std::vector<std::string> Take() { return std::exchange(log, {}); }

    TMainViewEvents events;
    std::map<TMainControl, std::function<void()>> commands;
    std::map<TMainControl, std::string> texts;
    std::map<TMainControl, bool> enabled;
    std::map<TMainControl, bool> visible;
    std::vector<std::string> statusTexts;
    TWindowBounds bounds{5, 6, 700, 500};
    int32_t screenWidth = 1024;
    int32_t screenHeight = 768;
    bool shown = true;
    bool tray = false;
    std::vector<std::string> log;

    TMainPage page = TMainPage::mpSelection;
    bool busy = false;
    int32_t progressMaximum = 0;
    std::vector<int32_t> progressPositions;
    uint32_t titleColor = 0;
    std::vector<std::string> computingLog;
    std::vector<std::string> openedAddresses;
    std::set<uint32_t> keysDown;
    // Made on the test thread, which pumps it.
    std::shared_ptr<TSynchronizer> synchronizer = std::make_shared<TSynchronizer>();
};

struct ShownBox {
    TMsgBoxKind kind;
    std::string text;
    uint32_t buttons;
    TMsgBoxFocus focus;
};

class ScriptedMessageBoxes : public IMessageBoxService {
public:
    TMsgBoxResult Execute(TMsgBoxKind kind, const std::string& text, int32_t monitor, TMsgBoxFocus focus,
                          uint32_t buttons) override
    {
        EXPECT_EQ(1, monitor);
        shown.push_back({kind, text, buttons, focus});
        if (answers.empty())
            return TMsgBoxResult::mrAccept;
        const TMsgBoxResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const ShownBox& box : shown)
            texts.push_back(box.text);
        return texts;
    }
    std::deque<TMsgBoxResult> answers;
    std::vector<ShownBox> shown;
};

struct ShownReport {
    std::shared_ptr<IScanReport> scanReport;
    std::shared_ptr<ICleanReport> cleanReport;
    TReportKind kind;
};

class CountingWindowServices : public IWindowServices {
public:
    void BringWindowsToFront() override { ++broughtToFront; }
    int32_t ShowAbout() override { return 0; }
    int32_t ShowDriveInfo(const std::string& driveRoot) override
    {
        driveInfo.push_back(driveRoot);
        return 1;
    }
    int32_t ShowEditList(const std::string&, std::string&, bool, bool&) override { return 0; }
    int32_t ShowFileViewer(const std::string&, int32_t) override { return 0; }
    int32_t ShowLegend() override { return 0; }
    int32_t ShowOptions(IMainController&) override { return 0; }
    int32_t ShowReport(std::shared_ptr<IScanReport> scanReport, std::shared_ptr<ICleanReport> cleanReport,
                       TReportKind kind) override
    {
        reports.push_back({scanReport, cleanReport, kind});
        return 1;
    }
    int32_t ShowUninstall() override
    {
        ++uninstalls;
        return 1;
    }
    int broughtToFront = 0;
    int uninstalls = 0;
    std::vector<std::string> driveInfo;
    std::vector<ShownReport> reports;
};

class FakeTargetsPane : public ITargetsPane {
public:
    std::string SelectionText() override { return selection; }
    void RefreshSelectionStatus() override { log.push_back("status"); }
    std::string DriveInformationTarget() override { return driveTarget; }
    void RestoreTargets() override { log.push_back("restore"); }
    void ApplyCommandLine(const TCommandLine& commandLine) override
    {
        std::string entry = "command line " + std::to_string(commandLine.action);
        for (const std::string& target : commandLine.targets)
            entry += " " + target;
        if (!commandLine.directory.empty())
            entry += " " + commandLine.directory;
        log.push_back(entry);
    }
    void SaveTargets() override { log.push_back("save"); }
    void ShowDriveInformation(bool shown) override { driveInformationShown = shown; }

    std::string selection;
    std::string driveTarget;
    bool driveInformationShown = true;
    std::vector<std::string> log;
};

class FakeOptionsPane : public IOptionsPane {
public:
    void RestoreChecks() override { log.push_back("restore"); }
    TCleanupOptionSet StoreChecks() override
    {
        log.push_back("store");
        return checked;
    }
    void ApplyPreset(TOptionPreset preset) override { log.push_back("preset " + std::to_string(preset)); }
    void Repaint() override { log.push_back("repaint"); }
    void ApplyCustomMasks() override { log.push_back("masks"); }

    TCleanupOptionSet checked;
    std::vector<std::string> log;
};

// Keeps the rows it is given and checks them through the engine's list, as the real pane does.
class FakeObjectsPane : public IObjectsPane {
public:
    FakeObjectsPane(std::shared_ptr<ICleanupList> objects, std::shared_ptr<IBroadcastParameters> broadcast,
                    TObjectsPaneEvents events)
        : objects(std::move(objects)), broadcast(std::move(broadcast)), events(std::move(events))
    {
    }
    void Add(const std::shared_ptr<ICleanupListItem>& object) override { rows.push_back(object); }
    void Clear() override
    {
        rows.clear();
        if (events.onSelectionCountChanged)
            events.onSelectionCountChanged(0);
    }
    int32_t RowCount() override { return static_cast<int32_t>(rows.size()); }
    void ApplyCheckPreset(TObjectsCheck preset) override
    {
        if (preset == ocSafe)
            TCycleSetup::CheckSafe(*objects, *broadcast);
        else
            TCycleSetup::CheckAll(*objects, *broadcast, preset == ocAll);
        if (events.onSelectionCountChanged)
            events.onSelectionCountChanged(static_cast<uint32_t>(broadcast->GetSelectedCount()));
    }
    void SetEnabled(bool value) override { enabled = value; }
    void SetChecksFrozen(bool value) override { frozen = value; }
    void SetFileSystemIcons(bool value) override { log.push_back("icons " + std::to_string(value)); }
    void PreviewQuotaMode(bool value) override { log.push_back("quota " + std::to_string(value)); }
    void RefreshHeader() override { header = TCycleSetup::ObjectsHeader(*broadcast); }

    std::shared_ptr<ICleanupList> objects;
    std::shared_ptr<IBroadcastParameters> broadcast;
    TObjectsPaneEvents events;
    std::vector<std::shared_ptr<ICleanupListItem>> rows;
    bool enabled = true;
    bool frozen = false;
    std::string header;
    std::vector<std::string> log;
};

class FakePanesFactory : public IMainPanesFactory {
public:
    std::shared_ptr<ITargetsPane> CreateTargetsPane() override { return targets = std::make_shared<FakeTargetsPane>(); }
    std::shared_ptr<IOptionsPane> CreateOptionsPane(std::shared_ptr<ICleanupOptionsList> catalogue) override
    {
        options = catalogue;
        return optionsPane = std::make_shared<FakeOptionsPane>();
    }
    std::shared_ptr<IObjectsPane> CreateObjectsPane(std::shared_ptr<ICleanupList> list,
                                                    std::shared_ptr<IBroadcastParameters> counters,
                                                    TObjectsPaneEvents events) override
    {
        return objects = std::make_shared<FakeObjectsPane>(std::move(list), std::move(counters), std::move(events));
    }

    std::shared_ptr<FakeTargetsPane> targets;
    std::shared_ptr<FakeOptionsPane> optionsPane;
    std::shared_ptr<FakeObjectsPane> objects;
    std::shared_ptr<ICleanupOptionsList> options;
};

// A controller over the fakes; the system's answers are the fixture's.
class MainFixture : public ::testing::Test {
protected:
    MainFixture()
    {
        prefs.SetDefaults();
        prefs.FirstRun = false;
    }

    TSystemQueries System()
    {
        TSystemQueries system;
        system.windowsVersion = [this] { return version; };
        system.windowsVersionText = [] { return std::string("4.10.2222"); };
        system.directoryExists = [](const std::string& path) { return path == "C:\\data"; };
        // The disk's answers, but the targets named read-only are (root may write anywhere).
        system.checkTargets = [this](const std::vector<std::string>& targets) {
            for (const std::string& target : targets) {
                const std::string problem = TCycleSetup::CheckTargets({target});
                if (!problem.empty())
                    return problem;
                if (readOnly.count(target))
                    return TCycleSetup::FormatText(cycle_texts::kReadOnlyLocation, target);
            }
            return std::string();
        };
        system.anyOnSolidStateDrive = [this](const std::vector<std::string>& targets) {
            solidStateAsked.push_back(TStringRoutines::JoinStrings(targets));
            if (!solidStateError.empty())
                throw std::runtime_error(solidStateError);
            return solidState;
        };
        system.now = [this] { return now; };
        return system;
    }

    std::unique_ptr<TMainController> Create(std::vector<std::string> arguments = {})
    {
        return std::make_unique<TMainController>(view, panes, boxes, services, prefs, std::move(arguments), System());
    }

    // Pumps the view's synchronizer until the running worker posts its finished message, and
    // hands it on as the window would.
    uint32_t FinishWorker()
    {
        const auto notices = engine_testing::PumpUntilNotice(*view.synchronizer);
        EXPECT_EQ(1u, notices.size());
        if (notices.empty())
            return 0;
        EXPECT_EQ(kMainWindow, notices.front().window);
        const uint32_t message = notices.front().message;
        if (message == WM_SCANFINISHED)
            view.events.onScanFinished();
        else if (message == WM_CLEANFINISHED)
            view.events.onCleanFinished();
        return message;
    }

    FakeMainView view;
    FakePanesFactory panes;
    ScriptedMessageBoxes boxes;
    CountingWindowServices services;
    TPreferenceValues prefs{false};
    int version = wvXP;
    std::set<std::string> readOnly;
    bool solidState = false;
    std::string solidStateError;
    std::vector<std::string> solidStateAsked;
    platform::LocalTime now{2019, 3, 1, 12, 0, 0, 0};
};

} // namespace main_testing
