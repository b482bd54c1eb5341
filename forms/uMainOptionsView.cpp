#include "forms/uMainOptionsView.h"

#include "platform/win32/Win32Text.h"
#include "ui/VelaSVRuntime.h"
#include "ui/VelaUIWindow.h"

#include <algorithm>

using namespace ui;

namespace {
constexpr int kGap = 6;
constexpr int kButtonWidth = 75;
// By safety class: safe, potentially unsafe, unsafe.
const char* const kSafetyImages[] = {"fsafe16", "fpunsafe16", "funsafe16"};
constexpr int kTextRightMargin = 4;

void DrawMasked(HDC dc, HBITMAP bitmap, int left, int top, int width, int height)
{
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
        return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, bitmap);
    TransparentBlt(dc, left, top, width, height, source, 0, 0, info.bmWidth, info.bmHeight, RGB(255, 0, 255));
    SelectObject(source, previous);
    DeleteDC(source);
}

void DrawLine(HDC dc, const std::string& text, RECT area, COLORREF colour)
{
    const std::wstring wide = platform::Widen(text);
    SetTextColor(dc, colour);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}
} // namespace

TMainOptionsView::TMainOptionsView(TContainer& page, const TDesignRect& area, uint8_t anchors)
{
    const int paneHeight = area.height - kButtonHeight - kGap;
    pane_ =
        std::make_unique<TPane>(page, TPaneArgs{.rect = {area.x, area.y, area.width, paneHeight}, .anchors = anchors});
    TCheckListArgs listArgs;
    listArgs.rect = {1, TPane::kHeaderHeight, area.width - 2, paneHeight - TPane::kHeaderHeight - 1};
    listArgs.anchors = kAnchorAll;
    listArgs.rowHeight = option_row_layout::kHeight;
    // The check box sits beside the safety image, on the caption's line.
    listArgs.checkTop = option_row_layout::kImageTop;
    list_ = &pane_->Frame().Add<TCheckList>(listArgs);
    listHandle_ = list_->Handle();

    // Fixed-size buttons keep to the edges the area keeps to.
    const uint8_t buttonAnchors = static_cast<uint8_t>(((anchors & akLeft) || !(anchors & akRight) ? akLeft : akRight) |
                                                       (anchors & akBottom ? akBottom : akTop));
    const int buttonWidth = std::min(kButtonWidth, (area.width - 3 * kGap) / 4);
    for (int i = 0; i < 4; ++i) {
        presets_[i] =
            &page.Add<TButton>(TButtonArgs{.rect = {area.x + i * (buttonWidth + kGap),
                                                    area.y + area.height - kButtonHeight, buttonWidth, kButtonHeight},
                                           .anchors = buttonAnchors});
        presets_[i]->onClick = [this, i] {
            if (events_.onPreset)
                events_.onPreset(static_cast<TOptionPreset>(i));
        };
    }

    list_->onDrawRow = [this](HDC dc, const RECT& content, int row, bool selected) { DrawRow(dc, content, row, selected); };
    list_->onRowName = [this](int row) { return events_.onDrawRow ? events_.onDrawRow(row, false).caption : std::string(); };
    list_->onRowDescription = [this](int row) {
        return events_.onDrawRow ? events_.onDrawRow(row, false).description : std::string();
    };
    list_->onRowAvailable = [this](int row) { return !events_.onDrawRow || events_.onDrawRow(row, false).available; };
    list_->onCheckToggled = [this](int row) {
        if (events_.onRowCheckToggled)
            events_.onRowCheckToggled(row);
    };
    list_->onDoubleClick = [this](int row) {
        if (events_.onDoubleClick)
            events_.onDoubleClick(row);
    };
    list_->onWheel = [this](int delta) {
        if (events_.onWheel)
            events_.onWheel(delta);
    };
    // Created at their scaled design rectangles, the controls can be a pixel off from where the
    // layout keeps edges anchored to the right or bottom (150 %).
    page.LayoutChildren();
}

TMainOptionsView::~TMainOptionsView()
{
    // The window may have gone before this view, taking the controls along.
    if (!IsWindow(listHandle_))
        return;
    list_->onDrawRow = nullptr;
    list_->onRowName = nullptr;
    list_->onRowDescription = nullptr;
    list_->onRowAvailable = nullptr;
    list_->onCheckToggled = nullptr;
    list_->onDoubleClick = nullptr;
    list_->onWheel = nullptr;
    for (TButton* button : presets_)
        button->onClick = nullptr;
}

void TMainOptionsView::SetRowCount(int32_t count) { list_->SetRowCount(count); }

void TMainOptionsView::SetHeaderText(const std::string& text)
{
    pane_->Header().SetText(text);
    pane_->Frame().SetText(text); // the pane's name for assistive tools
}

void TMainOptionsView::SetPresetCaption(TOptionPreset preset, const std::string& text)
{
    const int index = static_cast<int>(preset);
    if (index >= 0 && index < 4)
        presets_[index]->SetText(text);
}

int32_t TMainOptionsView::MonitorNumber() { return TSVRuntime::MonitorOf(list_->Window().Handle()); }

void TMainOptionsView::DrawRow(HDC dc, const RECT& content, int row, bool selected)
{
    if (!events_.onDrawRow)
        return;
    using namespace option_row_layout;
    const TOptionRowDrawing drawing = events_.onDrawRow(row, selected);
    TControl& list = *list_;
    const int left = content.left;
    const int top = content.top;

    const int safety = std::clamp(drawing.imageIndex, 0, 2);
    TDpiBitmap& image = safetyImages_[safety];
    image.Load(kSafetyImages[safety], list.Dpi());
    const SIZE size = image.DesignSize();
    DrawMasked(dc, image.Get(), left + list.Scale(kImageLeft), top + list.Scale(kImageTop), list.Scale(size.cx),
               list.Scale(size.cy));

    TFontSpec font = list.Window().DefaultFontSpec();
    font.bold = drawing.boldCaption;
    HGDIOBJ previous = SelectObject(dc, list.Window().Font(font));
    const int textLeft = left + list.Scale(kTextLeft);
    const int textRight = content.right - list.Scale(kTextRightMargin);
    // High contrast: the system's text colours; the safety class is in the image beside.
    const COLORREF contrast = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : drawing.available ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    DrawLine(dc, drawing.caption, {textLeft, top + list.Scale(kCaptionTop), textRight, content.bottom},
             HighContrast() ? contrast : drawing.captionColour);
    font.bold = false;
    SelectObject(dc, list.Window().Font(font));
    DrawLine(dc, drawing.description, {textLeft, top + list.Scale(kDescriptionTop), textRight, content.bottom},
             HighContrast() ? contrast : drawing.descriptionColour);
    SelectObject(dc, previous);
}
