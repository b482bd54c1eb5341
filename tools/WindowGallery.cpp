// Shows one of the program's windows in a chosen state and waits, so a screenshot can be taken
// of it (scripts/screenshots.sh). Not part of the product.
#include "ui/models/uMsgBoxLayout.h"
#include "app/uWindowServices.h"
#include "engine/uEngineImplementation.h"
#include "forms/uAboutBox.h"
#include "forms/uDriveInfo.h"
#include "forms/uFileViewer.h"
#include "forms/uLegend.h"
#include "forms/uOptions.h"
#include "forms/uReport.h"
#include "forms/uUninstall.h"
#include "forms/uWindowFactory.h"
#include "platform/win32/Win32SystemEntry.h"
#include "platform/win32/Win32Text.h"
#include "prefs/uPreferences.h"
#include "prefs/VelaCRC32.h"
#include "prefs/VelaPreferences.h"
#include "support/VelaDriveInfo.h"
#include "support/VelaUninstallRoutines.h"
#include "ui/VelaSVComputingWnd.h"
#include "ui/VelaSVTMsgBox.h"
#include "ui/VelaUIWindow.h"

#include "tests/FakeRegistry.h"

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

// A drive as a real solid-state disk describes itself, with long texts where real ones are long.
class TSampleDrive : public IDriveInfo {
public:
    bool GetDescriptorValid() const override { return true; }
    std::string GetRootPath() const override { return "C:\\"; }
    std::string GetPhysicalDrive() const override { return "0"; }
    std::string GetVendor() const override { return "N/A"; }
    std::string GetProduct() const override { return "Harbour SSD 870 PRO 1TB"; }
    std::string GetRevision() const override { return "SVT02B6Q"; }
    std::string GetSerialNumber() const override { return "S6PUNX0W412345A"; }
    std::string GetDriveKindText() const override { return "Fixed (solid-state)"; }
    std::string GetVolumeLabel() const override { return "Windows"; }
    std::string GetVolumeSerial() const override { return "3735928559"; }
    std::string GetFileSystem() const override { return "NTFS"; }
    std::string GetDiskCapacity() const override { return "953,869 Mo"; }
    std::string GetPartitionCapacity() const override { return "952,728 Mo"; }
    std::string GetPartitionFree() const override { return "418,307 Mo"; }
};

// The drive information window over the sample drive, or over a real target.
int ShowDriveInfo(const std::string& target)
{
    TDriveInfoFactory factory;
    if (target.empty())
        factory = [](const std::string&) { return std::make_shared<TSampleDrive>(); };
    TfrmDriveInfo driveInfo(nullptr, factory);
    driveInfo.Controller().SetTarget(target.empty() ? "C:\\" : target);
    return driveInfo.ShowModal();
}

// A file of that many bytes that takes no room (the size is all the window reads).
void WriteSparseFile(const std::string& path, int64_t bytes)
{
    HANDLE file = CreateFileW(platform::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = bytes;
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}

// The uninstall window over a few applications held in memory, sizes computed from scratch
// folders of the given sizes; sorted: by size, with a row selected.
int ShowUninstall(bool sorted)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::string scratch = platform::Narrow(temp) + "qs-gallery-uninstall";
    CreateDirectoryW(platform::Widen(scratch).c_str(), nullptr);
    testing_support::FakeRegistry registry;
    const struct {
        const char* subkey;
        const char* name;
        const char* publisher;
        const char* version;
        const char* icon;
        int64_t bytes; // 0: an MSI package, no folder
    } apps[] = {
        {"{3F2A}", "Northwind Photo Studio 2024 (64-bit) with Extended Codec Pack", "Northwind Traders Ltd.",
         "24.1.3.1187", "C:\\windows\\notepad.exe", 150LL * 1024 * 1024 * 1024},
        {"Editor", "Plain Editor", "Contoso", "2.0", "C:\\windows\\regedit.exe,0", 12LL * 1024 * 1024},
        {"{77B1}", "Runtime Library 2015", "Fabrikam, Inc.", "14.0.24215", "", 0},
        {"Viewer", "Image Viewer", "", "1.5", "C:\\windows\\system32\\winecfg.exe", 350LL * 1024},
    };
    for (const auto& app : apps) {
        const platform::RegistryKey key{platform::RegistryRoot::rrLocalMachine, platform::RegistryView::rv64,
                                        std::string(TUninstallRoutines::kUninstallKey) + "\\" + app.subkey};
        registry.Set(key, "DisplayName", app.name);
        registry.Set(key, "Publisher", app.publisher);
        registry.Set(key, "DisplayVersion", app.version);
        registry.Set(key, "DisplayIcon", app.icon);
        std::string command = "MsiExec.exe /X" + std::string(app.subkey);
        if (app.bytes) {
            const std::string folder = scratch + "\\" + app.subkey;
            CreateDirectoryW(platform::Widen(folder).c_str(), nullptr);
            WriteSparseFile(folder + "\\uninstall.exe", app.bytes);
            command = "\"" + folder + "\\uninstall.exe\" /S";
        }
        registry.Set(key, "UninstallString", command);
    }
    auto values = std::make_unique<TPreferenceValues>(false);
    values->SetDefaults();
    values->ComputeSize = true;
    InstallPreferences(std::move(values));
    TfrmUninstall window(nullptr, registry);
    if (sorted) {
        const auto fill = window.Window().onFirstShow;
        window.Window().onFirstShow = [&window, fill] {
            fill();
            HWND list = FindWindowExW(window.Window().Handle(), nullptr, WC_LISTVIEWW, nullptr);
            ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            NMLISTVIEW click{};
            click.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), LVN_COLUMNCLICK};
            click.iItem = -1;
            click.iSubItem = 2;
            SendMessageW(window.Window().Handle(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
        };
    }
    return window.ShowModal();
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto setAware = platform::SystemEntry<BOOL(WINAPI*)()>(L"user32.dll", "SetProcessDPIAware"))
        setAware();
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
        // "found": options that find objects of every safety class in a generated tree.
        if (argc > 3 && std::strcmp(argv[3], "found") == 0) {
            values.CleanupOptions = (1u << 15) | (1u << 17) | (1u << 21);
            values.CustomFiles = "*.qsx";
        }
        return values.Save() ? 0 : 1;
    }
    if (what == "press" && argc > 3) {
        // Presses a button of another program's window, as a user would, for a later state.
        HWND window = FindWindowW(nullptr, platform::Widen(argv[2]).c_str());
        if (!window)
            return 1;
        const std::string text = argv[3];
        EnumChildWindows(window, ClickButtonWithText, reinterpret_cast<LPARAM>(&text));
        return 0;
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
        // Where the program's windows open, so the popup shows over its owner as it does there.
        RECT owned{};
        GetWindowRect(owner.Handle(), &owned);
        SetWindowPos(owner.Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - (owned.right - owned.left)) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - (owned.bottom - owned.top)) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    if (what == "legend")
        return TfrmLegend(nullptr).ShowModal();
    if (what == "about") {
        // "note": as F2 leaves it.
        TfrmAboutBox about(nullptr);
        if (argc > 2 && std::string(argv[2]) == "note")
            PostMessageW(about.Window().Handle(), WM_KEYDOWN, VK_F2, 0);
        return about.ShowModal();
    }
    if (what == "driveinfo")
        return ShowDriveInfo(argc > 2 ? argv[2] : "");
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
    if (what == "uninstall")
        return ShowUninstall(argc > 2 && std::string(argv[2]) == "sorted");
    return 2;
}
