#pragma once
// Active Accessibility (MSAA) for the toolkit's drawn controls. The system's proxies read
// standard controls from their window texts and messages; a drawn control has nothing they can
// read, so it answers WM_GETOBJECT itself with an IAccessible over what it tells here. Child 0
// is the control; 1 to ItemCount() are its items (rows, check items), which have no object of
// their own. UI Automation reads the same objects.
#include <windows.h>

#include <string>

namespace ui {

class TAccessibleSource {
public:
    virtual ~TAccessibleSource() = default;

    virtual long AccessibleItemCount() { return 0; }
    virtual long AccessibleRole(long child) = 0;
    virtual std::string AccessibleName(long child) = 0;
    // The states the control alone knows (checked, selected, ...); unavailable, invisible,
    // focusable and focused come from the window and the focused item.
    virtual long AccessibleState(long child) { return 0; }
    virtual std::string AccessibleValue(long child) { return {}; }
    virtual std::string AccessibleDescription(long child) { return {}; }
    // Empty: no default action.
    virtual std::string AccessibleDefaultAction(long child) { return {}; }
    // Run from the window's message loop, never inside the caller's request: an action may open
    // a modal window, and the tool that asked must not wait for it to close.
    virtual void AccessibleDoDefaultAction(long child) {}
    // An item's bounds in the control's client coordinates; false when it has none in sight.
    virtual bool AccessibleItemRect(long child, RECT& client) { return false; }
    // The item with the keyboard focus; 0 for none.
    virtual long AccessibleFocusedItem() { return 0; }
    // SELFLAG_* on an item; false when refused.
    virtual bool AccessibleSelect(long child, long flags) { return false; }
};

// The window answers WM_GETOBJECT with an object over source until it is destroyed or detached.
void AttachAccessible(HWND window, TAccessibleSource& source);
// Before the source goes: tools still holding the object get "disconnected" from then on.
void DetachAccessible(HWND window);
// Tells tools listening for events (EVENT_OBJECT_VALUECHANGE, ...) about the window's client.
void NotifyAccessible(HWND window, DWORD event, long child = 0);

} // namespace ui
