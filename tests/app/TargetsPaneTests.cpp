// The clean targets: what the tree and the clean-up list make the current targets, and how
// the list is edited and restored, against a view that keeps its tree and rows in memory.
#include "app/uTargetsPane.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct FakeRow {
    std::string text;
    bool checked = false;
    bool selected = false;
};

class FakeTargetsView : public ITargetsView {
public:
    TTargetsViewEvents& Events() override { return events; }
    void OnCommand(TTargetsControl control, std::function<void()> handler) override { commands[control] = handler; }
    void SetText(TTargetsControl control, const std::string& text) override { texts[control] = text; }
    void SetEnabled(TTargetsControl, bool) override {}
    void SetVisible(TTargetsControl control, bool visible) override { hidden[control] = !visible; }
    TTreeNode SelectedNode() override { return node; }
    std::vector<std::string> DrivePaths() override { return drives; }
    bool SelectPath(const std::string& path) override
    {
        const bool shown = path != unreachable;
        node = shown ? TTreeNode{path.size() == 3 ? 1 : 2, path} : TTreeNode{};
        return shown;
    }
    void SelectNodeUnderCursor() override {}
    void RefreshTree() override {}
    int32_t RowCount() override { return static_cast<int32_t>(rows.size()); }
    std::string RowText(int32_t row) override { return rows.at(row).text; }
    bool RowChecked(int32_t row) override { return rows.at(row).checked; }
    bool RowSelected(int32_t row) override { return rows.at(row).selected; }
    void InsertRow(int32_t row, const std::string& text, bool checked) override
    {
        rows.insert(rows.begin() + row, {text, checked, false});
    }
    void DeleteRow(int32_t row) override { rows.erase(rows.begin() + row); }
    void DeleteAllRows() override { rows.clear(); }
    void SelectRow(int32_t row) override { Select({row}); }
    void SetStatusText(const std::string& text) override { status = text; }
    int32_t MonitorNumber() override { return 2; }

    void Check(int32_t row, bool checked)
    {
        rows.at(row).checked = checked;
        events.onRowCheckChanged(row);
    }
    void Select(std::initializer_list<int32_t> selected)
    {
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i].selected = std::find(selected.begin(), selected.end(), static_cast<int32_t>(i)) != selected.end();
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> result;
        for (const auto& row : rows)
            result.push_back(row.text);
        return result;
    }

    TTargetsViewEvents events;
    std::map<TTargetsControl, std::function<void()>> commands;
    std::map<TTargetsControl, std::string> texts;
    std::map<TTargetsControl, bool> hidden;
    std::string unreachable; // a folder no node shows
    TTreeNode node{0, ""};
    std::vector<std::string> drives{"A:\\", "C:\\", "", "D:\\"};
    std::vector<FakeRow> rows;
    std::string status;
};

class CountingMessageBoxes : public IMessageBoxService {
public:
    TMsgBoxResult Execute(TMsgBoxKind kind, const std::string& text, int32_t monitor, TMsgBoxFocus,
                          uint32_t buttons) override
    {
        EXPECT_EQ(2, monitor);
        EXPECT_EQ(TMsgBoxKind::mkConfirm, kind);
        EXPECT_EQ("Clear 2 items from the clean-up list?", text);
        ++asked;
        return answer;
    }
    TMsgBoxResult answer = TMsgBoxResult::mrAccept;
    int asked = 0;
};

class TargetsPane : public ::testing::Test {
protected:
    TargetsPane() { prefs.SetDefaults(); }
    void Run(TTargetsControl control) { view.commands.at(control)(); }
    void Fill(std::vector<std::string> targets) { pane.ApplyCommandLine({clCleanupTargets, false, "", targets}); }

    FakeTargetsView view;
    CountingMessageBoxes boxes;
    TPreferenceValues prefs{false};
    TTargetsPane pane{view, boxes, prefs, [](const std::string& path) { return path == "C:\\data"; }};
};

using Texts = std::vector<std::string>;
const char* const kAllDrives = "Selected: \"A:\\;C:\\;D:\\\"";

} // namespace

