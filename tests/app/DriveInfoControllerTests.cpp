// The drive information window against a view that records its rows and a drive-information
// object whose answers and failures each test chooses.
#include "app/uDriveInfoController.h"
#include "app/MainTestSupport.h"
#include "platform/PlatformError.h"
#include "support/VelaDriveInfo.h"

#include <gtest/gtest.h>

#include <map>

using main_testing::ScriptedMessageBoxes;

namespace {

class FakeDriveInfoView : public IDriveInfoView {
public:
    void OnShow(std::function<void()> handler) override { onShow = std::move(handler); }
    void OnCommand(TDriveInfoControl control, std::function<void()> handler) override
    {
        commands[control] = std::move(handler);
    }
    void SetTitle(const std::string& text) override { title = text; }
    void SetText(TDriveInfoControl, const std::string&) override {}
    void SetGlyph(TDriveInfoControl, const std::string&) override {}
    void SetColumns(const std::vector<TListColumnInfo>&) override {}
    void SetRows(const std::vector<TDriveInfoRow>& shown) override { rows = shown; }
    void Close() override { ++closed; }
    int32_t MonitorNumber() override { return 1; }

    void Press(TDriveInfoControl control) { commands.at(control)(); }

    std::function<void()> onShow;
    std::map<TDriveInfoControl, std::function<void()>> commands;
    std::string title;
    std::vector<TDriveInfoRow> rows;
    int closed = 0;
};

// Each value names its getter, so a row showing another row's value is seen at once.
class FakeDriveInfo : public IDriveInfo {
public:
    bool GetDescriptorValid() const override { return valid; }
    std::string GetRootPath() const override { return "root"; }
    std::string GetPhysicalDrive() const override { return "number"; }
    std::string GetVendor() const override { return "vendor"; }
    std::string GetProduct() const override { return "product"; }
    std::string GetRevision() const override { return "revision"; }
    std::string GetSerialNumber() const override { return "serial"; }
    std::string GetDriveKindText() const override
    {
        if (kindFails)
            throw EOSError(5, "Access is denied.");
        return "kind";
    }
    std::string GetVolumeLabel() const override { return "label"; }
    std::string GetVolumeSerial() const override { return "volume serial"; }
    std::string GetFileSystem() const override { return "file system"; }
    std::string GetDiskCapacity() const override { return "disk"; }
    std::string GetPartitionCapacity() const override { return "partition"; }
    std::string GetPartitionFree() const override { return "free"; }

    bool valid = true;
    bool kindFails = false;
};

class DriveInfoController : public ::testing::Test {
protected:
    void Open(const std::string& target = "D:\\")
    {
        controller = std::make_unique<TDriveInfoController>(view, boxes, [this](const std::string& path) {
            asked.push_back(path);
            if (constructionFails)
                throw EOSError(21, "The device is not ready.");
            return drive;
        });
        controller->SetTarget(target);
        view.onShow();
    }

    FakeDriveInfoView view;
    ScriptedMessageBoxes boxes;
    std::shared_ptr<FakeDriveInfo> drive = std::make_shared<FakeDriveInfo>();
    bool constructionFails = false;
    std::vector<std::string> asked;
    std::unique_ptr<TDriveInfoController> controller;
};

const char kNotAvailable[] = "Drive information is not available for target \"D:\\\".";
const char kNotSupported[] = "Target \"D:\\\" does not support drive information retrieval.\r\n"
                             "Please select another target device drive.";

} // namespace

TEST_F(DriveInfoController, ShowsThirteenDetailsInOrderAndAnEmptyLastRow)
{
    Open();
    EXPECT_EQ("Drive Information", view.title);
    EXPECT_EQ(std::vector<std::string>{"D:\\"}, asked);
    std::vector<std::string> shown;
    for (const TDriveInfoRow& row : view.rows)
        shown.push_back(row.parameter + "=" + row.value);
    EXPECT_EQ((std::vector<std::string>{"Root Path=root", "Number=number", "Vendor Identifier=vendor",
                                        "Product Identifier=product", "Product Revision=revision",
                                        "Serial Number=serial", "Drive Type=kind", "Volume Name=label",
                                        "Volume Serial Number=volume serial", "File System Name=file system",
                                        "Capacity=disk", "Partition Capacity=partition",
                                        "Partition Free Space=free", "="}),
              shown);
    ASSERT_EQ(14u, view.rows.size());
    EXPECT_EQ("Volume serial number as assigned by the operating system during initial format.",
              view.rows[8].description);
    EXPECT_EQ("", view.rows[13].description);
    EXPECT_TRUE(boxes.shown.empty());

    view.Press(TDriveInfoControl::dcRefresh);
    EXPECT_EQ(2u, asked.size()) << "Refresh reads the drive again";
    EXPECT_EQ(14u, view.rows.size());
    view.Press(TDriveInfoControl::dcClose);
    EXPECT_EQ(1, view.closed);

    // The form may still report events while it goes: none reaches the controller gone before it.
    controller.reset();
    EXPECT_FALSE(view.onShow);
    EXPECT_FALSE(view.commands.at(TDriveInfoControl::dcRefresh));
}

TEST_F(DriveInfoController, AnUnreadableDescriptorGivesTheNoticeAnEmptyListAndKeepsTheWindow)
{
    Open();
    drive->valid = false;
    view.Press(TDriveInfoControl::dcRefresh);
    EXPECT_TRUE(view.rows.empty()) << "the rows of the earlier fill are gone";
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkInformation, boxes.shown[0].kind);
    EXPECT_EQ(kNotAvailable, boxes.shown[0].text);
    EXPECT_EQ(msgbox_buttons::kCloseOnly, boxes.shown[0].buttons);

    view.Press(TDriveInfoControl::dcRefresh);
    EXPECT_EQ(3u, asked.size());
    EXPECT_EQ((std::vector<std::string>{kNotAvailable, kNotAvailable}), boxes.Texts());
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(0, view.closed);
}

TEST_F(DriveInfoController, AFailingQueryGivesTheErrorAndClosesWithoutRows)
{
    constructionFails = true;
    Open();
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkError, boxes.shown[0].kind);
    EXPECT_EQ(kNotSupported, boxes.shown[0].text);
    EXPECT_EQ(msgbox_buttons::kCloseOnly, boxes.shown[0].buttons);
    EXPECT_EQ(1, view.closed);

    // A getter failing halfway shows no partial list behind the error.
    constructionFails = false;
    drive->kindFails = true;
    view.Press(TDriveInfoControl::dcRefresh);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ((std::vector<std::string>{kNotSupported, kNotSupported}), boxes.Texts());
    EXPECT_EQ(2, view.closed);
}
