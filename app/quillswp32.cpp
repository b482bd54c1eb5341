// Program entry of the Windows product.
#include "platform/PlatformSystem.h"
#include "prefs/uPreferences.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    StartPreferences(platform::CommandLineArguments(0, nullptr));
    // The main window and its message loop come here.
    StopPreferences();
    return 0;
}
