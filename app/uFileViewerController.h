#pragma once
// The file viewer: reads one file once and shows it as a hexadecimal dump, a binary rendering or
// text. It never writes anything.
#include "app/uControllerInterfaces.h"
#include "app/uFileViewerView.h"
#include "app/uWindowController.h"

#include <string>

struct TWindowArguments;

namespace fileviewer_texts {
extern const char* const kTitleFormat;  // %s = the mode's name
extern const char* const kModeNames[3]; // by mode
extern const char* const kOpenFailed;   // %s = path, %s = the system's text
extern const char* const kReadFailed;   // %s = path, %s = the system's text
extern const char* const kTooLarge;     // %s = path
} // namespace fileviewer_texts

class TFileViewerController : public TWindowController, public IFileViewerController {
public:
    TFileViewerController(IFileViewerView& view, IMessageBoxService& messageBoxes);
    TFileViewerController(const TFileViewerController&) = delete;
    TFileViewerController& operator=(const TFileViewerController&) = delete;

    // IFileViewerController
    int32_t ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult) override;
    void LoadStrings() override;
    void SetTitle(const std::string& text) override { view_.SetTitle(text); }
    void LoadFile(const std::string& path, int32_t mode) override;
    void GetModeName(int32_t mode, std::string& name) override;

    // The viewer's share of ShowFileViewer before the window shows: the mode's title, then the file.
    void Open(const TWindowArguments& arguments);

protected:
    void WireEvents() override {}
    void LoadImages() override {}

private:
    void Fail(const std::string& message);

    IFileViewerView& view_;
    IMessageBoxService& messageBoxes_;
    int32_t mode_ = 0;
};
