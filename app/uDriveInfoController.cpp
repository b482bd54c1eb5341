#include "app/uDriveInfoController.h"

#include "cycle/uCycleSetup.h"
#include "cycle/uDriveInfoDetails.h"
#include "support/VelaDriveInfo.h"

#include <exception>
#include <stdexcept>

namespace driveinfo_texts {
const char* const kTitle = "Drive Information";
const char* const kRefresh = "&Refresh";
const char* const kRefreshGlyph = "refresh22";
const char* const kClose = "Close";
const char* const kColumnParameter = "Parameter";
const char* const kColumnValue = "Value";
const char* const kColumnDescription = "Description";
const char* const kNotAvailable = "Drive information is not available for target \"%s\".";
const char* const kNotSupported = "Target \"%s\" does not support drive information retrieval.\r\n"
                                  "Please select another target device drive.";
} // namespace driveinfo_texts

TDriveInfoController::TDriveInfoController(IDriveInfoView& view, IMessageBoxService& messageBoxes,
                                           TDriveInfoFactory factory)
    : view_(view), messageBoxes_(messageBoxes), factory_(std::move(factory))
{
    if (!factory_)
        factory_ = [](const std::string& path) { return TDriveInfoAccess::CreateDriveInfo(path, true); };
    Initialize();
}

TDriveInfoController::~TDriveInfoController()
{
    view_.OnShow({});
    view_.OnCommand(TDriveInfoControl::dcRefresh, {});
    view_.OnCommand(TDriveInfoControl::dcClose, {});
}

int32_t TDriveInfoController::ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult)
{
    return ResizeBand(x, y, width, height, systemResult);
}

void TDriveInfoController::WireEvents()
{
    view_.OnShow([this] { Fill(); });
    view_.OnCommand(TDriveInfoControl::dcRefresh, [this] { Fill(); });
    view_.OnCommand(TDriveInfoControl::dcClose, [this] { view_.Close(); });
}

void TDriveInfoController::LoadStrings()
{
    view_.SetTitle(driveinfo_texts::kTitle);
    view_.SetText(TDriveInfoControl::dcRefresh, driveinfo_texts::kRefresh);
    view_.SetGlyph(TDriveInfoControl::dcRefresh, driveinfo_texts::kRefreshGlyph);
    view_.SetText(TDriveInfoControl::dcClose, driveinfo_texts::kClose);
    view_.SetColumns({{driveinfo_texts::kColumnParameter, 150, false},
                      {driveinfo_texts::kColumnValue, 180, false},
                      {driveinfo_texts::kColumnDescription, 0, true}});
}

void TDriveInfoController::Fill()
{
    view_.SetRows({});
    std::vector<TDriveInfoRow> rows;
    bool available = false;
    try {
        const std::shared_ptr<IDriveInfo> info = factory_(target_);
        if (!info)
            throw std::runtime_error("no drive information");
        available = info->GetDescriptorValid();
        if (available)
            rows = ReadRows(*info);
    } catch (const std::exception&) {
        Tell(TMsgBoxKind::mkError, driveinfo_texts::kNotSupported);
        view_.Close();
        return;
    }
    if (!available) {
        Tell(TMsgBoxKind::mkInformation, driveinfo_texts::kNotAvailable);
        return;
    }
    view_.SetRows(rows);
}

std::vector<TDriveInfoRow> TDriveInfoController::ReadRows(const IDriveInfo& info)
{
    std::vector<TDriveInfoRow> rows;
    for (const TDriveInfoDetail& detail : kDriveInfoDetails)
        rows.push_back({detail.parameter, (info.*detail.value)(), detail.description});
    // An empty last row closes the list off.
    rows.emplace_back();
    return rows;
}

void TDriveInfoController::Tell(TMsgBoxKind kind, const char* format)
{
    messageBoxes_.Execute(kind, TCycleSetup::FormatText(format, target_), view_.MonitorNumber(),
                          TMsgBoxFocus::mfAccept, msgbox_buttons::kCloseOnly);
}
