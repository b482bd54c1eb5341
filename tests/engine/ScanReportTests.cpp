#include "TestSupport.h"

#include "engine/uCleanupOptionsList.h"
#include "engine/uEngineImplementation.h"
#include "engine/uScanReport.h"
#include "platform/PlatformNumberFormat.h"
#include "support/VelaRoutines.h"
#include "uVersion.h"

#include <gtest/gtest.h>

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

class TRecordingListView : public IReportListView {
public:
    struct TRow {
        int32_t data, image;
        std::string caption;
        std::vector<std::string> subItems;
    };
    void AppendRow(int32_t data, int32_t imageIndex, const std::string& caption,
                   const std::vector<std::string>& subItems) override
    {
        rows.push_back({data, imageIndex, caption, subItems});
    }
    std::vector<TRow> rows;
};

struct TReportFixture {
    std::shared_ptr<ICleanupOptionsList> catalogue = TEngineServices::CreateCleanupOptionsList();
    std::shared_ptr<ICleanupList> list = TEngineServices::CreateCleanupList(std::make_shared<TCRC32>());
    std::shared_ptr<IScanReport> report = TEngineServices::CreateScanReport(catalogue, list);

    void Add(int option, const std::string& path, int64_t size)
    {
        std::shared_ptr<ICleanupListItem> entry;
        list->Add(true, scSafe, static_cast<TCleanupOption>(option), "", path, size, -1, entry);
    }
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    EXPECT_EQ(text.size(), start) << "every line ends in CR LF";
    return lines;
}

} // namespace

TEST(ScanReport, FiguresRowsAndListView)
{
    TReportFixture f;
    f.Add(0, "/a", 1024);
    f.Add(0, "/b", 1);
    f.Add(13, "/c", 1572863);
    f.list->GetItem(0)->SetChecked(false);  // unchecked objects count too
    EXPECT_EQ(2, f.report->GetFoundCount(0));
    EXPECT_EQ(1025, f.report->GetFoundCapacity(0));
    EXPECT_EQ(0, f.report->GetFoundCount(5));
    EXPECT_EQ(0, f.report->GetFoundCapacity(5));
    EXPECT_EQ(3, f.report->GetTotalFoundCount());
    EXPECT_EQ(1573888, f.report->GetTotalFoundCapacity());

    f.report->Build();
    auto row = f.report->GetItem(0);
    ASSERT_NE(nullptr, row);
    EXPECT_EQ("Windows Temporary Directories", row->GetName());
    EXPECT_EQ("1 Mo", row->GetFoundCapacityText());
    EXPECT_EQ("1,535 Mo", f.report->GetItem(13 + 128)->GetFoundCapacityText());
    EXPECT_EQ(nullptr, f.report->GetRow(23));
    EXPECT_EQ(nullptr, f.report->GetItem(-1));
    EXPECT_EQ("1,234,567", TScanReportItem(1, 0, 1234567, "x").GetFoundCountText());
    EXPECT_EQ("1,024 Ko", TScanReportItem(1, 1024, 0, "x").GetFoundCapacityText());
    EXPECT_EQ("1 Mo", TScanReportItem(1, 2047, 0, "x").GetFoundCapacityText());

    // Rows are frozen at Build; a later change shows only after the next one.
    f.Add(5, "/d", 7);
    EXPECT_EQ(0, f.report->GetItem(5)->GetFoundCount());
    f.report->Build();
    EXPECT_EQ(1, f.report->GetItem(5)->GetFoundCount());

    f.report->FillListView(nullptr);
    auto view = std::make_shared<TRecordingListView>();
    f.report->FillListView(view);
    ASSERT_EQ(23u, view->rows.size());
    for (int i = 0; i < 23; ++i) {
        EXPECT_EQ(i, view->rows[static_cast<size_t>(i)].data);
        EXPECT_EQ(f.catalogue->GetItem(i)->GetSafetyIndex(), view->rows[static_cast<size_t>(i)].image);
        EXPECT_EQ(f.catalogue->GetItem(i)->GetName(), view->rows[static_cast<size_t>(i)].caption);
    }
    EXPECT_EQ((std::vector<std::string>{"2", "1 Mo"}), view->rows[0].subItems);
    EXPECT_EQ((std::vector<std::string>{"0", "0 Ko"}), view->rows[1].subItems);
}

