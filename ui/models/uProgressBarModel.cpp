#include "ui/models/uProgressBarModel.h"

#include <algorithm>
#include <cstdio>

bool TProgressBarModel::SetMinimum(int32_t value)
{
    if (value == minimum_ || value > maximum_)
        return false;
    minimum_ = value;
    if (progress_ < minimum_)
        progress_ = minimum_;
    return true;
}

bool TProgressBarModel::SetMaximum(int32_t value)
{
    if (value == maximum_ || value < minimum_)
        return false;
    maximum_ = value;
    if (progress_ > maximum_)
        progress_ = maximum_;
    return true;
}

bool TProgressBarModel::SetProgress(int32_t value)
{
    const int32_t before = Percent();
    progress_ = std::clamp(value, minimum_, maximum_);
    return Percent() != before;
}

bool TProgressBarModel::SetOrientation(TBarOrientation value)
{
    if (value == orientation_)
        return false;
    orientation_ = value;
    return true;
}

bool TProgressBarModel::SetForegroundColor(uint32_t value)
{
    if (value == foregroundColor_)
        return false;
    foregroundColor_ = value;
    return true;
}

bool TProgressBarModel::SetBackgroundColor(uint32_t value)
{
    if (value == backgroundColor_)
        return false;
    backgroundColor_ = value;
    return true;
}

bool TProgressBarModel::SetBorderStyle(TBarBorderStyle value)
{
    if (value == borderStyle_)
        return false;
    borderStyle_ = value;
    return true;
}

bool TProgressBarModel::SetDisplayText(bool value)
{
    if (value == displayText_)
        return false;
    displayText_ = value;
    return true;
}

int32_t TProgressBarModel::Percent() const
{
    const int64_t range = static_cast<int64_t>(maximum_) - minimum_;
    if (range <= 0)
        return 0;
    const int64_t done = static_cast<int64_t>(progress_) - minimum_;
    return static_cast<int32_t>(done * 100 / range);
}

TBarRect TProgressBarModel::PaintArea(int32_t clientWidth, int32_t clientHeight) const
{
    TBarRect area{0, 0, std::max(clientWidth, 0), std::max(clientHeight, 0)};
    if (borderStyle_ == TBarBorderStyle::bsSingle) {
        area.left += 1;
        area.top += 1;
        area.right = std::max(area.right - 1, area.left);
        area.bottom = std::max(area.bottom - 1, area.top);
    }
    return area;
}

TBarRect TProgressBarModel::FilledRect(int32_t clientWidth, int32_t clientHeight) const
{
    const TBarRect area = PaintArea(clientWidth, clientHeight);
    const int64_t percent = std::clamp(Percent(), 0, 100);
    TBarRect bar = area;
    if (orientation_ == TBarOrientation::boHorizontal) {
        const auto width = static_cast<int32_t>(std::min<int64_t>(percent * area.Width() / 100, area.Width()));
        bar.right = area.left + width;
    } else {
        const auto height = static_cast<int32_t>(std::min<int64_t>(percent * area.Height() / 100, area.Height()));
        bar.top = area.bottom - height;
    }
    return bar;
}

std::string TProgressBarModel::Text() const
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d%%", static_cast<int>(Percent()));
    return buffer;
}