TEST_F(TargetsPane, CheckedRowsTakeOverFromTheTreeUntilNoneIsChecked)
{
    view.events.onTreeSelectionChanged();
    EXPECT_EQ(kAllDrives, view.status) << "the root stands for every drive";

    view.node = {2, "C:\\data"};
    Run(TTargetsControl::tcAddButton);
    Run(TTargetsControl::tcAddItem);
    view.node = {1, "c:\\"};
    Run(TTargetsControl::tcAddItem);
    EXPECT_EQ((Texts{"c:\\", "C:\\data"}), view.Texts()) << "once each, in alphabetical order";
    EXPECT_EQ("Selected: \"c:\\;C:\\data\"", view.status);

    view.node = {0, ""};
    view.Check(0, false);
    EXPECT_EQ("Selected: \"C:\\data\"", view.status);
    view.Check(1, false);
    EXPECT_EQ(kAllDrives, view.status);

    Run(TTargetsControl::tcAddItem);
    EXPECT_EQ((Texts{"A:\\", "c:\\", "C:\\", "C:\\data", "D:\\"}), view.Texts()) << "the comparison is exact";
}

TEST_F(TargetsPane, RemovingSelectsTheRowAboveTheLowestRemoved)
{
    Fill({"C:\\d", "C:\\c", "C:\\b", "C:\\a"});
    view.Select({2, 3});
    Run(TTargetsControl::tcRemoveItem);
    EXPECT_EQ((Texts{"C:\\a", "C:\\b"}), view.Texts());
    EXPECT_TRUE(view.rows[1].selected);

    Fill({"C:\\a", "C:\\b", "C:\\c"});
    view.Select({0, 1});
    view.events.onListMenuPopup();
    EXPECT_EQ("&Remove Items", view.texts[TTargetsControl::tcRemoveItem]);
    Run(TTargetsControl::tcRemoveButton);
    ASSERT_EQ((Texts{"C:\\c"}), view.Texts());
    EXPECT_TRUE(view.rows[0].selected);
    EXPECT_EQ("Selected: \"C:\\c\"", view.status);
}

TEST_F(TargetsPane, ClearingAsksOnlyWithConfirmations)
{
    prefs.Confirmations = true;
    Run(TTargetsControl::tcClearButton);
    Fill({"C:\\a", "C:\\b"});
    boxes.answer = TMsgBoxResult::mrRefuse;
    Run(TTargetsControl::tcClearItem);
    EXPECT_EQ(2u, view.rows.size());
    boxes.answer = TMsgBoxResult::mrAccept;
    Run(TTargetsControl::tcClearItem);
    EXPECT_TRUE(view.rows.empty());

    prefs.Confirmations = false;
    Fill({"C:\\a", "C:\\b"});
    Run(TTargetsControl::tcClearButton);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(2, boxes.asked) << "not for an empty list, nor without confirmations";
}

TEST_F(TargetsPane, RestoringAndSavingTheTargets)
{
    view.drives = {"A:\\", "B:\\", "Shared", "E:\\"};
    pane.RestoreTargets();
    EXPECT_EQ("Selected: \"E:\\\"", view.status) << "no floppy, a drive root";
    prefs.CleanupSelection = "C:\\data";
    pane.RestoreTargets();
    EXPECT_EQ("C:\\data", view.node.path);
    // A folder the tree cannot show is said so, and no other target stands in for it.
    view.unreachable = "C:\\data";
    pane.RestoreTargets();
    EXPECT_EQ("Cannot select \"C:\\data\": nothing is selected.", view.status);
    EXPECT_EQ("", pane.SelectionText());
    view.unreachable.clear();

    prefs.CleanupSelection = "C:\\x;C:\\data";
    pane.RestoreTargets();
    EXPECT_TRUE(view.rows.empty()) << "several targets from the tree are not restored";
    prefs.RestoreCleanupList = true;
    pane.RestoreTargets();
    EXPECT_EQ((Texts{"C:\\data", "C:\\x"}), view.Texts());

    view.Check(0, false);
    prefs.RestoreCleanupList = false;
    pane.SaveTargets();
    EXPECT_TRUE(prefs.RestoreCleanupList);
    EXPECT_EQ("C:\\x", prefs.CleanupSelection);
}
