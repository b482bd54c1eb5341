#include "ui/VelaUIAccessible.h"

#include "platform/win32/Win32Text.h"

#include <commctrl.h>
#include <oleacc.h>

namespace ui {

namespace {
constexpr UINT_PTR kSubclassId = 0x51A11;

// Posted to the control, so a default action runs from its own loop; wParam is the child.
UINT ActionMessage()
{
    static const UINT message = RegisterWindowMessageW(L"QuillsweepAccessibleAction");
    return message;
}

BSTR Bstr(const std::string& text)
{
    return text.empty() ? nullptr : SysAllocString(platform::Widen(text).c_str());
}

class TAccessible final : public IAccessible {
public:
    TAccessible(HWND window, TAccessibleSource& source) : window_(window), source_(&source)
    {
        // The system's object for the same client: parent, navigation among windows, shortcut keys.
        IAccessible* standard = nullptr;
        if (SUCCEEDED(CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible,
                                                reinterpret_cast<void**>(&standard))))
            standard_ = standard;
    }

    void Disconnect()
    {
        source_ = nullptr;
        if (standard_) {
            standard_->Release();
            standard_ = nullptr;
        }
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (id == IID_IUnknown || id == IID_IDispatch || id == IID_IAccessible) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: tools call the interface directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        return standard_ ? standard_->get_accParent(parent) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        if (HasItems()) {
            *count = source_->AccessibleItemCount();
            return S_OK;
        }
        return standard_ ? standard_->get_accChildCount(count) : S_OK; // child windows, such as a bar's label
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        if (HasItems()) {
            long id = 0;
            return Child(child, id) && id > 0 ? S_FALSE : E_INVALIDARG; // items are simple elements
        }
        return standard_ ? standard_->get_accChild(child, object) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return Text(child, name, [this](long id) { return source_->AccessibleName(id); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return Text(child, value, [this](long id) { return source_->AccessibleValue(id); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return Text(child, description, [this](long id) { return source_->AccessibleDescription(id); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!role)
            return E_POINTER;
        VariantInit(role);
        long id = 0;
        if (const HRESULT refused = Check(child, id))
            return refused;
        role->vt = VT_I4;
        role->lVal = source_->AccessibleRole(id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        if (!state)
            return E_POINTER;
        VariantInit(state);
        long id = 0;
        if (const HRESULT refused = Check(child, id))
            return refused;
        long bits = source_->AccessibleState(id);
        if (!IsWindowEnabled(window_))
            bits |= STATE_SYSTEM_UNAVAILABLE;
        if (!IsWindowVisible(window_))
            bits |= STATE_SYSTEM_INVISIBLE;
        const bool focused = GetFocus() == window_;
        if (id == CHILDID_SELF) {
            if (GetWindowLongW(window_, GWL_STYLE) & WS_TABSTOP)
                bits |= STATE_SYSTEM_FOCUSABLE;
            if (focused)
                bits |= STATE_SYSTEM_FOCUSED;
        } else {
            bits |= STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
            if (focused && source_->AccessibleFocusedItem() == id)
                bits |= STATE_SYSTEM_FOCUSED;
            RECT item{};
            RECT client{};
            GetClientRect(window_, &client);
            RECT shown{};
            if (!source_->AccessibleItemRect(id, item) || !IntersectRect(&shown, &item, &client))
                bits |= STATE_SYSTEM_OFFSCREEN;
        }
        state->vt = VT_I4;
        state->lVal = bits;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override
    {
        if (help)
            *help = nullptr;
        return source_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override
    {
        if (file)
            *file = nullptr;
        if (topic)
            *topic = 0;
        return source_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        if (!shortcut)
            return E_POINTER;
        *shortcut = nullptr;
        long id = 0;
        if (const HRESULT refused = Check(child, id))
            return refused;
        // The mnemonic of the label before the control is the system object's to find.
        return id == CHILDID_SELF && standard_ ? standard_->get_accKeyboardShortcut(child, shortcut) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        if (!focus)
            return E_POINTER;
        VariantInit(focus);
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        if (GetFocus() != window_)
            return S_FALSE;
        focus->vt = VT_I4;
        const long item = HasItems() ? source_->AccessibleFocusedItem() : 0;
        focus->lVal = item > 0 ? item : CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        if (!selection)
            return E_POINTER;
        VariantInit(selection);
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        // The focused item when it is selected; lists of many selected rows answer one at a time.
        const long item = HasItems() ? source_->AccessibleFocusedItem() : 0;
        if (item > 0 && (source_->AccessibleState(item) & STATE_SYSTEM_SELECTED)) {
            selection->vt = VT_I4;
            selection->lVal = item;
            return S_OK;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return Text(child, action, [this](long id) { return source_->AccessibleDefaultAction(id); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        long id = 0;
        if (const HRESULT refused = Check(child, id))
            return refused;
        if (id == CHILDID_SELF) {
            if (flags & SELFLAG_TAKEFOCUS) {
                SetFocus(window_);
                return S_OK;
            }
            return S_FALSE;
        }
        return source_->AccessibleSelect(id, flags) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        if (!left || !top || !width || !height)
            return E_POINTER;
        *left = *top = *width = *height = 0;
        long id = 0;
        if (const HRESULT refused = Check(child, id))
            return refused;
        RECT area{};
        if (id == CHILDID_SELF) {
            GetClientRect(window_, &area);
        } else if (!source_->AccessibleItemRect(id, area)) {
            return S_FALSE;
        }
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&area), 2);
        *left = area.left;
        *top = area.top;
        *width = area.right - area.left;
        *height = area.bottom - area.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        if (!end)
            return E_POINTER;
        VariantInit(end);
        long id = 0;
        if (const HRESULT refused = Check(start, id))
            return refused;
        if (!HasItems() || (id == CHILDID_SELF && direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD))
            return standard_ ? standard_->accNavigate(direction, start, end) : S_FALSE;
        const long count = source_->AccessibleItemCount();
        long next = 0;
        switch (direction) {
        case NAVDIR_FIRSTCHILD: next = id == CHILDID_SELF ? 1 : 0; break;
        case NAVDIR_LASTCHILD: next = id == CHILDID_SELF ? count : 0; break;
        case NAVDIR_NEXT:
        case NAVDIR_DOWN: next = id + 1; break;
        case NAVDIR_PREVIOUS:
        case NAVDIR_UP: next = id - 1; break;
        default: return S_FALSE;
        }
        if (next < 1 || next > count)
            return S_FALSE;
        end->vt = VT_I4;
        end->lVal = next;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override
    {
        if (!hit)
            return E_POINTER;
        VariantInit(hit);
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        POINT point{x, y};
        ScreenToClient(window_, &point);
        RECT client{};
        GetClientRect(window_, &client);
        if (!PtInRect(&client, point))
            return S_FALSE;
        if (!HasItems())
            return standard_ ? standard_->accHitTest(x, y, hit) : S_FALSE;
        hit->vt = VT_I4;
        hit->lVal = CHILDID_SELF;
        const long count = source_->AccessibleItemCount();
        for (long id = 1; id <= count; ++id) {
            RECT item{};
            if (source_->AccessibleItemRect(id, item) && PtInRect(&item, point)) {
                hit->lVal = id;
                break;
            }
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        long id = 0;
        if (const HRESULT refused = Check(child, id))
            return refused;
        if (source_->AccessibleDefaultAction(id).empty() || !IsWindowEnabled(window_))
            return DISP_E_MEMBERNOTFOUND;
        PostMessageW(window_, ActionMessage(), static_cast<WPARAM>(id), 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~TAccessible() { Disconnect(); }

    bool HasItems() const { return source_ && source_->AccessibleItemCount() > 0; }

    bool Child(const VARIANT& child, long& id) const
    {
        if (child.vt != VT_I4)
            return false;
        id = child.lVal;
        return id == CHILDID_SELF || (id > 0 && id <= source_->AccessibleItemCount());
    }

    // S_OK (0) when the object is still there and the child exists.
    HRESULT Check(const VARIANT& child, long& id) const
    {
        if (!source_)
            return CO_E_OBJNOTCONNECTED;
        return Child(child, id) ? S_OK : E_INVALIDARG;
    }

    template <class Read>
    HRESULT Text(const VARIANT& child, BSTR* text, Read read)
    {
        if (!text)
            return E_POINTER;
        *text = nullptr;
        long id = 0;
        if (const HRESULT refused = Check(child, id))
            return refused;
        *text = Bstr(read(id));
        return *text ? S_OK : S_FALSE;
    }

    LONG references_ = 1;
    HWND window_;
    TAccessibleSource* source_;
    IAccessible* standard_ = nullptr;
};

struct TAttachment {
    TAccessibleSource* source = nullptr;
    TAccessible* object = nullptr; // made on the first request
};

void Release(TAttachment& attachment)
{
    if (attachment.object) {
        attachment.object->Disconnect();
        // Tools holding a proxy get "disconnected" instead of a call into a gone control.
        CoDisconnectObject(attachment.object, 0);
        attachment.object->Release();
        attachment.object = nullptr;
    }
    attachment.source = nullptr;
}

LRESULT CALLBACK AccessibleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data)
{
    auto* attachment = reinterpret_cast<TAttachment*>(data);
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT) && attachment->source) {
        // The object is handed to other processes through COM, which this thread may not have
        // joined yet; it stays joined until the thread ends.
        static thread_local bool joined = false;
        if (!joined) {
            const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            joined = SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
        }
        if (!attachment->object)
            attachment->object = new TAccessible(window, *attachment->source);
        return LresultFromObject(IID_IAccessible, wParam, attachment->object);
    }
    if (message == ActionMessage() && message != 0) {
        if (attachment->source && IsWindowEnabled(window))
            attachment->source->AccessibleDoDefaultAction(static_cast<long>(wParam));
        return 0;
    }
    if (message == WM_NCDESTROY) {
        Release(*attachment);
        RemoveWindowSubclass(window, &AccessibleProc, kSubclassId);
        delete attachment;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
} // namespace

void AttachAccessible(HWND window, TAccessibleSource& source)
{
    DWORD_PTR data = 0;
    if (GetWindowSubclass(window, &AccessibleProc, kSubclassId, &data)) {
        auto* attachment = reinterpret_cast<TAttachment*>(data);
        Release(*attachment);
        attachment->source = &source;
        return;
    }
    auto* attachment = new TAttachment;
    attachment->source = &source;
    if (!SetWindowSubclass(window, &AccessibleProc, kSubclassId, reinterpret_cast<DWORD_PTR>(attachment)))
        delete attachment;
}

void DetachAccessible(HWND window)
{
    DWORD_PTR data = 0;
    if (window && GetWindowSubclass(window, &AccessibleProc, kSubclassId, &data))
        Release(*reinterpret_cast<TAttachment*>(data));
}

void NotifyAccessible(HWND window, DWORD event, long child)
{
    NotifyWinEvent(event, window, OBJID_CLIENT, child);
}

} // namespace ui
