// The found-objects list against a view that keeps a selection and records what it is told.
#include "app/uObjectsPane.h"
#include "engine/uEngineImplementation.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace {

class FakeObjectsView : public IObjectsView {
public:
    TObjectsViewEvents& Events() override { return events; }
    void SetColumns(const std::vector<TObjectsColumnInfo>&) override {}
    void SetHeaderText(const std::string& text) override { header = text; }
    void SetRowCount(int32_t count) override { rowCount = count; }
    void RedrawRows(int32_t, int32_t) override { ++redraws; }
    void RedrawAll() override { ++redraws; }
    std::vector<int32_t> SelectedRows() override { return selected; }
    void SelectRows(const std::vector<int32_t>& rows) override { selected = rows; }
    void SelectAll(bool on) override
    {
        selected.clear();
        for (int32_t row = 0; on && row < rowCount; ++row)
            selected.push_back(row);
    }
    int32_t FocusedRow() override { return focused; }
    void FocusRow(int32_t row) override { focused = row; }
    void EnsureVisible(int32_t row) override { visible = row; }
    void SetSortImage(int32_t column, TSortImage image) override { sortImages[column] = image; }
    void SetEnabled(bool) override {}
    void SetImageList(TObjectsImageList) override {}
    int32_t SystemIconIndex(const std::string&) override { return 40 + iconQueries++; }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    bool ShellOpen(const std::string&) override { return true; }
    bool OpenContainingFolder(const std::string&) override { return true; }
    TObjectsCommand ShowContextMenu(const std::vector<TObjectsMenuItem>& items) override
    {
        menu = items;
        return menuChoice;
    }
    int32_t MonitorNumber() override { return 2; }

    TObjectsViewEvents events;
    std::string header, clipboard;
    int32_t rowCount = 0, focused = -1, visible = -1, iconQueries = 0, redraws = 0;
    std::vector<int32_t> selected;
    std::map<int32_t, TSortImage> sortImages;
    std::vector<TObjectsMenuItem> menu;
    TObjectsCommand menuChoice = cmNone;
};

class ScriptedBoxes : public IMessageBoxService {
public:
    TMsgBoxResult Execute(TMsgBoxKind, const std::string& text, int32_t, TMsgBoxFocus, uint32_t) override
    {
        texts.push_back(text);
        TMsgBoxResult answer = TMsgBoxResult::mrAccept;
        if (!answers.empty())
            answer = answers.front(), answers.pop_front();
        return answer;
    }
    std::deque<TMsgBoxResult> answers;
    std::vector<std::string> texts;
};

class ViewerServices : public IWindowServices {
public:
    void BringWindowsToFront() override {}
    int32_t ShowAbout() override { return 0; }
    int32_t ShowDriveInfo(const std::string&) override { return 0; }
    int32_t ShowEditList(const std::string&, std::string&, bool, bool&) override { return 0; }
    int32_t ShowFileViewer(const std::string& path, int32_t mode) override
    {
        viewed.push_back(path + "|" + std::to_string(mode));
        return 1;
    }
    int32_t ShowLegend() override { return 0; }
    int32_t ShowOptions(IMainController&) override { return 0; }
    int32_t ShowReport(std::shared_ptr<IScanReport>, std::shared_ptr<ICleanReport>, TReportKind) override { return 0; }
    int32_t ShowUninstall() override { return 0; }
    std::vector<std::string> viewed;
};

class ObjectsPane : public ::testing::Test {
protected:
    ObjectsPane()
    {
        prefs.SetDefaults();
        prefs.UseFileSystemIcons = false;
        prefs.QuotaReportsLargestCapacity = false;
        prefs.OpenObjectConfirmations = false;
        pane = std::make_unique<TObjectsPane>(view, boxes, services, prefs, objects, broadcast,
                                              TObjectsPaneEvents{[this](uint32_t count) { counts.push_back(count); }});
    }

