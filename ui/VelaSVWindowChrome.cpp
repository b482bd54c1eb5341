#include "ui/VelaSVWindowChrome.h"

namespace ui {

TWindowChrome::TWindowChrome(TWindow& window, const TChromeArgs& args)
{
    using namespace chrome;
    const int width = window.DesignWidth();
    const int height = window.DesignHeight();

    titleBar_ = &window.Add<TPanel>(TPanelArgs{{0, 0, width, kTitleHeight}, akLeft | akTop | akRight, kBlack, kNoColour, ""});
    titleBar_->Add<TPanel>(TPanelArgs{{0, kTitleHeight - 2, width, 2}, akLeft | akTop | akRight, kAccent, kNoColour, ""});
    title_ = &titleBar_->Add<TLabel>(TLabelArgs{"", {8, 5, width - 80, 15}, akLeft | akTop | akRight, RGB(255, 255, 255),
                                                kBlack, true});
    auto glyphButton = [&](int fromRight, const char* glyph) {
        return &titleBar_->Add<TFlatButton>(TFlatButtonArgs{"", {width - fromRight, 4, 16, 16}, akTop | akRight,
                                                            RGB(255, 255, 255), kBlack, RGB(0x40, 0x40, 0x40), glyph});
    };
    if (args.minimizeButton)
        minimize_ = glyphButton(58, "if_minimize");
    if (args.maximizeButton)
        maximize_ = glyphButton(39, "if_maximize");
    close_ = glyphButton(20, "if_close");

    const int bottom = args.statusBar ? height - kStatusHeight : height - kFrameWidth;
    window.Add<TPanel>(TPanelArgs{{0, args.contentTop, kFrameWidth, bottom - args.contentTop}, akLeft | akTop | akBottom,
                                  kBlack, kNoColour, ""});
    window.Add<TPanel>(TPanelArgs{{width - kFrameWidth, args.contentTop, kFrameWidth, bottom - args.contentTop},
                                  akTop | akRight | akBottom, kBlack, kNoColour, ""});
    if (!args.statusBar) {
        window.Add<TPanel>(TPanelArgs{{0, height - kFrameWidth, width, kFrameWidth}, akLeft | akRight | akBottom, kBlack,
                                      kNoColour, ""});
        return;
    }
    statusBar_ = &window.Add<TPanel>(TPanelArgs{{0, height - kStatusHeight, width, kStatusHeight},
                                                akLeft | akRight | akBottom, kBlack, kNoColour, ""});
    statusBar_->Add<TPanel>(TPanelArgs{{0, 0, width, 2}, akLeft | akTop | akRight, kAccent, kNoColour, ""});
    progress_ = &statusBar_->Add<TSVProgressBar>(
        TProgressBarArgs{{4, 6, width - 4 - 18, 18}, akLeft | akTop | akRight, 0x0500C4, kBlack, false, false});
    // The status text sits over the bar as its child: 8 from the left and 22 from the right of the bar.
    status_ = &progress_->Add<TLabel>(TLabelArgs{"", {4, 2, width - 30, 14}, akLeft | akTop | akRight,
                                                 RGB(255, 255, 255), kNoColour, false, false, true, true});
    sizeGrip_ = &statusBar_->Add<TImage>(
        TImageArgs{"if_sizegrip", {width - 3 - 11, kStatusHeight - 11 - 3, 11, 11}, akRight | akBottom, kBlack, true});
}

TPane::TPane(TContainer& parent, const TPaneArgs& args)
{
    const TDesignRect& r = args.rect;
    frame_ = &parent.Add<TPanel>(TPanelArgs{r, args.anchors, RGB(255, 255, 255), chrome::kPaneHeader, args.header});
    headerBar_ = &frame_->Add<TPanel>(
        TPanelArgs{{0, 0, r.width, kHeaderHeight}, akLeft | akTop | akRight, chrome::kPaneHeader, kNoColour, ""});
    header_ = &headerBar_->Add<TLabel>(TLabelArgs{args.header, {0, 2, r.width - 48, 14}, akLeft | akTop | akRight,
                                                  RGB(255, 255, 255), chrome::kPaneHeader, true});
}

void TTransparencySupport::Apply(bool enabled, uint8_t alpha)
{
    for (TWindow* window : TWindow::All())
        window->SetTransparency(enabled, alpha);
}

} // namespace ui
