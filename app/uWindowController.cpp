#include "app/uWindowController.h"

namespace {
constexpr int32_t kResizeBand = 5;
}

void TWindowController::Initialize()
{
    WireEvents();
    LoadImages();
    LoadStrings();
}

int32_t TWindowController::ResizeBand(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult)
{
    const bool left = x < kResizeBand;
    const bool top = y < kResizeBand;
    const bool right = x >= width - kResizeBand;
    const bool bottom = y >= height - kResizeBand;
    if (left && top)
        return hit_test::kTopLeft;
    if (left && bottom)
        return hit_test::kBottomLeft;
    if (right && top)
        return hit_test::kTopRight;
    if (right && bottom)
        return hit_test::kBottomRight;
    if (left)
        return hit_test::kLeft;
    if (top)
        return hit_test::kTop;
    if (right)
        return hit_test::kRight;
    if (bottom)
        return hit_test::kBottom;
    return systemResult;
}