    // Found as the scanner reports it: into the model, the counters and the list.
    std::shared_ptr<ICleanupListItem> Found(const std::string& path, int64_t ko, bool checked = false,
                                            TSafetyClass safety = scSafe, const std::string& option = "Temporary Files")
    {
        std::shared_ptr<ICleanupListItem> entry;
        EXPECT_TRUE(objects->Add(checked, safety, 13, option, path, ko, -1, entry));
        broadcast->IncFoundCount();
        broadcast->AddFoundCapacity(ko);
        if (checked) {
            broadcast->IncSelectedCount();
            broadcast->AddSelectedCapacity(ko);
        }
        pane->Add(entry);
        return entry;
    }

    // A column's texts joined by "|".
    std::string Column(int32_t column)
    {
        std::string texts;
        for (int32_t row = 0; row < pane->RowCount(); ++row)
            texts += (row ? "|" : "") + view.events.onCellText(row, column);
        return texts;
    }

    std::string Checks()
    {
        std::string checks;
        for (int32_t row = 0; row < pane->RowCount(); ++row)
            checks += view.events.onRowChecked(row) ? '1' : '0';
        return checks;
    }

    FakeObjectsView view;
    ScriptedBoxes boxes;
    ViewerServices services;
    TPreferenceValues prefs{false};
    std::shared_ptr<ICleanupList> objects = TEngineServices::CreateCleanupList(TCRC32Services::CreateCRC32());
    std::shared_ptr<IBroadcastParameters> broadcast = TEngineServices::CreateBroadcastParameters();
    std::vector<uint32_t> counts;
    std::unique_ptr<TObjectsPane> pane;
};

} // namespace

TEST_F(ObjectsPane, SizeSortsAsShownFirstDescendingAndSelectionFollows)
{
    view.events.onHeaderClicked(cnSize);
    EXPECT_TRUE(view.sortImages.empty()) << "an empty list never sorts";

    Found("/a", 1024), Found("/b", 1025), Found("/c", 3), Found("/d", 4096);
    ASSERT_EQ("1,024 Ko|1 Mo|3 Ko|4 Mo", Column(cnSize));
    view.selected = {2}, view.focused = 2;

    view.events.onHeaderClicked(cnSize);
    EXPECT_EQ("/d|/a|/b|/c", Column(cnPath)) << "1,024 Ko and 1 Mo are equal: order kept";
    EXPECT_EQ(siDown, view.sortImages[cnSize]);
    EXPECT_EQ((std::vector<int32_t>{3}), view.selected);
    EXPECT_EQ(3, view.focused);
    EXPECT_EQ(3, view.visible);

    view.events.onHeaderClicked(cnSize);
    EXPECT_EQ("/c|/a|/b|/d", Column(cnPath));
    EXPECT_EQ(siUp, view.sortImages[cnSize]);

    view.events.onHeaderClicked(cnQuota);
    EXPECT_EQ("/c|/a|/b|/d", Column(cnPath));

    view.events.onHeaderClicked(cnPath);
    EXPECT_EQ(siDown, view.sortImages[cnPath]);
    EXPECT_EQ(siNone, view.sortImages[cnSize]);
    EXPECT_EQ(1, pane->SortDirection(cnSize)) << "every column keeps its own direction";

    pane->Clear();
    for (int32_t column = 0; column < kObjectsColumnCount; ++column)
        EXPECT_EQ(siNone, view.sortImages[column]) << column;
    EXPECT_EQ(-1, pane->SortColumn());
    EXPECT_EQ(-1, pane->SortDirection(cnSize));
    EXPECT_EQ(0, view.rowCount);
}

TEST_F(ObjectsPane, TextsCompareWithOnlyAToZFolded)
{
    Found("/1", 1, false, scSafe, "_Logs"), Found("/2", 1, false, scSafe, "cache"), Found("/3", 1, false, scSafe, "Backup");
    view.events.onHeaderClicked(cnCategory);
    EXPECT_EQ("_Logs|cache|Backup", Column(cnCategory));
}