TEST(ScanReport, SavedText)
{
    TempDir dir;
    const std::string file = dir.File("report.txt");
    const std::string header = "Quillsweep " QS_VERSION_TEXT " Report";
    const std::string point = platform::DecimalSeparator();

    // An empty list: every option at zero. Saving replaces an older, longer file completely.
    WriteBytes(file, std::string(10000, 'z'));
    TReportFixture empty;
    empty.report->Build();
    empty.report->SaveToFile(file);
    auto lines = Lines(ReadBytes(file));
    ASSERT_EQ(25u, lines.size());
    EXPECT_EQ(header, lines[0]);
    EXPECT_EQ("", lines[1]);
    EXPECT_EQ("Windows Temporary Directories, 0 found count, 0 Ko found capacity, 0" + point + "00% quota", lines[2]);
    for (size_t i = 2; i < lines.size(); ++i)
        EXPECT_NE(std::string::npos, lines[i].find(", 0 found count, 0 Ko found capacity, 0" + point + "00% quota"));

    // One option holds everything.
    TReportFixture one;
    for (int i = 0; i < 1204; ++i)
        one.Add(0, "/f" + std::to_string(i), 31);
    one.report->Build();
    one.report->SaveToFile(file);
    lines = Lines(ReadBytes(file));
    ASSERT_EQ(25u, lines.size());
    EXPECT_EQ("Windows Temporary Directories, 1,204 found count, 36 Mo found capacity, 100" + point + "00% quota",
              lines[2]);
    EXPECT_EQ("Windows Recycle Bin, 0 found count, 0 Ko found capacity, 0" + point + "00% quota", lines[3]);

    // Folders the scan into this list could not read are said after the rows; another list's
    // report says nothing of them, and a new scan's count replaces the old one.
    one.list->SetUnreadableFolders(1234);
    one.report->SaveToFile(file);
    lines = Lines(ReadBytes(file));
    ASSERT_EQ(26u, lines.size());
    EXPECT_EQ("1,234 folders could not be read.", lines[25]);
    EXPECT_EQ(24u, empty.report->GetLines().size());
    one.list->SetUnreadableFolders(1);
    EXPECT_EQ("1 folder could not be read.", one.report->GetLines().back());
    one.list->SetUnreadableFolders(0);
    EXPECT_EQ(24u, one.report->GetLines().size());

    // A share is printed with two decimals, rounded.
    EXPECT_EQ("12,50", TScanReport::FormatQuota(37.0L / 296.0L * 100.0L, ","));
    EXPECT_EQ("33.33", TScanReport::FormatQuota(100.0L / 3.0L, "."));
    EXPECT_EQ("0.01", TScanReport::FormatQuota(0.005L, "."));

    // A file that cannot be created is the caller's error to show.
    EXPECT_THROW(one.report->SaveToFile(dir.File("missing/report.txt")), std::exception);
}

namespace {

// The real catalogue with one option renamed.
class TRenamedCatalogue : public ICleanupOptionsList {
public:
    TRenamedCatalogue(int option, const std::string& name)
        : option_(option), renamed_(std::make_shared<TCleanupOptionsListItem>(false, scSafe, name, "", "*", okFiles, true))
    {
    }
    std::shared_ptr<ICleanupOptionsListItem> GetOption(int32_t index) override { return GetItem(index & 0x7F); }
    std::shared_ptr<ICleanupOptionsListItem> GetItem(int32_t index) override
    {
        return index == option_ ? renamed_ : real_->GetItem(index);
    }

private:
    int option_;
    std::shared_ptr<ICleanupOptionsListItem> renamed_;
    std::shared_ptr<ICleanupOptionsList> real_ = TEngineServices::CreateCleanupOptionsList();
};

} // namespace

TEST(ScanReport, NamesCannotAddOrRewriteLines)
{
    TempDir dir;
    const std::string file = dir.File("report.txt");
    auto catalogue = std::make_shared<TRenamedCatalogue>(4, "Fragments\r\nForged, 9 found count\x1b[2K\x7f.");
    auto report = TEngineServices::CreateScanReport(catalogue, TEngineServices::CreateCleanupList(std::make_shared<TCRC32>()));
    report->Build();
    report->SaveToFile(file);
    const auto lines = Lines(ReadBytes(file));
    ASSERT_EQ(25u, lines.size());
    EXPECT_EQ(0u, lines[6].find("Fragments??Forged, 9 found count?[2K?., 0 found count")) << lines[6];

    auto view = std::make_shared<TRecordingListView>();
    report->FillListView(view);
    ASSERT_EQ(23u, view->rows.size());
    EXPECT_EQ("Fragments??Forged, 9 found count?[2K?.", view->rows[4].caption);
}
