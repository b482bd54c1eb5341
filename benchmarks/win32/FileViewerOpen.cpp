// Time to open a large file in the file viewer, in each mode: reading, rendering and handing the
// text to the window, then showing and painting it, then scrolling to the last line. Run it under
// Wine or on Windows: FileViewerOpen [file] (default: a 16 MiB file of mixed bytes made here).
#include "app/uFileViewerRendering.h"
#include "app/uWindowServices.h"
#include "forms/uFileViewer.h"
#include "platform/win32/Win32SystemEntry.h"
#include "platform/win32/Win32Text.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

void Pump()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Text lines, binary runs and every byte value, as a found file might hold them.
std::string MakeFile(size_t size)
{
    std::string bytes;
    bytes.reserve(size);
    uint32_t seed = 12345;
    while (bytes.size() < size) {
        bytes += "2024-03-09 10:41:07 cleaned C:\\Windows\\Temp\\setup.log\r\n";
        for (int i = 0; i < 40; ++i) {
            seed = seed * 1103515245u + 12345u;
            bytes += static_cast<char>(seed >> 24);
        }
    }
    bytes.resize(size);
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto setAware = platform::SystemEntry<BOOL(WINAPI*)()>(L"user32.dll", "SetProcessDPIAware"))
        setAware();
    std::string path = argc > 1 ? argv[1] : "";
    if (path.empty()) {
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        path = std::string(folder) + "qs-viewer-bench.bin";
        const std::string bytes = MakeFile(16u << 20);
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::printf("file: %s\n", path.c_str());
    for (int mode = vmHexadecimal; mode <= vmText; ++mode) {
        TWindowArguments arguments;
        arguments.path = path;
        arguments.viewMode = mode;
        const auto start = Clock::now();
        TfrmFileViewer viewer(arguments, nullptr);
        const double loaded = Seconds(start);
        viewer.Window().Show(SW_SHOW);
        Pump();
        const double shown = Seconds(start);
        HWND view = FindWindowExW(viewer.Window().Handle(), nullptr, L"QuillsweepTextView", nullptr);
        // The scroll bar's bottom: the last line comes into view.
        SendMessageW(view, WM_VSCROLL, SB_BOTTOM, 0);
        UpdateWindow(viewer.Window().Handle());
        Pump();
        const double atEnd = Seconds(start);
        const long characters = static_cast<long>(GetWindowTextLengthW(view));
        std::printf("%-12s %10ld characters: loaded %6.2f s, shown %6.2f s, at the last line %6.2f s\n",
                    mode == vmHexadecimal ? "hexadecimal" : mode == vmBinary ? "binary" : "text", characters, loaded,
                    shown, atEnd);
    }
    if (argc <= 1)
        DeleteFileA(path.c_str());
    return 0;
}
