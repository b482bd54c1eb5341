#include "forms/uWindowFactory.h"

#include "forms/uMain.h"
#include "ui/VelaSVWindowChrome.h"

#include <stdexcept>

using namespace ui;

namespace {
// A window kind whose own form is still to come: the chrome, its title and a Close button.
class TPlaceholderWindow : public IModalWindow {
public:
    TPlaceholderWindow(const std::string& title, HWND owner)
    {
        TWindowArgs args;
        args.title = title;
        args.clientWidth = 360;
        args.clientHeight = 120;
        args.owner = owner;
        args.appWindow = false;
        window_ = std::make_unique<TWindow>(args);
        chrome_ = std::make_unique<TWindowChrome>(*window_, TChromeArgs{});
        chrome_->Title().SetText(title);
        chrome_->CloseButton().SetText("Close");
        chrome_->CloseButton().SetHint("Close");
        chrome_->CloseButton().onClick = [this] { window_->Close(); };
        chrome_->Title().onMouseDown = [this] {
            ReleaseCapture();
            SendMessageW(window_->Handle(), WM_SYSCOMMAND, 0xF012, 0);
        };
        window_->Add<TLabel>(TLabelArgs{"This window is not available in this version.", {16, 40, 328, 16}});
        TButton& close = window_->Add<TButton>(TButtonArgs{"Close", {263, 80, 81, 25}, akRight | akBottom, true});
        close.onClick = [this] { window_->Close(); };
        window_->onKeyDown = [this](UINT key) {
            if (key != VK_ESCAPE)
                return false;
            window_->Close();
            return true;
        };
        CentreOn(owner);
    }
    void SetTransparency(bool enabled, uint8_t alpha) override { window_->SetTransparency(enabled, alpha); }
    int32_t ShowModal() override { return window_->ShowModal(); }

private:
    void CentreOn(HWND owner)
    {
        RECT area{};
        if (!owner || !GetWindowRect(owner, &area))
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        RECT own{};
        GetWindowRect(window_->Handle(), &own);
        const int width = own.right - own.left;
        const int height = own.bottom - own.top;
        SetWindowPos(window_->Handle(), nullptr, area.left + (area.right - area.left - width) / 2,
                     area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    std::unique_ptr<TWindow> window_;
    std::unique_ptr<TWindowChrome> chrome_;
};

const char* TitleOf(TWindowKind kind)
{
    switch (kind) {
    case TWindowKind::wkAbout: return "About Quillsweep";
    case TWindowKind::wkDriveInfo: return "Drive Information";
    case TWindowKind::wkEditList: return "Editor";
    case TWindowKind::wkFileViewer: return "File Viewer";
    case TWindowKind::wkLegend: return "Legend";
    case TWindowKind::wkOptions: return "Options";
    case TWindowKind::wkReport: return "Report";
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
    std::string title = TitleOf(kind);
    if (kind == TWindowKind::wkEditList)
        title = arguments.listName + " Editor";
    return std::make_unique<TPlaceholderWindow>(title, owner);
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
