// High contrast: while it is on, what the toolkit draws in the program's own colours takes the
// system's colours, and a window follows the mode going on and off while it is open.
#include "ui/VelaUIColours.h"
#include "ui/VelaUIControls.h"
#include "ui/VelaUIWindow.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kBlue = RGB(0, 0, 170);

// The colour of a point drawn by draw into a small bitmap of its own.
COLORREF Drawn(const std::function<void(HDC dc, RECT area)>& draw, POINT at = {4, 4})
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 100, 40);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const RECT area{0, 0, 100, 40};
    draw(dc, area);
    const COLORREF colour = GetPixel(dc, at.x, at.y);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return colour;
}

struct TWindowUnderTest {
    ui::TWindow window{[] {
        ui::TWindowArgs args;
        args.clientWidth = 300;
        args.clientHeight = 200;
        args.appWindow = false;
        args.background = kBlue;
        return args;
    }()};
    ui::TPanel& panel = window.Add<ui::TPanel>(ui::TPanelArgs{.rect = {10, 10, 100, 40}, .backColour = kRed});
    ui::TFlatButton& button = window.Add<ui::TFlatButton>(
        ui::TFlatButtonArgs{.text = "Go", .rect = {10, 60, 100, 40}, .textColour = kGreen, .backColour = kRed});
    ui::TLabel& label = window.Add<ui::TLabel>(
        ui::TLabelArgs{.text = "Words", .rect = {10, 110, 100, 20}, .textColour = kGreen, .backColour = kRed});
    // No colours of its own, as most labels and check boxes.
    ui::TLabel& plain = window.Add<ui::TLabel>(ui::TLabelArgs{.text = "Plain", .rect = {10, 140, 100, 20}});

    COLORREF WindowGround()
    {
        return Drawn([&](HDC dc, RECT) { SendMessageW(window.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); });
    }
    COLORREF PanelGround()
    {
        return Drawn([&](HDC dc, RECT) { SendMessageW(panel.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); });
    }
    COLORREF ButtonGround()
    {
        return Drawn([&](HDC dc, RECT area) {
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_BUTTON;
            item.hwndItem = button.Handle();
            item.hDC = dc;
            item.rcItem = area;
            button.HandleDrawItem(item);
        });
    }
    // A label's text colour and ground as its window hands them over.
    std::pair<COLORREF, COLORREF> LabelColours() { return ColoursOf(label); }
    std::pair<COLORREF, COLORREF> ColoursOf(ui::TLabel& which)
    {
        HDC dc = GetDC(which.Handle());
        SetTextColor(dc, kBlue); // what the window leaves alone stays
        const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
            window.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(which.Handle())));
        LOGBRUSH ground{};
        GetObjectW(brush, sizeof ground, &ground);
        const COLORREF text = GetTextColor(dc);
        ReleaseDC(label.Handle(), dc);
        return {text, ground.lbColor};
    }
};

} // namespace

TEST(HighContrast, DrawnPartsTakeTheSystemColoursWhileItIsOnAndTheirOwnAfter)
{
    TWindowUnderTest ui;
    EXPECT_EQ(kBlue, ui.WindowGround());
    EXPECT_EQ(kRed, ui.PanelGround());
    EXPECT_EQ(kRed, ui.ButtonGround());
    EXPECT_EQ(std::make_pair(kGreen, kRed), ui.LabelColours());

    ui::ForceHighContrast(true);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(window, ui.WindowGround()) << "the window's own ground too, brush made again";
    EXPECT_EQ(window, ui.PanelGround());
    EXPECT_EQ(window, ui.ButtonGround());
    EXPECT_EQ(std::make_pair(GetSysColor(COLOR_WINDOWTEXT), window), ui.LabelColours());
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), ui.ColoursOf(ui.plain).first) << "never the DC's black on black";

    ui::ForceHighContrast(false);
    EXPECT_EQ(kBlue, ui.WindowGround());
    EXPECT_EQ(kRed, ui.PanelGround());
    EXPECT_EQ(kRed, ui.ButtonGround());
    EXPECT_EQ(std::make_pair(kGreen, kRed), ui.LabelColours());
}
