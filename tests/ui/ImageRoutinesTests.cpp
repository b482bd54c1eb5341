// The named bitmaps as the windows load them, the tray icon's tip, and the icons of files.
#include "ui/VelaImageRoutines.h"

#include "platform/win32/Win32Text.h"
#include "ui/VelaUIControls.h"
#include "ui/VelaUIWindow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct TNamedBitmap {
    const char* name;
    int width;
    int height;
};

// Every bitmap the windows ask for by name, at the size their layouts assume.
const TNamedBitmap kBitmaps[] = {
    {"if_minimize", 16, 16}, {"if_maximize", 16, 16}, {"if_close", 16, 16}, {"if_sizegrip", 11, 11},
    {"btn_refresh", 16, 16}, {"btn_add", 16, 16}, {"btn_remove", 16, 16}, {"btn_clear", 16, 16},
    {"btn_validate", 16, 16}, {"btn_edit", 16, 16}, {"sort_up", 9, 5}, {"sort_down", 9, 5},
    {"fsafe16", 16, 16}, {"fpunsafe16", 16, 16}, {"funsafe16", 16, 16},
    {"ERROR", 32, 32}, {"WARNING", 32, 32}, {"INFORMATION", 32, 32}, {"CONFIRM", 32, 32},
    {"IMPORTANT", 32, 32}, {"SAFE", 32, 32},
    {"general22", 22, 22}, {"scanner22", 22, 22}, {"validator22", 22, 22}, {"cleaner22", 22, 22},
    {"uninstall22", 22, 22}, {"save22", 22, 22}, {"refresh22", 22, 22},
    {"uninstall22s2", 22, 22}, {"add22s2", 22, 22}, {"addmultiple22s2", 22, 22}, {"remove22s2", 22, 22},
    {"clear22s2", 22, 22}, {"move_up22s2", 22, 22}, {"move_down22s2", 22, 22},
    {"uninstall16", 16, 16}, {"hourglass", 32, 32},
};

SIZE SizeOf(HBITMAP bitmap)
{
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// A hidden top-level window, as the main window is while it owns the tray icon.
class THiddenWindow {
public:
    THiddenWindow()
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuillsweepTrayTestOwner";
        RegisterClassExW(&windowClass);
        window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    }
    ~THiddenWindow() { DestroyWindow(window_); }
    HWND Get() const { return window_; }

private:
    HWND window_ = nullptr;
};

std::string ProgramPath()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return platform::Narrow(path, static_cast<int>(length));
}
} // namespace

TEST(ImageRoutines, EveryNamedBitmapLoadsAtItsSizeAsDrawnAndAtOneHundredFiftyAndTwoHundredPercent)
{
    // The larger forms are as large as the windows scale the base size (MulDiv rounds halves up).
    const struct {
        const char* suffix;
        int percent;
    } scales[] = {{"", 100}, {"_150", 150}, {"_200", 200}};
    for (const auto& entry : kBitmaps)
        for (const auto& scale : scales) {
            const std::string name = std::string(entry.name) + scale.suffix;
            SCOPED_TRACE(name);
            EXPECT_TRUE(TResourceRoutines::HasBitmapResource(name));
            const TBitmapHandle bitmap = TBitmapRoutines::LoadBitmapResource(name);
            ASSERT_TRUE(bitmap);
            BITMAP info{};
            ASSERT_EQ(static_cast<int>(sizeof info), GetObjectW(bitmap.get(), sizeof info, &info));
            EXPECT_EQ(MulDiv(entry.width, scale.percent, 100), info.bmWidth);
            EXPECT_EQ(MulDiv(entry.height, scale.percent, 100), info.bmHeight);
            EXPECT_EQ(24, info.bmBitsPixel);
        }
    EXPECT_TRUE(TBitmapRoutines::LoadBitmapResource("If_Close")) << "names match whatever their case";
    EXPECT_FALSE(TResourceRoutines::HasBitmapResource("no_such_bitmap"));
    EXPECT_FALSE(TBitmapRoutines::LoadBitmapResource("no_such_bitmap"));
    EXPECT_FALSE(TBitmapRoutines::LoadBitmapResource(""));
}

TEST(ImageRoutines, FormForADpiIsTheSmallestThatReachesItElseTheNextSmallerThereIs)
{
    const struct {
        int dpi;
        int percent;
        int size;
    } cases[] = {{96, 100, 16}, {120, 150, 24}, {144, 150, 24}, {168, 200, 32}, {192, 200, 32}, {300, 200, 32}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        int percent = 0;
        const TBitmapHandle bitmap = TBitmapRoutines::LoadBitmapForDpi("if_close", c.dpi, &percent);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(c.percent, percent);
        EXPECT_EQ(c.size, SizeOf(bitmap.get()).cx);
        EXPECT_EQ(c.size, TBitmapRoutines::BitmapSize(bitmap.get()).cy);
    }
    // The test program's resources hold names with fewer forms (see resources/CMakeLists.txt).
    int percent = 0;
    EXPECT_EQ(24, SizeOf(TBitmapRoutines::LoadBitmapForDpi("test_no200", 192, &percent).get()).cx);
    EXPECT_EQ(150, percent);
    EXPECT_EQ(16, SizeOf(TBitmapRoutines::LoadBitmapForDpi("test_base_only", 192, &percent).get()).cx);
    EXPECT_EQ(100, percent);
    EXPECT_FALSE(TBitmapRoutines::LoadBitmapForDpi("no_such_bitmap", 144, &percent));
    EXPECT_EQ(100, percent);
}

