// Program entry of the Windows product.
#include "app/uProgramHelp.h"
#include "app/uWindowServices.h"
#include "forms/uMain.h"
#include "forms/uWindowFactory.h"
#include "platform/PlatformSystem.h"
#include "platform/win32/Win32SystemEntry.h"
#include "prefs/uPreferences.h"
#include "support/VelaHelpSystem.h"
#include "ui/VelaSVTMsgBox.h"

#include <windows.h>
#include <commctrl.h>

namespace {
const wchar_t kInstanceMutex[] = L"QUILLSWP_INST32";

// Sharp text at any scaling: per-monitor where the system offers it, else system-wide.
void DeclareDpiAwareness()
{
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    if (auto setContext = platform::SystemEntry<SetContextFn>(L"user32.dll", "SetProcessDpiAwarenessContext"))
        if (setContext(reinterpret_cast<HANDLE>(-4)) || setContext(reinterpret_cast<HANDLE>(-3)))
            return;
    using SetAwareFn = BOOL(WINAPI*)();
    if (auto setAware = platform::SystemEntry<SetAwareFn>(L"user32.dll", "SetProcessDPIAware"))
        setAware();
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    StartPreferences(platform::CommandLineArguments(0, nullptr));
    DeclareDpiAwareness();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    SetLastError(0);
    HANDLE instance = CreateMutexW(nullptr, TRUE, kInstanceMutex);
    if (!instance || GetLastError() != 0) {
        // Another copy runs: end silently, and leave the preferences file to that copy.
        if (instance)
            CloseHandle(instance);
        return 0;
    }

    ui::TMsgBoxService messageBoxes;
    StartProgramHelp(THelpSystemAccess::CreateHelpSystem(true, "source\\"), messageBoxes, platform::ExecutablePath());

    auto factory = std::make_shared<TWin32WindowFactory>();
    auto services = std::make_shared<TWindowServices>(factory);
    InstallWindowServices(services);
    services->CreateMainWindow();
    factory->MainWindow()->Run();
    // The windows go now, not among the static objects: the list of open windows may be gone
    // by then.
    InstallWindowServices(nullptr);
    services.reset();
    factory.reset();

    // The copy goes while this run still holds the instance mutex, so a run starting now keeps its own.
    StopProgramHelp();
    CloseHandle(instance);
    StopPreferences();
    return 0;
}
