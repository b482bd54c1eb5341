#include "forms/uQuotaBar.h"

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
    FillCell(dc, bar.box, quota_colours::kBox);
    FillCell(dc, bar.fill, quota_colours::kFill);
}
