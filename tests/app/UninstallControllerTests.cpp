// The uninstall window against a view that records what it is told, a registry held in memory
// and a starter that records what it would run.
#include "app/uUninstallController.h"

#include "FakeRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

using platform::RegistryKey;
using platform::RegistryRoot;
using platform::RegistryView;
using testing_support::FakeRegistry;
using testing_support::TempDir;

namespace {

class FakeUninstallView : public IUninstallView {
public:
    TUninstallViewEvents& Events() override { return events; }
    void OnCommand(TUninstallButton button, std::function<void()> handler) override { commands[button] = handler; }
    void SetTitle(const std::string&) override {}
    void SetButton(TUninstallButton, const std::string&, const std::string&) override {}
    void SetButtonEnabled(TUninstallButton button, bool on) override { enabled[button] = on; }
    void SetColumns(const std::vector<TListColumnInfo>&) override {}
    void SetSortImages(const std::string&, const std::string&) override {}
    void SetRowIcons(const std::vector<std::string>& files, const std::string& fallbackName) override
    {
        icons = files;
        fallback = fallbackName;
    }
    void SetRowCount(int32_t count) override { rowCount = count; }
    void RedrawAll() override {}
    void SetSortImage(int32_t column, TSortImage image) override { sortImages[column] = image; }
    std::shared_ptr<IComputingWindow> CreateComputingWindow() override { return nullptr; }
    int32_t MonitorNumber() override { return 0; }
    std::vector<int32_t> SelectedRows() override { return selected; }
    void SelectRows(const std::vector<int32_t>& rows) override { selected = rows; }
    int32_t FocusedRow() override { return focused; }
    void FocusRow(int32_t row) override { focused = row; }
    void EnsureVisible(int32_t) override {}

    // As a click on the row would.
    void Select(int32_t row)
    {
        selected = {row};
        focused = row;
        events.onSelectionChanged();
    }

    TUninstallViewEvents events;
    std::map<TUninstallButton, std::function<void()>> commands;
    std::string fallback;
    std::vector<std::string> icons;
    std::map<TUninstallButton, bool> enabled;
    std::map<int32_t, TSortImage> sortImages;
    std::vector<int32_t> selected;
    int32_t rowCount = 0, focused = -1;
};

class ScriptedBoxes : public IMessageBoxService {
public:
    TMsgBoxResult Execute(TMsgBoxKind kind, const std::string& text, int32_t, TMsgBoxFocus focus, uint32_t buttons) override
    {
        asked.push_back(text);
        EXPECT_EQ(TMsgBoxKind::mkConfirm, kind);
        EXPECT_EQ(msgbox_buttons::kYesNo, buttons);
        EXPECT_EQ(TMsgBoxFocus::mfRefuse, focus);
        TMsgBoxResult answer = answers.empty() ? TMsgBoxResult::mrRefuse : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
    std::deque<TMsgBoxResult> answers;
    std::vector<std::string> asked;
};

class UninstallController : public ::testing::Test {
protected:
    RegistryKey Key(RegistryView view, const std::string& subkey)
    {
        return {RegistryRoot::rrLocalMachine, view, std::string(TUninstallRoutines::kUninstallKey) + "\\" + subkey};
    }
    void Add(const RegistryKey& key, const std::string& name, const std::string& command, const std::string& size = "")
    {
        registry.Set(key, "DisplayName", name);
        registry.Set(key, "UninstallString", command);
        if (!size.empty()) {
            // A folder of size bytes beside the uninstaller.
            const std::string folder = dir.File(name);
            std::filesystem::create_directories(testing_support::PathOf(folder));
            testing_support::WriteBytes(folder + "/un.exe", std::string(std::stoul(size), 'x'));
            registry.Set(key, "UninstallString", "\"" + folder + "/un.exe\" /S");
        }
    }
    std::unique_ptr<TUninstallController> Open()
    {
        auto controller = std::make_unique<TUninstallController>(
            view, boxes, prefs, registry, [this](const std::string& program, const std::string& arguments) {
                started.push_back(program + "|" + arguments);
                return true;
            });
        view.events.onFirstShow();
        return controller;
    }
    std::string Column(int32_t column)
    {
        std::string texts;
        for (int32_t row = 0; row < view.rowCount; ++row)
            texts += (row ? "|" : "") + view.events.onCellText(row, column);
        return texts;
    }

