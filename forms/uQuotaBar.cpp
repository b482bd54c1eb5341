#include "forms/uQuotaBar.h"

#include "ui/VelaUIColours.h"

namespace {
void FillCell(HDC dc, const TCellRect& cell, uint32_t colour)
{
    const RECT area{cell.left, cell.top, cell.right, cell.bottom};
    SetDCBrushColor(dc, colour);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}
} // namespace

void PaintQuotaBar(HDC dc, const TQuotaBar& bar)
{
    if (!bar.visible)
        return;
    // High contrast: a window-coloured box with a text-coloured frame, filled with the highlight.
    const bool contrast = ui::HighContrast();
    FillCell(dc, bar.box, contrast ? GetSysColor(COLOR_WINDOWTEXT) : quota_colours::kBox);
    if (contrast) {
        TCellRect inside = bar.box;
        ++inside.left, ++inside.top, --inside.right, --inside.bottom;
        FillCell(dc, inside, GetSysColor(COLOR_WINDOW));
    }
    FillCell(dc, bar.fill, contrast ? GetSysColor(COLOR_HIGHLIGHT) : quota_colours::kFill);
}
