#include "forms/uFileViewer.h"

#include "app/uControllerServices.h"
#include "app/uFileViewerController.h"
#include "platform/win32/Win32Text.h"
#include "ui/VelaSVRuntime.h"

#include <new>

using namespace ui;

namespace {
// Room for an 80-character line of the binary rendering and a scroll bar at 100 %.
constexpr int kDesignWidth = 640;
constexpr int kDesignHeight = 440;
constexpr int kMinimumWidth = 320;
constexpr int kMinimumHeight = 200;
} // namespace

TfrmFileViewer::TfrmFileViewer(const TWindowArguments& arguments, HWND owner)
    : TDialogWindow(forms::TDialogWindowArgs{"", kDesignWidth, kDesignHeight, kMinimumWidth, kMinimumHeight, true, owner})
{
    const int width = kDesignWidth - 2 * chrome::kFrameWidth;
    const int height = kDesignHeight - chrome::kTitleHeight - chrome::kFrameWidth;
    TEditArgs args{"", {chrome::kFrameWidth, chrome::kTitleHeight, width, height}, kAnchorAll};
    args.multiLine = true;
    args.readOnly = true;
    args.border = false;
    args.horizontalScroll = true;
    memFileViewer_ = &Window().Add<TEdit>(args);
    // The renderings are laid out in columns: they line up only in a fixed-pitch font.
    memFileViewer_->SetFont(TFontSpec{9, false, L"Courier New", true});
    // Typed text is limited to 32,767 characters unless told otherwise; a file's text is longer.
    SendMessageW(memFileViewer_->Handle(), EM_SETLIMITTEXT, 0, 0);
    Window().LayoutChildren();
    // The keys scroll the text from the start, as in any viewer.
    Window().onFirstShow = [this] { memFileViewer_->SetFocus(); };

    controller_ = TControllerServices::CreateFileViewerController(*this, messageBoxes_);
    controller_->Open(arguments);
}

TfrmFileViewer::~TfrmFileViewer() { controller_.reset(); }

IFileViewerController& TfrmFileViewer::Controller() { return *controller_; }

int32_t TfrmFileViewer::ShowModal()
{
    if (closeRequested_)
        return kResultCancel;
    showing_ = true;
    return TDialogWindow::ShowModal();
}

void TfrmFileViewer::SetContent(const std::string& text)
{
    const std::wstring wide = platform::Widen(text);
    // One step: the control lays its lines out once, however many there are.
    if (!SetWindowTextW(memFileViewer_->Handle(), wide.c_str()))
        throw std::bad_alloc();
}

void TfrmFileViewer::Close()
{
    closeRequested_ = true;
    if (showing_)
        CloseWith(kResultCancel);
}

int32_t TfrmFileViewer::MonitorNumber() { return TSVRuntime::MonitorOf(Window().Handle()); }
