#pragma once
// The process-wide registry and opener of windows. Portable: the Win32 side supplies the
// factory that creates forms with their controllers; tests supply a fake.
#include "app/uControllerInterfaces.h"
#include "app/uControllerTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// A 16-byte identifier, laid out as a Windows GUID.
struct TGuid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};
    bool operator==(const TGuid& other) const;
    bool operator!=(const TGuid& other) const { return !(*this == other); }
};
static_assert(sizeof(TGuid) == 16, "TGuid is 16 bytes");

// One fixed identifier per window kind.
namespace window_guids {
constexpr TGuid kMain{0x0fad2032, 0xbd5e, 0x4299, {0xbc, 0xb3, 0x68, 0x26, 0x5e, 0x2b, 0xa3, 0x74}};
constexpr TGuid kAbout{0x42f2ffe7, 0xffd2, 0x4674, {0xa3, 0xe1, 0x2c, 0x05, 0x84, 0xaa, 0x82, 0x3d}};
constexpr TGuid kDriveInfo{0xfc0756ef, 0x624d, 0x4a95, {0xaf, 0xcd, 0xc9, 0xf5, 0x09, 0x4f, 0xac, 0xc9}};
constexpr TGuid kEditList{0x704cc079, 0x3806, 0x4d51, {0x9c, 0x9f, 0xf9, 0xf6, 0x6a, 0xf5, 0x8a, 0x3e}};
constexpr TGuid kFileViewer{0x7f7af0e6, 0xcf0c, 0x46a6, {0xbf, 0x86, 0xec, 0x96, 0xb3, 0x7b, 0x93, 0x4d}};
constexpr TGuid kLegend{0xe7b1b447, 0x9c82, 0x4576, {0xb2, 0xa9, 0x8c, 0xe1, 0x2c, 0xfa, 0xb9, 0xb8}};
constexpr TGuid kOptions{0xe19da7f0, 0xf7f2, 0x41db, {0xbb, 0x5e, 0xbc, 0xcb, 0x9b, 0x8f, 0x9b, 0xfc}};
constexpr TGuid kReport{0xf98647e0, 0xf519, 0x426e, {0xb3, 0x6b, 0x9b, 0xc5, 0x29, 0x03, 0xb7, 0x8b}};
constexpr TGuid kUninstall{0x6829f0c6, 0x3fbe, 0x45bd, {0x8a, 0x74, 0x8a, 0xe4, 0x5b, 0xb9, 0xb4, 0x77}};
} // namespace window_guids

const TGuid& WindowKindGuid(TWindowKind kind);

// Identifiers of the open windows: a growable array (capacity 8, grown by 8 whenever full).
// Used from the UI thread only.
class TWindowRegistry {
public:
    static constexpr uint32_t kGrowth = 8;

    TWindowRegistry();
    TWindowRegistry(const TWindowRegistry&) = delete;
    TWindowRegistry& operator=(const TWindowRegistry&) = delete;

    // False when the identifier is already registered.
    bool TryRegister(const TGuid& guid);
    // Removes the identifier and closes the gap (later entries move down one, order kept);
    // false when it was not registered.
    bool Unregister(const TGuid& guid);
    bool IsRegistered(const TGuid& guid) const;
    uint32_t Count() const { return count_; }
    uint32_t Capacity() const { return capacity_; }
    // The index-th registered identifier (registration order), index < Count().
    const TGuid& At(uint32_t index) const;

private:
    std::unique_ptr<TGuid[]> items_;
    uint32_t capacity_ = 0;
    uint32_t count_ = 0;
};

class IMainController;

// What a Show operation hands to the created window's controller, and what the controller hands
// back. Only the fields of the window's own kind are meaningful; the object outlives the window.
struct TWindowArguments {
    // Drive info.
    std::string driveRoot;
    // Edit list: listText is the text in, and the edited text out when changed is set.
    std::string listName;
    std::string listText;
    bool directoryMode = false;
    bool changed = false;
    // File viewer.
    std::string path;
    int32_t viewMode = 0;
    // Options.
    IMainController* mainController = nullptr;
    // Report.
    std::shared_ptr<IScanReport> scanReport;
    std::shared_ptr<ICleanReport> cleanReport;
    TReportKind reportKind = rkScan;
};

// Creates the windows (the Win32 forms with their controllers; a fake in tests).
class IWindowFactory {
public:
    virtual ~IWindowFactory() = default;
    // A secondary window of kind (never wkMain) with its controller. arguments stays valid until
    // the returned window is released: the controller reads its inputs from it (at creation or
    // when shown) and writes its results (edit list: changed, listText) before ShowModal returns.
    // Never returns null (throws instead).
    virtual std::unique_ptr<IModalWindow> Create(TWindowKind kind, TWindowArguments& arguments) = 0;
    // Brings the program's open windows to the foreground.
    virtual void BringWindowsToFront() = 0;
    // Creates the main window (it lives for the whole run; the factory or the application owns it).
    virtual void CreateMainWindow() = 0;
};

// The opener. Every Show: register the kind's identifier (already registered: return 0, nothing
// created); create the window; set its transparency (AllowWindowTransparency, alpha 240); hand
// it the arguments; show it modally; always release the window and unregister (also when any
// step throws, the exception then passes on).
class TWindowServices : public IWindowServices {
public:
    static constexpr uint8_t kWindowAlpha = 240;
    // Whether windows are made see-through; by default Preferences().AllowWindowTransparency,
    // read at every Show.
    using TTransparencySource = std::function<bool()>;

    explicit TWindowServices(std::shared_ptr<IWindowFactory> factory, TTransparencySource transparency = {});

    // Registers the main kind (it stays registered for the whole run) and asks the factory for
    // the main window. False, nothing created, when the main window already exists. When the
    // factory throws, the kind is unregistered and the exception passes on.
    bool CreateMainWindow();

    void BringWindowsToFront() override;
    int32_t ShowAbout() override;
    int32_t ShowDriveInfo(const std::string& driveRoot) override;
    // changed is false unless the window reports a change; listText is replaced only then (the
    // editor hands back no text when it was cancelled, so the caller keeps its own).
    int32_t ShowEditList(const std::string& listName, std::string& listText, bool directoryMode,
                         bool& changed) override;
    int32_t ShowFileViewer(const std::string& path, int32_t viewMode) override;
    int32_t ShowLegend() override;
    int32_t ShowOptions(IMainController& mainController) override;
    int32_t ShowReport(std::shared_ptr<IScanReport> scanReport, std::shared_ptr<ICleanReport> cleanReport,
                       TReportKind kind) override;
    int32_t ShowUninstall() override;

    const TWindowRegistry& Registry() const { return registry_; }

private:
    int32_t Show(TWindowKind kind, TWindowArguments& arguments);

    std::shared_ptr<IWindowFactory> factory_;
    TTransparencySource transparency_;
    TWindowRegistry registry_;
};

// The process-wide window services; throws std::logic_error when none is installed. The program
// entry installs a TWindowServices over the Win32 factory (keeping its own pointer to call
// CreateMainWindow); tests may install a fake. Installing null removes it.
IWindowServices& WindowServices();
void InstallWindowServices(std::shared_ptr<IWindowServices> services);
