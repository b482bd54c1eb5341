#pragma once
// The program's own message box: the program's black title bar and frame, a picture for its
// kind, the wrapped message, up to two buttons and an "Apply to all items" check box. The
// rules (captions, layout, result) are in ui/models/uMsgBoxLayout.h; this applies them on screen.
#include "ui/models/uWidgetServices.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace ui {

class TMsgBox {
public:
    // Modal until closed; owned by this thread's active window, which stays disabled meanwhile.
    // monitor: the monitor's number in the system's order; 0 or out of range is the primary.
    // Safe to call from a nested loop, such as a worker's synchronized call.
    static TMsgBoxResult Execute(TMsgBoxKind kind, const std::string& text, int32_t monitor, TMsgBoxFocus focus,
                                 uint32_t buttons);
};

class TMsgBoxService : public IMessageBoxService {
public:
    TMsgBoxResult Execute(TMsgBoxKind kind, const std::string& text, int32_t monitor, TMsgBoxFocus focus,
                          uint32_t buttons) override
    {
        return TMsgBox::Execute(kind, text, monitor, focus, buttons);
    }
};

} // namespace ui
