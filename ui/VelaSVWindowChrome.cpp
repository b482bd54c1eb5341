#include "ui/VelaSVWindowChrome.h"

namespace ui {

TWindowChrome::TWindowChrome(TWindow& window, const TChromeArgs& args)
{
    using namespace chrome;
    const int width = window.DesignWidth();
    const int height = window.DesignHeight();

    // The frame vanishes into the black bar, but in high contrast it closes the window's outline
    // around the title, which would otherwise run into whatever lies behind.
    titleBar_ = &window.Add<TPanel>(TPanelArgs{.rect = {0, 0, width, kTitleHeight},
                                               .anchors = akLeft | akTop | akRight,
                                               .backColour = kBlack,
                                               .frameColour = kBlack});
    titleBar_->Add<TPanel>(TPanelArgs{
        .rect = {0, kTitleHeight - 2, width, 2}, .anchors = akLeft | akTop | akRight, .backColour = kAccent, .edge = true});
    title_ = &titleBar_->Add<TLabel>(TLabelArgs{.rect = {8, 5, width - 80, 15},
                                                .anchors = akLeft | akTop | akRight,
                                                .textColour = RGB(255, 255, 255),
                                                .backColour = kBlack,
                                                .bold = true});
    auto glyphButton = [&](int fromRight, const char* glyph) {
        return &titleBar_->Add<TFlatButton>(TFlatButtonArgs{
            .rect = {width - fromRight, 4, 16, 16}, .anchors = akTop | akRight, .backColour = kBlack, .glyph = glyph});
    };
    if (args.minimizeButton)
        minimize_ = glyphButton(58, "if_minimize");
    if (args.maximizeButton)
        maximize_ = glyphButton(39, "if_maximize");
    close_ = glyphButton(20, "if_close");

    const int bottom = args.statusBar ? height - kStatusHeight : height - kFrameWidth;
    window.Add<TPanel>(TPanelArgs{.rect = {0, args.contentTop, kFrameWidth, bottom - args.contentTop},
                                  .anchors = akLeft | akTop | akBottom,
                                  .backColour = kBlack,
                                  .edge = true});
    window.Add<TPanel>(TPanelArgs{.rect = {width - kFrameWidth, args.contentTop, kFrameWidth, bottom - args.contentTop},
                                  .anchors = akTop | akRight | akBottom,
                                  .backColour = kBlack,
                                  .edge = true});
    if (!args.statusBar) {
        window.Add<TPanel>(TPanelArgs{.rect = {0, height - kFrameWidth, width, kFrameWidth},
                                      .anchors = akLeft | akRight | akBottom,
                                      .backColour = kBlack,
                                      .edge = true});
        return;
    }
    statusBar_ = &window.Add<TPanel>(TPanelArgs{.rect = {0, height - kStatusHeight, width, kStatusHeight},
                                                .anchors = akLeft | akRight | akBottom,
                                                .backColour = kBlack});
    statusBar_->Add<TPanel>(
        TPanelArgs{.rect = {0, 0, width, 2}, .anchors = akLeft | akTop | akRight, .backColour = kAccent, .edge = true});
    progress_ = &statusBar_->Add<TSVProgressBar>(TProgressBarArgs{.rect = {4, 6, width - 4 - 18, 18},
                                                                  .anchors = akLeft | akTop | akRight,
                                                                  .foreground = 0x0500C4,
                                                                  .background = kBlack,
                                                                  .border = false,
                                                                  .displayText = false});
    // The status text sits over the bar as its child: 8 from the left and 22 from the right of the bar.
    status_ = &progress_->Add<TLabel>(TLabelArgs{.rect = {4, 2, width - 30, 14},
                                                 .anchors = akLeft | akTop | akRight,
                                                 .textColour = RGB(255, 255, 255),
                                                 .endEllipsis = true,
                                                 .transparent = true});
    sizeGrip_ = &statusBar_->Add<TImage>(TImageArgs{.bitmap = "if_sizegrip",
                                                    .rect = {width - 3 - 11, kStatusHeight - 11 - 3, 11, 11},
                                                    .anchors = akRight | akBottom,
                                                    .backColour = kBlack,
                                                    .sizeGrip = true});
}

TPane::TPane(TContainer& parent, const TPaneArgs& args)
{
    const TDesignRect& r = args.rect;
    frame_ = &parent.Add<TPanel>(
        TPanelArgs{.rect = r, .anchors = args.anchors, .frameColour = chrome::kPaneHeader, .name = args.header});
    headerBar_ = &frame_->Add<TPanel>(TPanelArgs{.rect = {0, 0, r.width, kHeaderHeight},
                                                 .anchors = akLeft | akTop | akRight,
                                                 .backColour = chrome::kPaneHeader});
    header_ = &headerBar_->Add<TLabel>(TLabelArgs{.text = args.header,
                                                  .rect = {0, 2, r.width - 48, 14},
                                                  .anchors = akLeft | akTop | akRight,
                                                  .textColour = RGB(255, 255, 255),
                                                  .backColour = chrome::kPaneHeader,
                                                  .bold = true});
}

void TTransparencySupport::Apply(bool enabled, uint8_t alpha)
{
    for (TWindow* window : TWindow::All())
        window->SetTransparency(enabled, alpha);
}

} // namespace ui
