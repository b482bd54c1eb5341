// Shows one of the program's windows in a chosen state and waits, so a screenshot can be taken
// of it (scripts/screenshots.sh). Not part of the product.
#include "app/uMsgBoxLayout.h"
#include "app/uWindowServices.h"
#include "engine/uEngineImplementation.h"
#include "forms/uFileViewer.h"
#include "forms/uOptions.h"
#include "forms/uReport.h"
#include "forms/uWindowFactory.h"
#include "platform/win32/Win32Text.h"
#include "prefs/uPreferences.h"
#include "prefs/VelaCRC32.h"
#include "prefs/VelaPreferences.h"
#include "ui/VelaSVComputingWnd.h"
#include "ui/VelaSVTMsgBox.h"
#include "ui/VelaUIWindow.h"

#include <commctrl.h>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

using namespace ui;

// Presses the child whose text is *text (a std::string); stops at the first.
static BOOL CALLBACK ClickButtonWithText(HWND child, LPARAM text)
{
    wchar_t caption[64] = {};
    GetWindowTextW(child, caption, 64);
    if (platform::Narrow(caption) != *reinterpret_cast<const std::string*>(text))
        return TRUE;
    SendMessageW(child, BM_CLICK, 0, 0);
    return FALSE;
}

namespace {

// The report window over a few found objects, or over a clean report of a few lines.
int ShowReport(bool clean)
{
    auto objects = TEngineServices::CreateCleanupList(TCRC32Services::CreateCRC32());
    const struct {
        TCleanupOption option;
        const char* name;
        int64_t ko;
    } found[] = {{0, "C:\\Windows\\Temp\\setup.log", 35000},   {13, "D:\\work\\build.tmp", 120000},
                 {13, "D:\\work\\link.tmp", 4},                 {14, "C:\\Users\\Ann\\app.cache", 2200},
                 {15, "D:\\old\\thesis.bak", 800},               {21, "D:\\work\\trace.qsx", 1}};
    for (const auto& object : found) {
        std::shared_ptr<ICleanupListItem> entry;
        objects->Add(true, scSafe, object.option, "", object.name, object.ko, -1, entry);
    }
    auto cleanReport = TEngineServices::CreateCleanReport();
    cleanReport->GetLines() = {"Quillsweep 1.0.0.1 Report\r\n",
                               "Process started   : 09/03/2024 10:41:07",
                               "Total objects     :        6    Total size:    155 Mo",
                               "Selected objects  :        6    Total size:    155 Mo",
                               "Removed objects   :        5    Total size:    155 Mo",
                               "Skipped objects   :        1    Total size:      1 Ko",
                               "Disk space gain   :      155 Mo Total size:    155 Mo",
                               "Total space gain  :      2 Mo Total runs:      12 times",
                               "Process completed : 09/03/2024 10:41:09 Duration: 02.114",
                               "\r\nSkipped objects list:\r\n",
                               "D:\\work\\trace.qsx"};
    TfrmReport report(nullptr);
    report.Controller().SetScanReport(
        TEngineServices::CreateScanReport(TEngineServices::CreateCleanupOptionsList(), objects));
    report.Controller().SetCleanReport(cleanReport);
    report.Controller().SetReportKind(clean ? rkClean : rkScan);
    return report.ShowModal();
}

} // namespace