// Stretched from the 100 % glyph, the maximise box at 150 % had a 1-pixel side and a 2-pixel one.
TEST(ImageRoutines, FlatButtonDrawsItsGlyphFromTheFormForTheWindowsNewDpi)
{
    ui::TWindowArgs args;
    args.clientWidth = 40;
    args.clientHeight = 40;
    args.appWindow = false;
    ui::TWindow window(args);
    ui::TFlatButton& button = window.Add<ui::TFlatButton>(
        ui::TFlatButtonArgs{.text = "Maximize", .rect = {0, 0, 16, 16}, .glyph = "if_maximize"});
    RECT suggested{0, 0, 60, 60};
    SendMessageW(window.Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    ASSERT_EQ(144, window.Dpi());

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    const TBitmapHandle target(CreateCompatibleBitmap(screen, 24, 24));
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, target.get());
    DRAWITEMSTRUCT item{};
    item.hDC = dc;
    item.rcItem = {0, 0, 24, 24};
    EXPECT_TRUE(button.HandleDrawItem(item));
    // Across the middle of the box: two white columns each side.
    std::vector<int> white;
    for (int x = 0; x < 24; ++x)
        if (GetPixel(dc, x, 12) == RGB(255, 255, 255))
            white.push_back(x);
    EXPECT_EQ((std::vector<int>{5, 6, 17, 18}), white);
    SelectObject(dc, previous);
    DeleteDC(dc);
}

TEST(ImageRoutines, ImageListGetsOneImageWithMagentaSeeThrough)
{
    const TImageListHandle list(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 4));
    ASSERT_TRUE(list);
    EXPECT_EQ(0, TBitmapRoutines::AddBitmapToImageList(list.get(), "if_close"));
    EXPECT_EQ(-1, TBitmapRoutines::AddBitmapToImageList(list.get(), "no_such_bitmap"));
    EXPECT_EQ(-1, TBitmapRoutines::AddBitmapToImageList(nullptr, "if_close"));
    EXPECT_EQ(1, ImageList_GetImageCount(list.get()));

    // Drawn over green: the corner shows the background, the middle of the cross is white.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    const TBitmapHandle target(CreateCompatibleBitmap(screen, 16, 16));
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, target.get());
    HBRUSH green = CreateSolidBrush(RGB(0, 128, 0));
    const RECT all{0, 0, 16, 16};
    FillRect(dc, &all, green);
    DeleteObject(green);
    EXPECT_TRUE(ImageList_Draw(list.get(), 0, dc, 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(RGB(0, 128, 0), GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 8, 8));
    SelectObject(dc, previous);
    DeleteDC(dc);
}

TEST(TrayIcon, TipIsCutAndSentOnlyWhenItChanges)
{
    constexpr UINT kTrayMessage = WM_APP + 7;
    TTrayIconRecord record;
    EXPECT_FALSE(TIconRoutines::SetTrayTip(record, "not shown"));
    EXPECT_FALSE(TIconRoutines::AddTrayIcon(record, nullptr, kTrayMessage));
    EXPECT_FALSE(record.Valid());

    const THiddenWindow window;
    ASSERT_TRUE(window.Get());
    if (!TIconRoutines::AddTrayIcon(record, window.Get(), kTrayMessage))
        GTEST_SKIP() << "no notification area to show the icon in";
    ASSERT_TRUE(record.Valid());
    EXPECT_EQ(window.Get(), record.Data().hWnd);
    EXPECT_EQ(kTrayMessage, record.Data().uCallbackMessage);
    EXPECT_TRUE(record.Data().hIcon);
    EXPECT_EQ("", record.Tip());

    EXPECT_TRUE(TIconRoutines::SetTrayTip(record, "Scanning C:\\"));
    EXPECT_FALSE(TIconRoutines::SetTrayTip(record, "Scanning C:\\"));
    EXPECT_EQ("Scanning C:\\", record.Tip());

    const std::string longText(100, 'a');
    EXPECT_TRUE(TIconRoutines::SetTrayTip(record, longText));
    EXPECT_EQ(longText.substr(0, 63), record.Tip());
    EXPECT_FALSE(TIconRoutines::SetTrayTip(record, longText + "b")) << "the same once cut";
    // A character beyond the 16-bit range is dropped whole, not halved.
    EXPECT_TRUE(TIconRoutines::SetTrayTip(record, std::string(62, 'b') + "\xF0\x9F\x98\x80"));
    EXPECT_EQ(std::string(62, 'b'), record.Tip());

    EXPECT_TRUE(TIconRoutines::RemoveTrayIcon(record));
    EXPECT_FALSE(record.Valid());
    EXPECT_FALSE(TIconRoutines::RemoveTrayIcon(record));
    EXPECT_FALSE(TIconRoutines::SetTrayTip(record, "gone"));
}

TEST(FileIcons, ProgramIconsAndSystemSmallIcons)
{
    EXPECT_GE(TIconRoutines::GetIconCount(ProgramPath()), 1);
    EXPECT_TRUE(TIconRoutines::ExtractSmallIcon(ProgramPath()));
    const std::string missing = ProgramPath() + ".missing.exe";
    EXPECT_EQ(0, TIconRoutines::GetIconCount(missing));
    EXPECT_FALSE(TIconRoutines::HasIcons(missing));
    EXPECT_FALSE(TIconRoutines::ExtractSmallIcon(missing));

    ASSERT_TRUE(TIconRoutines::SystemSmallImageList());
    EXPECT_GE(TIconRoutines::SystemSmallIconIndex("C:\\no such folder", true), 0);
    EXPECT_GE(TIconRoutines::SystemSmallIconIndex("x.txt", false), 0);
}
