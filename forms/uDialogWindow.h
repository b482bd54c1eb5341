#pragma once
// The frame every secondary window shares: the chrome with its title, maximise and close
// buttons, dragging and double-clicking the title, the resize band, Escape and F1, centring on
// the window that opened it. A form owns one and adds its controls to Window().
#include "app/uControllerInterfaces.h"
#include "ui/VelaSVWindowChrome.h"

#include <functional>
#include <memory>
#include <string>

namespace forms {

struct TDialogWindowArgs {
    std::string title{};
    int clientWidth = 0;   // design pixels
    int clientHeight = 0;
    int minimumWidth = 0;  // 0: the window cannot be resized
    int minimumHeight = 0;
    bool maximizeButton = true;
    HWND owner = nullptr;  // null: the active window
};

class TDialogWindow : public IModalWindow {
public:
    explicit TDialogWindow(const TDialogWindowArgs& args);
    ~TDialogWindow() override;

    ui::TWindow& Window() { return *window_; }
    ui::TWindowChrome& Chrome() { return *chrome_; }

    void SetTitle(const std::string& text);
    // The light strip of captioned glyph buttons under the title bar, as wide as the window.
    static constexpr int kToolbarHeight = 32;
    ui::TPanel& AddToolbar(int designWidth);
    // A button of that strip; its caption and glyph come later (LoadStrings).
    static ui::TFlatButton& AddToolButton(ui::TPanel& toolbar, int left, int width);
    void ToggleMaximized();
    // Ends the modal run with this result (Escape and the close button give 2, "cancel").
    void CloseWith(int32_t result);

    void SetTransparency(bool enabled, uint8_t alpha) override;
    int32_t ShowModal() override;

    // Keys the form handles itself, asked before Escape and F1; true when handled.
    std::function<bool(UINT key)> onKeyDown;
    // F1; by default the help document's contents.
    std::function<void()> onHelp;

    static constexpr int32_t kResultOK = 1;
    static constexpr int32_t kResultCancel = 2;

private:
    void CentreOnOwner(HWND owner);

    std::unique_ptr<ui::TWindow> window_;
    std::unique_ptr<ui::TWindowChrome> chrome_;
    bool resizable_ = false;
};

} // namespace forms