int main(int argc, char** argv)
{
    SetProcessDPIAware();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "msgbox" && argc > 2) {
        const auto kind = static_cast<TMsgBoxKind>(std::atoi(argv[2]));
        const std::string text = argc > 3 ? argv[3]
                                          : std::string("Delete \"C:\\Users\\Ann\\AppData\\Local\\Temp\\setup-4411.log\"?\r\n"
                                                        "It is a Potentially Unsafe object.");
        TMsgBox::Execute(kind, text, 0, TMsgBoxFocus::mfAccept, argc > 4 ? std::atoi(argv[4]) : 37);
        return 0;
    }
    if (what == "editlist" && argc > 4) {
        // Opened the way the options window opens it; what it returns is written to a file
        // ("-" for none): the modal result, whether the list changed, and the text.
        // Further words: "directories" edits folders, "confirm" turns confirmations on.
        auto prefs = std::make_unique<TPreferenceValues>(false);
        prefs->SetDefaults();
        bool directories = false;
        for (int i = 5; i < argc; ++i) {
            directories = directories || std::strcmp(argv[i], "directories") == 0;
            prefs->Confirmations = prefs->Confirmations || std::strcmp(argv[i], "confirm") == 0;
        }
        InstallPreferences(std::move(prefs));
        TWindowServices services(std::make_shared<TWin32WindowFactory>());
        std::string text = argv[4];
        bool changed = false;
        const int32_t result = services.ShowEditList(argv[3], text, directories, changed);
        if (std::strcmp(argv[2], "-") != 0)
            std::ofstream(argv[2], std::ios::binary) << result << '\n' << (changed ? 1 : 0) << '\n' << text << '\n';
        return 0;
    }
    if (what == "returning-user" && argc > 2) {
        // A preferences file of someone who has seen the welcome notice.
        TPreferenceValues values(false);
        values.SetFileName(argv[2]);
        values.SetDefaults();
        values.FirstRun = false;
        return values.Save() ? 0 : 1;
    }
    if (what == "options") {
        // One page of the options window, its validator and secure-delete panels shown.
        const std::string page = argc > 2 ? argv[2] : "&General";
        auto values = std::make_unique<TPreferenceValues>(false);
        values->SetDefaults();
        values->FileDateValidator = true;
        values->DateModified = true;
        values->FileSizeValidator = true;
        values->FileContentsValidator = true;
        values->SecureDeleteFiles = true;
        values->MinimizeToSystemTray = true;
        values->ExcludeDirectories = "System Volume Information";
        InstallPreferences(std::move(values));
        InstallWindowServices(std::make_shared<TWindowServices>(std::make_shared<TWin32WindowFactory>()));
        TfrmOptions options(nullptr, nullptr);
        options.Window().onFirstShow = [&options, &page] {
            EnumChildWindows(options.Window().Handle(), &ClickButtonWithText, reinterpret_cast<LPARAM>(&page));
        };
        options.ShowModal();
        return 0;
    }
    if (what == "computing") {
        TWindowArgs args;
        args.title = "Owner";
        args.clientWidth = 400;
        args.clientHeight = 200;
        TWindow owner(args);
        owner.Show(SW_SHOW);
        auto computing = TComputingWindowSupport::Create(owner.Handle(), argc > 2, false, true);
        computing->SetMaximum(10);
        computing->Show();
        for (int i = 0; i < 4; ++i)
            computing->Step();
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchMessageW(&message);
        return 0;
    }
    if (what == "viewer" && argc > 3) {
        // The file viewer in mode argv[2] (0 hexadecimal, 1 binary, 2 text) over the file argv[3];
        // a further word "drag" selects from the first line into the third with the mouse.
        TWindowArguments arguments;
        arguments.viewMode = std::atoi(argv[2]);
        arguments.path = argv[3];
        TfrmFileViewer viewer(arguments, nullptr);
        if (argc > 4 && std::string(argv[4]) == "drag")
            viewer.Window().onFirstShow = [&viewer] {
                HWND view = FindWindowExW(viewer.Window().Handle(), nullptr, L"QuillsweepTextView", nullptr);
                const int unit = viewer.Window().Scale(10);
                SetFocus(view);
                SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6 * unit, unit / 2));
                SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(25 * unit, 5 * unit / 2));
                SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(25 * unit, 5 * unit / 2));
            };
        return viewer.ShowModal();
    }
    if (what == "report")
        return ShowReport(argc > 2 && std::string(argv[2]) == "clean");
    return 2;
}
