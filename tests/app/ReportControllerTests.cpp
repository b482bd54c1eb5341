// The report window against a view that records what it is told and answers the save dialog as
// a test scripts it; the reports are the engine's own.
#include "app/uReportController.h"
#include "app/uUndoClean.h"
#include "engine/uEngineImplementation.h"
#include "prefs/VelaCRC32.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <optional>

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

class FakeReportView : public IReportView {
public:
    TReportViewEvents& Events() override { return events; }
    void SetTitle(const std::string& text) override { title = text; }
    void SetSaveButton(const std::string&, const std::string&) override {}
    void SetUndoButton(const std::string& caption, bool shown) override { undoButton = shown ? caption : ""; }
    void SetImages(const std::vector<std::string>&, const std::string&, const std::string&) override {}
    void SetColumns(const std::vector<TListColumnInfo>&) override {}
    void ShowPage(TReportPage shown) override { page = shown; }
    void SetRowCount(int32_t count) override { rowCount = count; }
    void RedrawAll() override {}
    void SetSortImage(int32_t column, TSortImage image) override { sortImages[column] = image; }
    void SetContent(const std::vector<std::string>& lines) override { content = lines; }
    std::shared_ptr<IComputingWindow> CreateComputingWindow() override { return nullptr; }
    bool ChooseSaveFile(const TSaveFileRequest& request, std::string& path) override
    {
        requests.push_back(request);
        if (!chosen)
            return false;
        path = *chosen;
        return true;
    }
    int32_t MonitorNumber() override { return 0; }
    std::vector<int32_t> SelectedRows() override { return selected; }
    void SelectRows(const std::vector<int32_t>& rows) override { selected = rows; }
    int32_t FocusedRow() override { return focused; }
    void FocusRow(int32_t row) override { focused = row; }
    void EnsureVisible(int32_t) override {}

    TReportViewEvents events;
    std::string title;
    std::optional<TReportPage> page;
    int32_t rowCount = 0, focused = -1;
    std::vector<int32_t> selected;
    std::map<int32_t, TSortImage> sortImages;
    std::vector<std::string> content;
    std::optional<std::string> chosen; // none: the dialog is cancelled
    std::vector<TSaveFileRequest> requests;
    std::string undoButton; // its caption while shown
};

class ScriptedBoxes : public IMessageBoxService {
public:
    TMsgBoxResult Execute(TMsgBoxKind kind, const std::string& text, int32_t, TMsgBoxFocus, uint32_t buttons) override
    {
        shown.push_back({kind, text, buttons});
        TMsgBoxResult answer = TMsgBoxResult::mrAccept;
        if (!answers.empty())
            answer = answers.front(), answers.pop_front();
        return answer;
    }
    struct TShown {
        TMsgBoxKind kind;
        std::string text;
        uint32_t buttons;
    };
    std::deque<TMsgBoxResult> answers;
    std::vector<TShown> shown;
};

class ReportController : public ::testing::Test {
protected:
    void Found(TCleanupOption option, int64_t ko)
    {
        std::shared_ptr<ICleanupListItem> entry;
        ASSERT_TRUE(objects->Add(true, scSafe, option, "", "/found/" + std::to_string(++added), ko, -1, entry));
    }

    std::unique_ptr<TReportController> Open(TReportKind kind)
    {
        auto controller = std::make_unique<TReportController>(view, boxes, [] {
            return platform::LocalTime{2024, 3, 9, 23, 59, 0, 0};
        });
        controller->SetScanReport(TEngineServices::CreateScanReport(TEngineServices::CreateCleanupOptionsList(), objects));
        controller->SetCleanReport(cleanReport);
        controller->SetReportKind(kind);
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

    std::shared_ptr<ICleanupList> objects = TEngineServices::CreateCleanupList(TCRC32Services::CreateCRC32());
    std::shared_ptr<ICleanReport> cleanReport = TEngineServices::CreateCleanReport();
    FakeReportView view;
    ScriptedBoxes boxes;
    TempDir dir;
    int added = 0;
};

} // namespace

