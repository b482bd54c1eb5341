#pragma once
// The base of the legend's and the about box's views (app/uLegendView.h, app/uAboutBoxView.h).
#include "app/uMainView.h"

#include <cstdint>
#include <functional>
#include <string>

struct TInfoWindowEvents {
    std::function<void()> onCloseClicked;        // the window's own Close button
    std::function<bool(uint32_t key)> onKeyDown; // key preview; true when handled
};

// What both small information windows have: a title, a Close button and the end of the modal run.
class IInfoWindowView {
public:
    virtual ~IInfoWindowView() = default;
    virtual TInfoWindowEvents& Events() = 0;
    virtual void SetTitle(const std::string& text) = 0;
    virtual void SetCloseCaption(const std::string& text) = 0;
    virtual void Close() = 0;
};