TEST_F(ObjectsPane, ToggledCheckReachesEverySelectedRowOnceAndSpaceToggleAlike)
{
    Found("/0", 10, true), Found("/1", 20), Found("/2", 40), Found("/3", 80);
    view.selected = {0, 1, 2};

    view.events.onCheckBoxClicked(1);
    EXPECT_EQ("1110", Checks());
    EXPECT_EQ(3, broadcast->GetSelectedCount());
    EXPECT_EQ(70, broadcast->GetSelectedCapacity());
    EXPECT_EQ(" Objects [Selected: 3 / 4, Capacity: 70 Ko / 150 Ko]", view.header);
    EXPECT_EQ((std::vector<uint32_t>{3}), counts);

    view.events.onCheckBoxClicked(3);
    EXPECT_EQ("1111", Checks()) << "outside the selection: that row alone";
    EXPECT_EQ(150, broadcast->GetSelectedCapacity());

    view.focused = 2;
    EXPECT_TRUE(view.events.onKeyDown(objects_keys::kSpace, false));
    EXPECT_EQ("0001", Checks());
    EXPECT_EQ(1, broadcast->GetSelectedCount());
    EXPECT_EQ(80, broadcast->GetSelectedCapacity());
    EXPECT_EQ(1u, counts.back());

    pane->SetChecksFrozen(true);
    view.events.onCheckBoxClicked(0);
    view.events.onKeyDown(objects_keys::kSpace, false);
    EXPECT_EQ("0001", Checks());
    EXPECT_EQ(1, broadcast->GetSelectedCount());
}

TEST_F(ObjectsPane, CheckPresetsKeepCountersAndHeaderInStep)
{
    Found("/safe", 5), Found("/risky", 7, true, scPotentiallyUnsafe), Found("/bad", 1100, true, scUnsafe);

    pane->ApplyCheckPreset(ocSafe);
    EXPECT_EQ("100", Checks());
    EXPECT_EQ(" Objects [Selected: 1 / 3, Capacity: 5 Ko / 1 Mo]", view.header);

    pane->ApplyCheckPreset(ocAll);
    EXPECT_EQ("111", Checks());
    EXPECT_EQ(1112, broadcast->GetSelectedCapacity());

    pane->ApplyCheckPreset(ocNone);
    EXPECT_EQ("000", Checks());
    EXPECT_EQ(" Objects [Selected: 0 / 3, Capacity: 0 Ko / 1 Mo]", view.header);
    EXPECT_EQ((std::vector<uint32_t>{1, 3, 0}), counts);
}

TEST_F(ObjectsPane, ContextMenuFollowsTheSelectionAndCopiesNames)
{
    testing_support::TempDir dir;
    Found("/x/a.log", 1), Found("/x/b.log", 1), Found(dir.Str(), 1);
    auto states = [this] {
        std::string text;
        for (const auto& item : pane->MenuItems())
            text += item.enabled ? '1' : '0';
        return text;
    };

    view.menuChoice = cmCopyNames;
    view.events.onContextMenuRequested();
    EXPECT_EQ("000000", states());
    EXPECT_EQ("&Copy Objects Names", view.menu[2].caption);
    EXPECT_TRUE(view.menu[0].isDefault);
    EXPECT_EQ("", view.clipboard) << "nothing selected, nothing copied";

    view.selected = {1};
    EXPECT_EQ("111111", states());
    view.events.onContextMenuRequested();
    EXPECT_EQ("&Copy Object Name", view.menu[2].caption);
    EXPECT_EQ("/x/b.log", view.clipboard);

    view.selected = {2};
    EXPECT_EQ("111000", states()) << "a directory cannot be viewed";

    view.selected = {0, 1};
    EXPECT_EQ("111000", states());
    EXPECT_TRUE(view.events.onKeyDown(objects_keys::kC, true));
    EXPECT_EQ("/x/a.log\r\n/x/b.log\r\n", view.clipboard);

    view.events.onFocusLost();
    EXPECT_TRUE(view.selected.empty());
    EXPECT_TRUE(view.events.onKeyDown(objects_keys::kA, true));
    EXPECT_EQ(3u, view.selected.size());
}

