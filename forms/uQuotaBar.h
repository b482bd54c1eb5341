#pragma once
// Paints the quota bar a list's controller computed for a cell.
#include "app/uListSupport.h"

#include <windows.h>

void PaintQuotaBar(HDC dc, const TQuotaBar& bar);