    FakeRegistry registry;
    FakeUninstallView view;
    ScriptedBoxes boxes;
    TPreferenceValues prefs{false};
    TempDir dir;
    std::vector<std::string> started;
};

} // namespace

TEST_F(UninstallController, ShowsEachEntryWithItsIconOrTheBuiltInOne)
{
    const std::string uninstaller = dir.File("un.exe");
    testing_support::WriteBytes(uninstaller, "MZ");
    Add(Key(RegistryView::rv64, "A"), "Alpha", "\"" + uninstaller + "\" /S");
    registry.Set(Key(RegistryView::rv64, "A"), "Publisher", "Alpha Corp");
    registry.Set(Key(RegistryView::rv64, "A"), "DisplayVersion", "2.1");
    Add(Key(RegistryView::rv32, "{B}"), "Beta", "C:\\gone\\un.exe");
    auto controller = Open();

    EXPECT_EQ("Alpha|Beta", Column(ucName));
    EXPECT_EQ("Alpha Corp|", Column(ucPublisher));
    EXPECT_EQ("|", Column(ucSize)) << "sizes are off by default";
    EXPECT_EQ("2.1|", Column(ucVersion));
    EXPECT_EQ((std::vector<std::string>{uninstaller, ""}), view.icons);
    EXPECT_EQ("uninstall16", view.fallback);
    EXPECT_EQ(1, view.events.onRowImage(1));
    EXPECT_EQ("", view.events.onCellText(2, ucName));
    controller.reset();
    EXPECT_FALSE(view.events.onCellText) << "the view asks nothing of a controller that is gone";
    EXPECT_FALSE(view.commands.at(TUninstallButton::ubUninstall));
}

TEST_F(UninstallController, OnlyASelectedRowsExistingUninstallerIsStartedAndNothingIsAsked)
{
    Add(Key(RegistryView::rv64, "A"), "Alpha", "", "10");
    auto controller = Open();
    EXPECT_FALSE(view.enabled[TUninstallButton::ubUninstall]);
    view.commands.at(TUninstallButton::ubUninstall)();
    EXPECT_TRUE(started.empty());
    view.Select(0);
    EXPECT_TRUE(view.enabled[TUninstallButton::ubUninstall]);
    view.commands.at(TUninstallButton::ubUninstall)();
    EXPECT_EQ((std::vector<std::string>{dir.File("Alpha") + "/un.exe|/S"}), started);
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_TRUE(registry.deleted.empty());
}

TEST_F(UninstallController, AStaleEntryIsRemovedByItsOwnKeyOnlyAfterYes)
{
    Add(Key(RegistryView::rv32, "{GUID-STALE}"), "Stale App", "\"C:\\gone\\un.exe\" /S");
    Add(Key(RegistryView::rv32, "Stale App"), "Decoy", "\"C:\\gone\\other.exe\"");
    auto controller = Open();
    ASSERT_EQ("Decoy|Stale App", Column(ucName));
    view.Select(1);

    view.commands.at(TUninstallButton::ubUninstall)();
    ASSERT_EQ(1u, boxes.asked.size());
    EXPECT_EQ("It appears that \"Stale App\" is not installed on this machine anymore.\r\n"
              "Do you want to remove this entry?",
              boxes.asked[0]);
    EXPECT_TRUE(registry.deleted.empty()) << "No keeps it";

    boxes.answers = {TMsgBoxResult::mrAccept};
    view.commands.at(TUninstallButton::ubUninstall)();
    EXPECT_FALSE(registry.Exists(Key(RegistryView::rv32, "{GUID-STALE}")));
    EXPECT_TRUE(registry.Exists(Key(RegistryView::rv32, "Stale App")));
    EXPECT_EQ("Decoy", Column(ucName)) << "refilled";
    EXPECT_FALSE(view.enabled[TUninstallButton::ubUninstall]);
    EXPECT_TRUE(started.empty());
}

TEST_F(UninstallController, SizesSortAsReadWithNoSizeAsNothing)
{
    prefs.ComputeSize = true;
    Add(Key(RegistryView::rv64, "A"), "alpha", "", "2048");
    Add(Key(RegistryView::rv64, "B"), "Beta", "msiexec.exe /X{B}");
    Add(Key(RegistryView::rv64, "C"), "Gamma", "", std::to_string(2 * 1024 * 1024));
    auto controller = Open();
    ASSERT_EQ("2 Ko||2 Mo", Column(ucSize));
    view.Select(0);

    view.events.onHeaderClicked(ucSize); // first click: descending
    EXPECT_EQ("2 Mo|2 Ko|", Column(ucSize));
    EXPECT_EQ(siDown, view.sortImages[ucSize]);
    EXPECT_EQ(std::vector<int32_t>{1}, view.selected) << "the selection follows its row";
    view.events.onHeaderClicked(ucSize);
    EXPECT_EQ("|2 Ko|2 Mo", Column(ucSize));

    view.events.onHeaderClicked(ucName);
    EXPECT_EQ("Gamma|Beta|alpha", Column(ucName)) << "letter case does not count";
    EXPECT_EQ(siNone, view.sortImages[ucSize]);

    view.commands.at(TUninstallButton::ubRefresh)();
    EXPECT_EQ("alpha|Beta|Gamma", Column(ucName));
    EXPECT_EQ(siNone, view.sortImages[ucName]);
}
