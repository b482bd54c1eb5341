#include "forms/uWindowFactory.h"

#include "forms/uDialogWindow.h"
#include "forms/uEditList.h"
#include "forms/uFileViewer.h"
#include "forms/uMain.h"
#include "forms/uOptions.h"
#include "forms/uReport.h"
#include "ui/VelaSVWindowChrome.h"

#include <stdexcept>

using namespace ui;

namespace {
// A window kind whose own form is still to come: the frame, its title and a Close button.
class TPlaceholderWindow : public forms::TDialogWindow {
public:
    TPlaceholderWindow(const std::string& title, HWND owner)
        : TDialogWindow(forms::TDialogWindowArgs{title, 360, 120, 0, 0, false, owner})
    {
        Window().Add<TLabel>(TLabelArgs{"This window is not available in this version.", {16, 40, 328, 16}});
        TButton& close = Window().Add<TButton>(TButtonArgs{"Close", {263, 80, 81, 25}, akRight | akBottom, true});
        close.onClick = [this] { CloseWith(kResultCancel); };
    }
};

const char* TitleOf(TWindowKind kind)
{
    switch (kind) {
    case TWindowKind::wkAbout: return "About Quillsweep";
    case TWindowKind::wkDriveInfo: return "Drive Information";
    case TWindowKind::wkFileViewer: return "File Viewer";
    case TWindowKind::wkLegend: return "Legend";
    case TWindowKind::wkOptions: return "Options";
    case TWindowKind::wkUninstall: return "Uninstall Applications";
    default: return "Quillsweep";
    }
}
} // namespace

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
    if (kind == TWindowKind::wkFileViewer)
        return std::make_unique<TfrmFileViewer>(arguments, owner);
    return std::make_unique<TPlaceholderWindow>(TitleOf(kind), owner);
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
