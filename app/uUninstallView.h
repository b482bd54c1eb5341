#pragma once
// The uninstall window as its controller sees it: a toolbar, the list of applications (virtual:
// the controller supplies every cell) and a Close button. The Win32 form implements it; tests
// use a fake.
#include "app/uControllerInterfaces.h"
#include "app/uListSupport.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum TUninstallColumn : int32_t { ucName = 0, ucPublisher = 1, ucSize = 2, ucVersion = 3 };
constexpr int32_t kUninstallColumnCount = 4;

enum class TUninstallButton : uint8_t { ubRefresh, ubUninstall, ubClose };

// Implemented by the controller: the list's cells while the view paints, and the user's actions.
class IUninstallViewClient {
public:
    virtual ~IUninstallViewClient() = default;
    // A row index out of range gives an empty cell and no image.
    virtual std::string CellText(int32_t row, int32_t column) = 0;
    // The index of the row's icon in the list SetRowIcons gave.
    virtual int32_t RowImage(int32_t row) = 0;
    virtual void HeaderClicked(int32_t column) = 0;
    virtual void SelectionChanged() = 0;
    virtual void RefreshClicked() = 0;
    virtual void UninstallClicked() = 0;
    // The window has just been shown for the first time.
    virtual void Shown() = 0;
};

class IUninstallView : public IRowSelection {
public:
    // nullptr detaches (the controller is going).
    virtual void SetClient(IUninstallViewClient* client) = 0;
    virtual void SetTitle(const std::string& text) = 0;
    // glyph "" for none.
    virtual void SetButton(TUninstallButton button, const std::string& caption, const std::string& glyph) = 0;
    virtual void SetButtonEnabled(TUninstallButton button, bool enabled) = 0;
    virtual void SetColumns(const std::vector<TListColumnInfo>& columns) = 0;
    virtual void SetSortImages(const std::string& sortUp, const std::string& sortDown) = 0;
    // The rows' images in order: the small icon of each file, the named bitmap fallback for an
    // empty path or a file without one.
    virtual void SetRowIcons(const std::vector<std::string>& iconFiles, const std::string& fallback) = 0;
    virtual void SetRowCount(int32_t count) = 0;
    virtual void RedrawAll() = 0;
    virtual void SetSortImage(int32_t column, TSortImage image) = 0;
    // The "Computing..." popup over this window, not shown yet.
    virtual std::shared_ptr<IComputingWindow> CreateComputingWindow() = 0;
    // For the message boxes the window raises.
    virtual int32_t MonitorNumber() = 0;
};
