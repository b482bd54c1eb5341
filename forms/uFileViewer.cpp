#include "forms/uFileViewer.h"

#include "app/uControllerServices.h"
#include "app/uFileViewerController.h"
#include "ui/VelaSVRuntime.h"

using namespace ui;

namespace {
// Room for an 80-character line of the binary rendering and a scroll bar at 100 %.
constexpr int kDesignWidth = 640;
constexpr int kDesignHeight = 440;
constexpr int kMinimumWidth = 320;
constexpr int kMinimumHeight = 200;
} // namespace

TfrmFileViewer::TfrmFileViewer(const TWindowArguments& arguments, HWND owner)
    : TDialogWindow(forms::TDialogWindowArgs{.clientWidth = kDesignWidth,
                                             .clientHeight = kDesignHeight,
                                             .minimumWidth = kMinimumWidth,
                                             .minimumHeight = kMinimumHeight,
                                             .owner = owner})
{
    const int width = kDesignWidth - 2 * chrome::kFrameWidth;
    const int height = kDesignHeight - chrome::kTitleHeight - chrome::kFrameWidth;
    memFileViewer_ = &Window().Add<TTextView>(
        TTextViewArgs{.rect = {chrome::kFrameWidth, chrome::kTitleHeight, width, height}, .anchors = kAnchorAll});
    // The renderings are laid out in columns: they line up only in a fixed-pitch font.
    memFileViewer_->SetFont(TFontSpec{.points = 9, .face = L"Courier New", .fixedPitch = true});
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

void TfrmFileViewer::Close()
{
    closeRequested_ = true;
    if (showing_)
        CloseWith(kResultCancel);
}

int32_t TfrmFileViewer::MonitorNumber() { return TSVRuntime::MonitorOf(Window().Handle()); }