TEST_F(ReportController, EachKindShowsItsPageAndProposesItsDatedFileName)
{
    Found(13, 3);
    auto scan = Open(rkScan);
    EXPECT_EQ(rpScan, view.page);
    EXPECT_EQ(23, view.rowCount);
    EXPECT_EQ("Temporary Files", view.events.onCellText(13, rcCategory));
    EXPECT_EQ("1", view.events.onCellText(13, rcFoundCount));
    EXPECT_EQ("3 Ko", view.events.onCellText(13, rcSize));
    EXPECT_EQ("QSR-SCAN-2024-03-09.txt", scan->DefaultFileName());

    scan->Save(); // cancelled
    ASSERT_EQ(1u, view.requests.size());
    EXPECT_EQ("Save report...", view.requests[0].title);
    EXPECT_EQ("Text files (*.txt)|*.txt", view.requests[0].filter);
    EXPECT_EQ("txt", view.requests[0].defaultExtension);
    EXPECT_EQ("QSR-SCAN-2024-03-09.txt", view.requests[0].fileName);
    EXPECT_EQ("Report", view.title);
    scan.reset();
    EXPECT_FALSE(view.events.onCellText) << "the view asks nothing of a controller that is gone";

    cleanReport->GetLines() = {"first", "second"};
    auto clean = Open(rkClean);
    EXPECT_EQ(rpClean, view.page);
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), view.content);
    EXPECT_EQ("QSR-CLEAN-2024-03-09.txt", clean->DefaultFileName());
}

TEST_F(ReportController, OnlyYesOverwritesAndTheTitleNamesOnlyAWrittenFile)
{
    cleanReport->GetLines() = {"Skipped objects list:"};
    auto controller = Open(rkClean);
    const std::string path = dir.File("QSR-CLEAN-2024-03-09.txt");
    WriteBytes(path, "older");
    view.chosen = path;

    boxes.answers = {TMsgBoxResult::mrRefuse};
    controller->Save();
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkConfirm, boxes.shown[0].kind);
    EXPECT_EQ("File \"QSR-CLEAN-2024-03-09.txt\" already exists.\r\nDo you want to overwrite it?", boxes.shown[0].text);
    EXPECT_EQ(msgbox_buttons::kYesNo, boxes.shown[0].buttons);
    EXPECT_EQ("older", ReadBytes(path));
    EXPECT_EQ("Report", view.title);

    boxes.answers = {TMsgBoxResult::mrAccept};
    controller->Save();
    EXPECT_EQ("Skipped objects list:\r\n", ReadBytes(path));
    EXPECT_EQ(path, view.title);
}

TEST_F(ReportController, AFailedSaveSaysSoAndTheNextNameCanStillBeSaved)
{
    auto controller = Open(rkScan);
    const std::string nowhere = dir.File("missing/report.txt");
    view.chosen = nowhere;
    controller->Save();
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkError, boxes.shown[0].kind);
    EXPECT_EQ("An unexpected error occured while attempting to save the report as \"" + nowhere +
                  "\".\r\nPlease try saving again using a different file name.",
              boxes.shown[0].text);
    EXPECT_EQ(msgbox_buttons::kCloseOnly, boxes.shown[0].buttons);
    EXPECT_EQ("Report", view.title);

    view.chosen = dir.File("report.txt");
    controller->Save();
    EXPECT_EQ(1u, boxes.shown.size()) << "a new file needs no question";
    EXPECT_EQ(0u, ReadBytes(*view.chosen).find("Quillsweep "));
    EXPECT_EQ(*view.chosen, view.title);
}

