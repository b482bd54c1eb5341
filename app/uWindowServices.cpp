#include "app/uWindowServices.h"

#include "prefs/uPreferences.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

bool TGuid::operator==(const TGuid& other) const
{
    return data1 == other.data1 && data2 == other.data2 && data3 == other.data3 &&
           std::memcmp(data4, other.data4, sizeof data4) == 0;
}

const TGuid& WindowKindGuid(TWindowKind kind)
{
    switch (kind) {
    case TWindowKind::wkMain:
        return window_guids::kMain;
    case TWindowKind::wkAbout:
        return window_guids::kAbout;
    case TWindowKind::wkDriveInfo:
        return window_guids::kDriveInfo;
    case TWindowKind::wkEditList:
        return window_guids::kEditList;
    case TWindowKind::wkFileViewer:
        return window_guids::kFileViewer;
    case TWindowKind::wkLegend:
        return window_guids::kLegend;
    case TWindowKind::wkOptions:
        return window_guids::kOptions;
    case TWindowKind::wkReport:
        return window_guids::kReport;
    case TWindowKind::wkUninstall:
        return window_guids::kUninstall;
    }
    throw std::invalid_argument("unknown window kind");
}

// ---------------------------------------------------------------------------------------------
// TWindowRegistry

TWindowRegistry::TWindowRegistry() : items_(new TGuid[kGrowth]), capacity_(kGrowth) {}

bool TWindowRegistry::TryRegister(const TGuid& guid)
{
    if (IsRegistered(guid))
        return false;
    if (count_ == capacity_) {
        std::unique_ptr<TGuid[]> grown(new TGuid[capacity_ + kGrowth]);
        std::copy(items_.get(), items_.get() + count_, grown.get());
        items_ = std::move(grown);
        capacity_ += kGrowth;
    }
    items_[count_++] = guid;
    return true;
}

bool TWindowRegistry::Unregister(const TGuid& guid)
{
    TGuid* const begin = items_.get();
    TGuid* const end = begin + count_;
    TGuid* const found = std::find(begin, end, guid);
    if (found == end)
        return false;
    std::copy(found + 1, end, found);
    --count_;
    return true;
}

bool TWindowRegistry::IsRegistered(const TGuid& guid) const
{
    return std::find(items_.get(), items_.get() + count_, guid) != items_.get() + count_;
}

const TGuid& TWindowRegistry::At(uint32_t index) const
{
    if (index >= count_)
        throw std::out_of_range("window registry index");
    return items_[index];
}

// ---------------------------------------------------------------------------------------------
// TWindowServices

TWindowServices::TWindowServices(std::shared_ptr<IWindowFactory> factory, TTransparencySource transparency)
    : factory_(std::move(factory)), transparency_(std::move(transparency))
{
    if (!factory_)
        throw std::invalid_argument("window services need a factory");
    if (!transparency_)
        transparency_ = [] { return Preferences().AllowWindowTransparency; };
}

bool TWindowServices::CreateMainWindow()
{
    const TGuid& guid = WindowKindGuid(TWindowKind::wkMain);
    if (!registry_.TryRegister(guid))
        return false;
    try {
        factory_->CreateMainWindow();
    } catch (...) {
        registry_.Unregister(guid);
        throw;
    }
    return true;
}

void TWindowServices::BringWindowsToFront() { factory_->BringWindowsToFront(); }

int32_t TWindowServices::Show(TWindowKind kind, TWindowArguments& arguments)
{
    const TGuid& guid = WindowKindGuid(kind);
    if (!registry_.TryRegister(guid))
        return 0;
    // Declared after the registration: released before the identifier is unregistered.
    struct TUnregister {
        TWindowRegistry& registry;
        const TGuid& guid;
        ~TUnregister() { registry.Unregister(guid); }
    } unregister{registry_, guid};
    std::unique_ptr<IModalWindow> window = factory_->Create(kind, arguments);
    if (!window)
        throw std::logic_error("the window factory created no window");
    window->SetTransparency(transparency_(), kWindowAlpha);
    const int32_t result = window->ShowModal();
    window.reset();
    return result;
}

int32_t TWindowServices::ShowAbout()
{
    TWindowArguments arguments;
    return Show(TWindowKind::wkAbout, arguments);
}

int32_t TWindowServices::ShowDriveInfo(const std::string& driveRoot)
{
    TWindowArguments arguments;
    arguments.driveRoot = driveRoot;
    return Show(TWindowKind::wkDriveInfo, arguments);
}

int32_t TWindowServices::ShowEditList(const std::string& listName, std::string& listText, bool directoryMode,
                                      bool& changed)
{
    changed = false;
    TWindowArguments arguments;
    arguments.listName = listName;
    arguments.listText = listText;
    arguments.directoryMode = directoryMode;
    const int32_t result = Show(TWindowKind::wkEditList, arguments);
    changed = arguments.changed;
    if (changed)
        listText = std::move(arguments.listText);
    return result;
}

int32_t TWindowServices::ShowFileViewer(const std::string& path, int32_t viewMode)
{
    TWindowArguments arguments;
    arguments.path = path;
    arguments.viewMode = viewMode;
    return Show(TWindowKind::wkFileViewer, arguments);
}

int32_t TWindowServices::ShowLegend()
{
    TWindowArguments arguments;
    return Show(TWindowKind::wkLegend, arguments);
}

int32_t TWindowServices::ShowOptions(IMainController& mainController)
{
    TWindowArguments arguments;
    arguments.mainController = &mainController;
    return Show(TWindowKind::wkOptions, arguments);
}

int32_t TWindowServices::ShowReport(std::shared_ptr<IScanReport> scanReport, std::shared_ptr<ICleanReport> cleanReport,
                                    TReportKind kind)
{
    TWindowArguments arguments;
    arguments.scanReport = std::move(scanReport);
    arguments.cleanReport = std::move(cleanReport);
    arguments.reportKind = kind;
    return Show(TWindowKind::wkReport, arguments);
}

int32_t TWindowServices::ShowUninstall()
{
    TWindowArguments arguments;
    return Show(TWindowKind::wkUninstall, arguments);
}

// ---------------------------------------------------------------------------------------------

namespace {
std::shared_ptr<IWindowServices> processWindowServices;
}

IWindowServices& WindowServices()
{
    if (!processWindowServices)
        throw std::logic_error("window services used before start-up");
    return *processWindowServices;
}

void InstallWindowServices(std::shared_ptr<IWindowServices> services) { processWindowServices = std::move(services); }
