#pragma once
// The drive information window as its controller sees it. The Win32 form implements it; tests
// use a fake.
#include "app/uListSupport.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Controls of the window that the controller names.
enum class TDriveInfoControl : uint8_t { dcRefresh, dcClose };

struct TDriveInfoRow {
    std::string parameter;
    std::string value;
    std::string description;
};

class IDriveInfoView {
public:
    virtual ~IDriveInfoView() = default;

    // Run once the window is on screen; an empty handler detaches.
    virtual void OnShow(std::function<void()> handler) = 0;
    virtual void OnCommand(TDriveInfoControl control, std::function<void()> handler) = 0;
    virtual void SetTitle(const std::string& text) = 0;
    virtual void SetText(TDriveInfoControl control, const std::string& text) = 0;
    virtual void SetGlyph(TDriveInfoControl control, const std::string& bitmapName) = 0;
    virtual void SetColumns(const std::vector<TListColumnInfo>& columns) = 0;
    // Replaces every row of the list.
    virtual void SetRows(const std::vector<TDriveInfoRow>& rows) = 0;
    // Ends the modal run.
    virtual void Close() = 0;
    // For the message boxes the window raises.
    virtual int32_t MonitorNumber() = 0;
};
