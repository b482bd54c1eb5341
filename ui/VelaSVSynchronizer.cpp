#include "ui/VelaSVSynchronizer.h"

namespace {
const wchar_t kClassName[] = L"QuillsweepSynchronizer";
// Private to the synchronizer's own window; never seen by the program's windows.
const UINT kRunPendingCalls = WM_APP + 0x51;

void RegisterWindowClass(WNDPROC procedure)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    // A second registration fails with "class already exists", which is fine.
    RegisterClassExW(&windowClass);
}
} // namespace

TSVSynchronizer::TSVSynchronizer()
{
    RegisterWindowClass(&TSVSynchronizer::WindowProc);
    window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    if (window_)
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TSVSynchronizer::~TSVSynchronizer()
{
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void TSVSynchronizer::Signal()
{
    if (window_)
        PostMessageW(window_, kRunPendingCalls, 0, 0);
}

bool TSVSynchronizer::OwnerHasOtherWork()
{
    return (HIWORD(GetQueueStatus(QS_INPUT | QS_PAINT | QS_SENDMESSAGE)) & (QS_INPUT | QS_PAINT | QS_SENDMESSAGE)) != 0;
}

void TSVSynchronizer::DeliverNotice(TWindowHandle window, uint32_t message)
{
    PostMessageW(reinterpret_cast<HWND>(window), message, 0, 0);
}

LRESULT CALLBACK TSVSynchronizer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunPendingCalls) {
        if (auto* self = reinterpret_cast<TSVSynchronizer*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            self->ServeBurst();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
