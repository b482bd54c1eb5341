#pragma once
// Hands worker calls to the user-interface thread through a message-only window, so it works
// before (and independently of) the program's own windows.
#include "engine/uEngineThreads.h"

#include <windows.h>

class TSVSynchronizer : public TSynchronizer {
public:
    // Create on the user-interface thread: its message loop runs the calls.
    TSVSynchronizer();
    ~TSVSynchronizer() override;
    TSVSynchronizer(const TSVSynchronizer&) = delete;
    TSVSynchronizer& operator=(const TSVSynchronizer&) = delete;

    HWND Handle() const { return window_; }

protected:
    void Signal() override;
    bool OwnerHasOtherWork() override;
    void DeliverNotice(TWindowHandle window, uint32_t message) override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};
