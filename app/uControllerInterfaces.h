#pragma once
// What controllers offer their windows and what they need from them. Portable: the Win32
// forms implement the view side, tests implement it with fakes.
#include "app/uControllerTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class IResizableWindow {
public:
    virtual ~IResizableWindow() = default;
    // x, y: cursor in window coordinates; width, height: the window's size; systemResult: the
    // default non-client hit test. Returns the hit test that stands.
    virtual int32_t ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult) = 0;
};

class IDynamicStringtable : public IResizableWindow {
public:
    virtual void LoadStrings() = 0;
};

class IDynamicTitleWindow : public IDynamicStringtable {
public:
    virtual void SetTitle(const std::string& text) = 0;
};

// The list editor: one ';'-separated list of items edited as rows.
class IEditListController : public IDynamicTitleWindow {
public:
    // The rows top to bottom, joined with ';'.
    virtual std::string GetItems() = 0;
    // Whether GetItems differs (letter case counts) from the items SetItems was given.
    virtual bool IsChanged() = 0;
    virtual std::string GetInitialItems() = 0;
    // Splits the text at ';', keeps the pieces as the initial items and shows one row each.
    virtual void SetItems(const std::string& text) = 0;
    // false: the items are files; true: directories.
    virtual void SetDirectoryMode(bool directoryMode) = 0;
};

// The file viewer: one file shown as hexadecimal, binary or text (modes 0, 1, 2).
class IFileViewerController : public IDynamicTitleWindow {
public:
    // Reads and shows the file; a missing file shows nothing, an unreadable one is reported and
    // the window closes.
    virtual void LoadFile(const std::string& path, int32_t mode) = 0;
    // "" for an unknown mode.
    virtual void GetModeName(int32_t mode, std::string& name) = 0;
};

// Every window that can be made see-through (all forms).
class ITransparentWindow {
public:
    virtual ~ITransparentWindow() = default;
    virtual void SetTransparency(bool enabled, uint8_t alpha) = 0;
};

// A secondary window as the window services see it: created with its controller, shown
// modally, released when ShowModal returns.
class IModalWindow : public ITransparentWindow {
public:
    virtual int32_t ShowModal() = 0;
};

class IMainController;
class IScanReport;
class ICleanReport;

// Registry and opener of windows (one process-wide object). Every Show returns the window's
// modal result, or 0 when a window of that kind is already open.
class IWindowServices {
public:
    virtual ~IWindowServices() = default;
    virtual void BringWindowsToFront() = 0;
    virtual int32_t ShowAbout() = 0;
    virtual int32_t ShowDriveInfo(const std::string& driveRoot) = 0;
    virtual int32_t ShowEditList(const std::string& listName, std::string& listText, bool directoryMode,
                                 bool& changed) = 0;
    virtual int32_t ShowFileViewer(const std::string& path, int32_t viewMode) = 0;
    virtual int32_t ShowLegend() = 0;
    virtual int32_t ShowOptions(IMainController& mainController) = 0;
    // The report of kind; the other may be null.
    virtual int32_t ShowReport(std::shared_ptr<IScanReport> scanReport, std::shared_ptr<ICleanReport> cleanReport,
                               TReportKind kind) = 0;
    virtual int32_t ShowUninstall() = 0;
};

class IMainController : public IDynamicStringtable {
public:
    virtual void UpdateTrayTip() = 0;
    virtual void SetFileSystemIcons(bool enabled) = 0;
    virtual void PreviewQuotaMode(bool largestCapacity) = 0;
    virtual void ApplyFeatureVisibility() = 0;
    virtual void PreviewMinimizeToTray(bool enabled) = 0;
    virtual void ApplyCustomMasks() = 0;
    virtual void RepaintOptions() = 0;
};

// The options window's controller; the window services hand it the main controller, whose
// settings it previews and applies, before the window shows.
class IOptionsController : public IDynamicStringtable {
public:
    virtual void SetMainController(IMainController& mainController) = 0;
};

// The report window's controller; the window services hand it the reports before it shows.
class IReportController : public IDynamicStringtable {
public:
    // Each keeps the reference (replacing a different one).
    virtual void SetScanReport(std::shared_ptr<IScanReport> report) = 0;
    virtual void SetCleanReport(std::shared_ptr<ICleanReport> report) = 0;
    virtual void SetReportKind(TReportKind kind) = 0;
};

// The legend of the safety classes and the about box; all they do is show texts.
class ILegendController : public IDynamicStringtable {};
class IAboutBoxController : public IDynamicStringtable {};
class IDriveInfo;

// Makes the drive-information object for a path (the device layer's own unless a test fakes it).
using TDriveInfoFactory = std::function<std::shared_ptr<IDriveInfo>(const std::string& path)>;

// The drive information window's controller; the window services hand it the target before it
// shows.
class IDriveInfoController : public IDynamicStringtable {
public:
    virtual void SetTarget(const std::string& path) = 0;
};

// The uninstall window's controller: everything it does starts from the window itself.
class IUninstallController : public IDynamicStringtable {
};
