#pragma once
// Base of every window controller: the set-up template and the chrome behaviour that all the
// program's borderless windows share.
#include "app/uControllerInterfaces.h"

class TWindowController {
public:
    virtual ~TWindowController() = default;

    // Run once by the derived controller's constructor: WireEvents, LoadImages, LoadStrings.
    virtual void Initialize();

    // The 5-pixel resize band; first match wins, otherwise systemResult stands.
    static int32_t ResizeBand(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult);

    // Assigns every caption, hint and column title (also public through IDynamicStringtable,
    // which a controller overrides with the same function).
    virtual void LoadStrings() = 0;

protected:
    virtual void WireEvents() = 0;
    virtual void LoadImages() = 0;
};
