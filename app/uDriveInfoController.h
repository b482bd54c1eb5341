#pragma once
// The drive information window: the details of the drive behind one target, one row each, read
// again on Refresh.
#include "app/uControllerInterfaces.h"
#include "app/uDriveInfoView.h"
#include "app/uWindowController.h"

#include <string>
#include <vector>

namespace driveinfo_texts {
extern const char* const kTitle;
extern const char* const kRefresh;
extern const char* const kRefreshGlyph;
extern const char* const kClose;
extern const char* const kColumnParameter;
extern const char* const kColumnValue;
extern const char* const kColumnDescription;
extern const char* const kNotAvailable; // %s = the target
extern const char* const kNotSupported; // %s = the target
} // namespace driveinfo_texts

class TDriveInfoController : public TWindowController, public IDriveInfoController {
public:
    // An empty factory reads the real drive (serial numbers trimmed).
    TDriveInfoController(IDriveInfoView& view, IMessageBoxService& messageBoxes, TDriveInfoFactory factory = {});
    ~TDriveInfoController() override;
    TDriveInfoController(const TDriveInfoController&) = delete;
    TDriveInfoController& operator=(const TDriveInfoController&) = delete;

    // IDriveInfoController
    int32_t ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult) override;
    void LoadStrings() override;
    void SetTarget(const std::string& path) override { target_ = path; }

    const std::string& Target() const { return target_; }
    // Empties the list and fills it from the target's drive: when the window shows and on Refresh.
    // A drive without a readable descriptor gives a notice and an empty list; a failing query
    // an error, and the window closes.
    void Fill();

protected:
    void WireEvents() override;
    void LoadImages() override {}

private:
    // All rows, read before any is shown, so a failing query shows none.
    static std::vector<TDriveInfoRow> ReadRows(const IDriveInfo& info);
    void Tell(TMsgBoxKind kind, const char* format);

    IDriveInfoView& view_;
    IMessageBoxService& messageBoxes_;
    TDriveInfoFactory factory_;
    std::string target_;
};
