#include "forms/uLegend.h"

#include "app/uControllerServices.h"
#include "app/uProgramHelp.h"
#include "ui/VelaSVWindowChrome.h"

using namespace ui;

namespace {
constexpr int kDesignWidth = 500;
constexpr int kMargin = 16;
constexpr int kInnerLeft = chrome::kFrameWidth + kMargin;
constexpr int kInnerWidth = kDesignWidth - 2 * kInnerLeft;
constexpr int kLineHeight = 16;
constexpr int kClassificationTop = chrome::kTitleHeight + 12;
constexpr int kRowsTop = kClassificationTop + 2 * kLineHeight + 8;
constexpr int kRowHeight = 42;
constexpr int kTextLeft = kInnerLeft + 16 + 10; // right of the 16-pixel picture
constexpr int kButtonTop = kRowsTop + 3 * kRowHeight + 8;
constexpr int kDesignHeight = kButtonTop + forms::kInfoButtonHeight + 12 + chrome::kFrameWidth;

struct TRowPlace {
    TSafetyClass safety;
    TLegendText name;
    TLegendText description;
};
constexpr TRowPlace kRows[] = {
    {scSafe, TLegendText::ltSafe, TLegendText::ltSafeDescription},
    {scPotentiallyUnsafe, TLegendText::ltPotentiallyUnsafe, TLegendText::ltPotentiallyUnsafeDescription},
    {scUnsafe, TLegendText::ltUnsafe, TLegendText::ltUnsafeDescription},
};
} // namespace

TfrmLegend::TfrmLegend(HWND owner)
    : TInfoWindow(kDesignWidth, kDesignHeight, owner)
{
    CreateControls();
    controller_ = TControllerServices::CreateLegendController(*this);
}

TfrmLegend::~TfrmLegend()
{
    controller_.reset();
}

void TfrmLegend::CreateControls()
{
    TWindow& window = Window();
    // Two lines' room: the sentence wraps where a larger font needs it.
    labels_[TLegendText::ltClassification] = &window.Add<TLabel>(
        TLabelArgs{.rect = {kInnerLeft, kClassificationTop, kInnerWidth, 2 * kLineHeight}, .wordWrap = true});
    int top = kRowsTop;
    for (const TRowPlace& row : kRows) {
        images_[row.safety] = &window.Add<TImage>(TImageArgs{.rect = {kInnerLeft, top, 16, 16}});
        const int textWidth = kDesignWidth - kInnerLeft - kTextLeft;
        labels_[row.name] =
            &window.Add<TLabel>(TLabelArgs{.rect = {kTextLeft, top, textWidth, kLineHeight}, .bold = true});
        labels_[row.description] =
            &window.Add<TLabel>(TLabelArgs{.rect = {kTextLeft, top + kLineHeight + 1, textWidth, kLineHeight}});
        top += kRowHeight;
    }
    AddCloseButton(kDesignWidth, kButtonTop, kMargin);
}

void TfrmLegend::SetText(TLegendText label, const std::string& text)
{
    labels_.at(label)->SetText(text);
}

void TfrmLegend::SetImage(TSafetyClass safety, const std::string& bitmapName)
{
    images_.at(safety)->SetBitmap(bitmapName);
}

void TfrmLegend::ShowHelp()
{
    ShowHelpContents();
}
