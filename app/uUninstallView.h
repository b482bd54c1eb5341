#pragma once
// The uninstall window as its controller sees it: a toolbar, the list of applications (virtual:
// the controller supplies every cell) and a Close button. The Win32 form implements it; tests
// use a fake.
#include "app/uControllerInterfaces.h"
#include "app/uListSupport.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum TUninstallColumn : int32_t { ucName = 0, ucPublisher = 1, ucSize = 2, ucVersion = 3 };
constexpr int32_t kUninstallColumnCount = 4;

enum class TUninstallButton : uint8_t { ubRefresh, ubUninstall, ubClose };

// The list's cells, asked while the view paints, and the user's actions.
struct TUninstallViewEvents {
    // A row index out of range gives an empty cell and no image.
    std::function<std::string(int32_t row, int32_t column)> onCellText;
    // The index of the row's icon in the list SetRowIcons gave.
    std::function<int32_t(int32_t row)> onRowImage;
    std::function<void(int32_t column)> onHeaderClicked;
    std::function<void()> onSelectionChanged;
    // The window has just been shown for the first time.
    std::function<void()> onFirstShow;
};

class IUninstallView : public IRowSelection {
public:
    virtual TUninstallViewEvents& Events() = 0;
    // Connects Refresh's or Uninstall's click; Close ends the window by itself.
    virtual void OnCommand(TUninstallButton button, std::function<void()> handler) = 0;
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