TEST_F(ReportController, HeadersSortByTheShownFiguresAndQuotaNeverSorts)
{
    Found(13, 2048); // 2 Mo
    Found(14, 1500); // 1,500 Ko, more objects
    Found(14, 10);
    Found(15, 1);
    auto controller = Open(rkScan);
    view.selected = {14};
    view.focused = 14;

    view.events.onHeaderClicked(rcSize);
    EXPECT_EQ("Temporary Files", view.events.onCellText(0, rcCategory)) << "2 Mo above 1 Mo (1,510 Ko)";
    EXPECT_EQ("General Cache Files", view.events.onCellText(1, rcCategory));
    EXPECT_EQ("Old Backup Files", view.events.onCellText(2, rcCategory));
    EXPECT_EQ(siDown, view.sortImages[rcSize]);
    EXPECT_EQ((std::vector<int32_t>{1}), view.selected) << "the selection follows its row";

    view.events.onHeaderClicked(rcFoundCount);
    EXPECT_EQ("General Cache Files", view.events.onCellText(0, rcCategory));
    EXPECT_EQ(siNone, view.sortImages[rcSize]);
    EXPECT_EQ(siDown, view.sortImages[rcFoundCount]);

    view.events.onHeaderClicked(rcCategory);
    view.events.onHeaderClicked(rcCategory);
    EXPECT_EQ(siUp, view.sortImages[rcCategory]);
    EXPECT_EQ("Apple .DS_Store Files", view.events.onCellText(0, rcCategory));

    const std::string order = Column(rcCategory);
    const auto images = view.sortImages;
    view.events.onHeaderClicked(rcQuota);
    EXPECT_EQ(order, Column(rcCategory));
    EXPECT_EQ(images, view.sortImages);
    EXPECT_EQ(rcCategory, controller->Sorting().Column());
}

TEST_F(ReportController, QuotaBarsAreSharesOfEverythingFound)
{
    Found(13, 1);   // a thousandth
    Found(14, 499);
    Found(15, 500); // a half
    auto controller = Open(rkScan);
    const TCellRect cell{0, 0, 106, 20}; // 100 pixels inside the margins

    const TQuotaBar thousandth = view.events.onQuotaBar(13, cell);
    ASSERT_TRUE(thousandth.visible);
    EXPECT_EQ(1, thousandth.fill.right - thousandth.fill.left) << "raised to 1 %";
    const TQuotaBar half = view.events.onQuotaBar(15, cell);
    EXPECT_EQ(50, half.fill.right - half.fill.left);
    EXPECT_FALSE(view.events.onQuotaBar(0, cell).visible) << "0 Ko";
    EXPECT_FALSE(view.events.onQuotaBar(23, cell).visible) << "no such row";
}

// The report of a clean that moved objects offers its undo, as the objects page does; what cannot
// come back is listed with why, ten paths at most.
TEST_F(ReportController, TheCleansUndoIsOfferedAndSaysWhatStaysInTheBin)
{
    clean_record::Json objects = clean_record::Json::array();
    for (int i = 0; i < 12; ++i)
        objects.push_back({{"path", "/found/" + std::to_string(i)}, {"kind", "file"}, {"size", 1}, {"outcome", "moved"},
                           {"destination", "/bin/files/" + std::to_string(i)}});
    const std::string file = dir.File("clean-1.json");
    WriteBytes(file, clean_record::Json{{"recordVersion", 1}, {"objects", objects}}.dump());
    const std::shared_ptr<TUndoClean> undo = TUndoClean::ForRecord(file);
    ASSERT_TRUE(undo);

    Open(rkClean);
    EXPECT_EQ("", view.undoButton) << "not this clean's undo";
    TUndoClean::Attach(cleanReport.get(), undo);
    Open(rkScan);
    EXPECT_EQ("", view.undoButton);
    auto report = Open(rkClean);
    EXPECT_EQ("Undo Clean", view.undoButton);

    boxes.answers = {TMsgBoxResult::mrRefuse};
    view.events.onUndoClicked();
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ("Restore the 12 objects this clean moved to the Recycle Bin to their places?", boxes.shown[0].text);
    view.events.onUndoClicked();
    ASSERT_EQ(3u, boxes.shown.size());
    std::string expected = "None of the 12 objects could be restored:\r\n";
    for (int i = 0; i < 10; ++i)
        expected += "\r\n/found/" + std::to_string(i) +
                    ": Refused by the system, left in the bin (the record does not say which object it was).";
    EXPECT_EQ(expected + "\r\nand 2 more.", boxes.shown[2].text);
    EXPECT_EQ("Undo Clean", view.undoButton) << "all are still in the bin";
    TUndoClean::Attach(cleanReport.get(), nullptr);
}
