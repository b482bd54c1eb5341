#include "forms/uWindowFactory.h"

#include "forms/uAboutBox.h"
#include "forms/uDriveInfo.h"
#include "forms/uEditList.h"
#include "forms/uFileViewer.h"
#include "forms/uLegend.h"
#include "forms/uMain.h"
#include "forms/uOptions.h"
#include "forms/uReport.h"
#include "forms/uUninstall.h"
#include "platform/PlatformRegistry.h"

#include <stdexcept>

using namespace ui;

std::unique_ptr<IModalWindow> TWin32WindowFactory::Create(TWindowKind kind, TWindowArguments& arguments)
{
    HWND owner = GetActiveWindow();
    if (!owner && main_)
        owner = main_->Window().Handle();
    if (kind == TWindowKind::wkOptions)
        return std::make_unique<TfrmOptions>(owner, arguments.mainController);
    if (kind == TWindowKind::wkReport) {
        auto report = std::make_unique<TfrmReport>(owner);
        report->Controller().SetScanReport(arguments.scanReport);
        report->Controller().SetCleanReport(arguments.cleanReport);
        report->Controller().SetReportKind(arguments.reportKind);
        return report;
    }
    if (kind == TWindowKind::wkEditList)
        return std::make_unique<TfrmEditList>(arguments, owner);
    if (kind == TWindowKind::wkLegend)
        return std::make_unique<TfrmLegend>(owner);
    if (kind == TWindowKind::wkAbout)
        return std::make_unique<TfrmAboutBox>(owner);
    if (kind == TWindowKind::wkDriveInfo) {
        auto driveInfo = std::make_unique<TfrmDriveInfo>(owner);
        driveInfo->Controller().SetTarget(arguments.driveRoot);
        return driveInfo;
    }
    if (kind == TWindowKind::wkUninstall)
        return std::make_unique<TfrmUninstall>(owner, platform::SystemRegistry());
    if (kind == TWindowKind::wkFileViewer)
        return std::make_unique<TfrmFileViewer>(arguments, owner);
    throw std::logic_error("the main window is not created here");
}

void TWin32WindowFactory::BringWindowsToFront()
{
    for (TWindow* window : TWindow::All())
        if (!main_ || window != &main_->Window())
            BringWindowToTop(window->Handle());
}

void TWin32WindowFactory::CreateMainWindow()
{
    if (main_)
        throw std::logic_error("the main window exists already");
    main_ = std::make_shared<TfrmMain>();
}
