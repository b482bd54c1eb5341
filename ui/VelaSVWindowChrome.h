#pragma once
// The frame every window of the program draws for itself: a black title bar with its own
// buttons, black frame lines, and optionally a black status bar with a progress bar, a status
// label and a size grip.
#include "ui/VelaSVProgressBar.h"
#include "ui/VelaUIWindow.h"

namespace ui {

namespace chrome {
constexpr int kTitleHeight = 25;
constexpr int kFrameWidth = 3;
constexpr int kStatusHeight = 25;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kAccent = 0x0500C4;          // the lines under the title and over the status
constexpr COLORREF kPaneHeader = 0x1F1F1F;
constexpr COLORREF kMenuBar = 0x4B4B4B;
} // namespace chrome

struct TChromeArgs {
    bool minimizeButton = false;
    bool maximizeButton = false;
    bool statusBar = false;
    int contentTop = chrome::kTitleHeight; // where the frame lines start (below a menu bar, say)
};

class TWindowChrome {
public:
    TWindowChrome(TWindow& window, const TChromeArgs& args);

    TPanel& TitleBar() { return *titleBar_; }
    TLabel& Title() { return *title_; }
    TFlatButton* MinimizeButton() { return minimize_; }
    TFlatButton* MaximizeButton() { return maximize_; }
    TFlatButton& CloseButton() { return *close_; }
    TPanel* StatusBar() { return statusBar_; }
    TSVProgressBar* Progress() { return progress_; }
    TLabel* Status() { return status_; }
    TImage* SizeGrip() { return sizeGrip_; }

private:
    TPanel* titleBar_ = nullptr;
    TLabel* title_ = nullptr;
    TFlatButton* minimize_ = nullptr;
    TFlatButton* maximize_ = nullptr;
    TFlatButton* close_ = nullptr;
    TPanel* statusBar_ = nullptr;
    TSVProgressBar* progress_ = nullptr;
    TLabel* status_ = nullptr;
    TImage* sizeGrip_ = nullptr;
};

// A pane inside a page: a 1-pixel outline and an 18-pixel header bar whose text is a real label.
struct TPaneArgs {
    std::string header{};
    TDesignRect rect{};
    uint8_t anchors = kAnchorTopLeft;
};

class TPane {
public:
    TPane(TContainer& parent, const TPaneArgs& args);
    TPanel& Frame() { return *frame_; }
    TPanel& HeaderBar() { return *headerBar_; }
    TLabel& Header() { return *header_; }
    static constexpr int kHeaderHeight = 18;

private:
    TPanel* frame_;
    TPanel* headerBar_;
    TLabel* header_;
};

// Transparency of every open window.
class TTransparencySupport {
public:
    static void Apply(bool enabled, uint8_t alpha);
};

} // namespace ui
