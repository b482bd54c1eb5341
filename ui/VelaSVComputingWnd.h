#pragma once
// The small "Computing..." popup: an hourglass and a caption, optionally a progress bar, shown
// without taking the activation while the user-interface thread is busy.
#include "ui/models/uWidgetServices.h"
#include "ui/VelaSVProgressBar.h"
#include "ui/VelaUIWindow.h"

#include <windows.h>

#include <memory>
#include <string>

namespace ui {

class TComputingWindow : public IComputingWindow {
public:
    // owner may be null; centreOnScreen false centres it on the owner.
    TComputingWindow(HWND owner, bool showProgress, bool centreOnScreen, bool disableOwner);
    // Releasing it without Close still gives the owner back its input.
    ~TComputingWindow() override;
    TComputingWindow(const TComputingWindow&) = delete;
    TComputingWindow& operator=(const TComputingWindow&) = delete;

    void Show() override;
    void Close() override;
    void SetMaximum(int32_t value) override;
    void Step() override;

    // Null once closed.
    HWND Handle() const { return window_ ? window_->Handle() : nullptr; }

private:
    void Centre();

    HWND owner_;
    bool centreOnScreen_;
    bool disableOwner_;
    bool ownerDisabled_ = false;
    std::wstring fontFace_; // the owner's font face, kept for the window's own font
    std::unique_ptr<TWindow> window_;
    TSVProgressBar* progress_ = nullptr;
};

class TComputingWindowSupport {
public:
    static std::shared_ptr<IComputingWindow> Create(HWND owner, bool showProgress, bool centreOnScreen,
                                                    bool disableOwner);
};

} // namespace ui
