#pragma once
// What the legend and the about box share: nothing to resize, and a Close button that is both
// the default and the cancel button, so Enter and Escape close them.
#include "app/uControllerInterfaces.h"
#include "app/uInfoWindowView.h"
#include "app/uWindowController.h"

class TInfoWindowController : public TWindowController {
public:
    explicit TInfoWindowController(IInfoWindowView& view) : infoView_(view) {}
    TInfoWindowController(const TInfoWindowController&) = delete;
    TInfoWindowController& operator=(const TInfoWindowController&) = delete;
    ~TInfoWindowController() override { infoView_.Events() = {}; }

    // True when the key was taken.
    virtual bool KeyDown(uint32_t key)
    {
        if (key != keys::kEnter && key != keys::kEscape)
            return false;
        infoView_.Close();
        return true;
    }

protected:
    void WireEvents() override
    {
        infoView_.Events().onCloseClicked = [this] { infoView_.Close(); };
        infoView_.Events().onKeyDown = [this](uint32_t key) { return KeyDown(key); };
    }

private:
    IInfoWindowView& infoView_;
};
