#pragma once
// State and arithmetic of the program's drawn progress bar. Portable: the Win32 control keeps
// one of these, forwards its properties to it and paints what it computes.
#include <cstdint>
#include <string>

enum class TBarOrientation : uint8_t { boHorizontal = 0, boVertical = 1 };
enum class TBarBorderStyle : uint8_t { bsNone = 0, bsSingle = 1 };

// A rectangle in client pixels; right and bottom are exclusive (as a Win32 RECT).
struct TBarRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const TBarRect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
    bool operator!=(const TBarRect& other) const { return !(*this == other); }
};

class TProgressBarModel {
public:
    static constexpr int32_t kDefaultMinimum = 0;
    static constexpr int32_t kDefaultMaximum = 100;
    static constexpr uint32_t kDefaultForegroundColor = 0x000000; // 0x00BBGGRR, black
    static constexpr uint32_t kDefaultBackgroundColor = 0xFFFFFF; // white

    int32_t Minimum() const { return minimum_; }
    int32_t Maximum() const { return maximum_; }
    int32_t Progress() const { return progress_; }
    TBarOrientation Orientation() const { return orientation_; }
    uint32_t ForegroundColor() const { return foregroundColor_; }
    uint32_t BackgroundColor() const { return backgroundColor_; }
    TBarBorderStyle BorderStyle() const { return borderStyle_; }
    bool DisplayText() const { return displayText_; }

    // Every setter returns whether the control must repaint.
    // Ignored (false) when equal to the current minimum or greater than the maximum; raises the
    // progress to the new minimum when it lies below it.
    bool SetMinimum(int32_t value);
    // Ignored (false) when equal to the current maximum or below the minimum; lowers the
    // progress to the new maximum when it lies above it.
    bool SetMaximum(int32_t value);
    // Clamped into [Minimum, Maximum]; repaint only when the percent changes.
    bool SetProgress(int32_t value);
    bool SetOrientation(TBarOrientation value);
    bool SetForegroundColor(uint32_t value);
    bool SetBackgroundColor(uint32_t value);
    bool SetBorderStyle(TBarBorderStyle value);
    bool SetDisplayText(bool value);

    // trunc((Progress - Minimum) * 100 / (Maximum - Minimum)) in 64-bit arithmetic; 0 when the range is empty.
    int32_t Percent() const;
    // The client rectangle, shrunk by one pixel on each side under a single border.
    TBarRect PaintArea(int32_t clientWidth, int32_t clientHeight) const;
    // The filled part of the paint area: from the left (horizontal) or from the bottom
    // (vertical), Percent * extent / 100 pixels; empty at 0%.
    TBarRect FilledRect(int32_t clientWidth, int32_t clientHeight) const;
    // "37%": what the painter draws centred (XOR) when DisplayText is on.
    std::string Text() const;

private:
    int32_t minimum_ = kDefaultMinimum;
    int32_t maximum_ = kDefaultMaximum;
    int32_t progress_ = kDefaultMinimum;
    TBarOrientation orientation_ = TBarOrientation::boHorizontal;
    uint32_t foregroundColor_ = kDefaultForegroundColor;
    uint32_t backgroundColor_ = kDefaultBackgroundColor;
    TBarBorderStyle borderStyle_ = TBarBorderStyle::bsSingle;
    bool displayText_ = true;
};
