#include "forms/uAboutBox.h"

#include "app/uControllerServices.h"
#include "ui/VelaSVWindowChrome.h"

using namespace ui;

namespace {
constexpr int kDesignWidth = 420;
constexpr int kMargin = 16;
constexpr int kInnerLeft = chrome::kFrameWidth + kMargin;
constexpr int kInnerWidth = kDesignWidth - 2 * kInnerLeft;
constexpr int kLineHeight = 16;
constexpr int kLogoSize = 48;
constexpr int kLogoTop = chrome::kTitleHeight + 12;
constexpr int kFactsLeft = kInnerLeft + kLogoSize + 36;
// The note starts 4 pixels in from the logo's left edge and ends before the facts beside it.
constexpr int kNoteLeft = kInnerLeft + 4;
constexpr int kNoteWidth = kFactsLeft - 4 - kNoteLeft;
constexpr int kNoteHeight = 18;
constexpr int kSystemTop = kLogoTop + 4 * kLineHeight + 18;
constexpr int kCreditsTop = kSystemTop + 4 * kLineHeight + 20;
constexpr int kButtonTop = kCreditsTop + kAboutCreditLines * kLineHeight + 12;
constexpr int kDesignHeight = kButtonTop + forms::kInfoButtonHeight + 12 + chrome::kFrameWidth;
constexpr COLORREF kRule = RGB(0xDC, 0xDC, 0xDC);
constexpr COLORREF kRevisionText = RGB(0x80, 0x80, 0x80);

constexpr TAboutText kFacts[] = {TAboutText::atAppTitle, TAboutText::atAppVersion, TAboutText::atAppArchitecture,
                                 TAboutText::atAppClass};
constexpr TAboutText kSystem[] = {TAboutText::atOS, TAboutText::atOSArchitecture, TAboutText::atMemTotal,
                                  TAboutText::atMemAvail};
} // namespace

TfrmAboutBox::TfrmAboutBox(HWND owner)
    : TInfoWindow(kDesignWidth, kDesignHeight, owner)
{
    CreateControls();
    controller_ = TControllerServices::CreateAboutBoxController(*this);
}

TfrmAboutBox::~TfrmAboutBox()
{
    controller_.reset();
}

void TfrmAboutBox::AddLine(TAboutText label, int left, int top, bool bold)
{
    labels_[label] = &Window().Add<TLabel>(
        TLabelArgs{.rect = {left, top, kDesignWidth - kInnerLeft - left, kLineHeight}, .bold = bold});
}

void TfrmAboutBox::CreateControls()
{
    TWindow& window = Window();
    imgAppLogo_ = &window.Add<TIconImage>(TIconImageArgs{.rect = {kInnerLeft, kLogoTop, kLogoSize, kLogoSize}});
    int top = kLogoTop;
    for (TAboutText fact : kFacts) {
        AddLine(fact, kFactsLeft, top, fact == TAboutText::atAppTitle);
        top += kLineHeight;
    }
    lblNote_ = &window.Add<TLabel>(
        TLabelArgs{.rect = {kNoteLeft, kLogoTop + kLogoSize, kNoteWidth, kNoteHeight}, .bold = true});
    lblNote_->SetVisible(false);

    window.Add<TPanel>(TPanelArgs{.rect = {kInnerLeft, kSystemTop - 9, kInnerWidth, 1}, .backColour = kRule});
    top = kSystemTop;
    for (TAboutText fact : kSystem) {
        AddLine(fact, kInnerLeft, top);
        top += kLineHeight;
    }
    window.Add<TPanel>(TPanelArgs{.rect = {kInnerLeft, kCreditsTop - 10, kInnerWidth, 1}, .backColour = kRule});
    top = kCreditsTop;
    for (int i = 0; i < kAboutCreditLines; ++i) {
        AddLine(static_cast<TAboutText>(static_cast<int>(TAboutText::atCredits1) + i), kInnerLeft, top);
        top += kLineHeight;
    }

    AddCloseButton(kDesignWidth, kButtonTop, kMargin);
    // The build's revision sits left of the button, in grey, so the box keeps its size and lines.
    const int revisionWidth = kDesignWidth - chrome::kFrameWidth - kMargin - forms::kInfoButtonWidth - 8 - kInnerLeft;
    labels_[TAboutText::atSourceRevision] = &window.Add<TLabel>(TLabelArgs{
        .rect = {kInnerLeft, kButtonTop + (forms::kInfoButtonHeight - kLineHeight) / 2, revisionWidth, kLineHeight},
        .textColour = kRevisionText});
}

void TfrmAboutBox::SetText(TAboutText label, const std::string& text)
{
    labels_.at(label)->SetText(text);
}

void TfrmAboutBox::SetLogo(const std::string& iconName, int32_t size)
{
    TDesignRect rect = imgAppLogo_->DesignRect();
    rect.width = rect.height = size;
    imgAppLogo_->SetDesignRect(rect);
    imgAppLogo_->SetIcon(iconName);
}

void TfrmAboutBox::ShowNote(const std::string& text, uint32_t colour)
{
    lblNote_->SetColours(colour, kNoColour);
    lblNote_->SetText(text);
    lblNote_->SetVisible(true);
}