TEST_F(ObjectsPane, ViewingAsksAboveSixtyFourKoOfTheFileOnDisk)
{
    testing_support::TempDir dir;
    const std::string exact = dir.File("exact.bin"), over = dir.File("over.bin");
    testing_support::WriteBytes(exact, std::string(65536, 'x'));
    testing_support::WriteBytes(over, std::string(65537, 'x'));
    Found(exact, 64), Found(over, 65);
    Found("/gone/old.bin", 64)->SetByteSize(65537);

    view.selected = {0};
    pane->RunCommand(cmViewHex);
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ(std::vector<std::string>{exact + "|0"}, services.viewed);

    view.selected = {1};
    boxes.answers = {TMsgBoxResult::mrRefuse};
    pane->RunCommand(cmViewText);
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ(0u, boxes.texts[0].find("The \"over.bin\" object is larger than 64 Ko."));
    EXPECT_EQ(1u, services.viewed.size());
    pane->RunCommand(cmViewBinary);
    EXPECT_EQ(over + "|1", services.viewed.back());

    view.selected = {2};
    pane->RunCommand(cmViewHex);
    EXPECT_EQ(3u, boxes.texts.size()) << "a missing file is judged by the bytes the scan saw";
}

TEST_F(ObjectsPane, RowsDrawByTheIconChoiceAndQuotaMode)
{
    Found("/u", 50, false, scUnsafe);
    EXPECT_EQ(1, view.rowCount);
    EXPECT_EQ(0, view.redraws) << "adding a row only counts it";
    EXPECT_EQ(2, view.events.onRowImage(0));
    EXPECT_EQ("Unsafe", view.events.onRowSafety(0)) << "the class in words, whichever images show";
    EXPECT_EQ(kObjectsDefaultColour, view.events.onCellTextColour(0, cnPath));

    pane->SetFileSystemIcons(true);
    EXPECT_EQ(40, view.events.onRowImage(0));
    EXPECT_EQ(40, view.events.onRowImage(0));
    EXPECT_EQ(1, view.iconQueries) << "the shell is asked once per row";
    EXPECT_EQ(0x000040u, view.events.onCellTextColour(0, cnCategory));
    EXPECT_EQ(0x0500C4u, view.events.onCellTextColour(0, cnSize));

    const TCellRect cell{0, 0, 288, 20};
    const TQuotaBar half = TObjectsPane::QuotaBarGeometry(cell, 50, 100, 200, false);
    ASSERT_TRUE(half.visible);
    EXPECT_EQ((TCellRect{3, 2, 287, 18}), half.box);
    EXPECT_EQ((TCellRect{3, 2, 144, 18}), half.fill);
    EXPECT_EQ(73, TObjectsPane::QuotaBarGeometry(cell, 50, 100, 200, true).fill.right);
    EXPECT_EQ(5, TObjectsPane::QuotaBarGeometry(cell, 1, 1000, 1000, false).fill.right) << "never below 1 %";
    EXPECT_FALSE(TObjectsPane::QuotaBarGeometry(cell, 0, 100, 100, false).visible);
    EXPECT_FALSE(TObjectsPane::QuotaBarGeometry(cell, 5, 10, 0, true).visible);

    broadcast->SetLargestCapacity(100);
    EXPECT_EQ(285, view.events.onQuotaBar(0, cell).fill.right) << "the only object is the found capacity";
    EXPECT_EQ(100, view.events.onRowQuotaPercent(0));
    pane->PreviewQuotaMode(true);
    EXPECT_EQ(144, view.events.onQuotaBar(0, cell).fill.right);
    EXPECT_EQ(50, view.events.onRowQuotaPercent(0)) << "the bar's share in figures";
    pane->PreviewQuotaMode(prefs.QuotaReportsLargestCapacity);
    EXPECT_EQ(285, view.events.onQuotaBar(0, cell).fill.right);
    pane->SetEnabled(false);
    EXPECT_FALSE(view.events.onQuotaBar(0, cell).visible);
    EXPECT_EQ(-1, view.events.onRowQuotaPercent(0));
    pane.reset();
    EXPECT_FALSE(view.events.onQuotaBar) << "the view asks nothing of a pane that is gone";
}
