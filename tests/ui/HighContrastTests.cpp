// High contrast: while it is on, what the toolkit draws in the program's own colours takes the
// system's colours, and a window follows the mode going on and off while it is open. Bigger text
// (Windows' text size): windows lay out for it, and follow a change while open.
#include "ui/VelaSVWindowChrome.h"
#include "ui/VelaUIColours.h"
#include "ui/VelaUIControls.h"
#include "ui/VelaUIWindow.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <set>

namespace {

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kBlue = RGB(0, 0, 170);

// Draws with draw into a small bitmap of its own, then reads it with read.
template <typename Read>
auto DrawnInto(const std::function<void(HDC dc, RECT area)>& draw, Read read)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 100, 40);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const RECT area{0, 0, 100, 40};
    draw(dc, area);
    const auto result = read(dc, area);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return result;
}

// Every colour drawn by draw over a ground of kBlue, up to a right edge.
std::set<COLORREF> ColoursDrawn(const std::function<void(HDC dc, RECT area)>& draw, int right = 100)
{
    return DrawnInto(
        [&](HDC dc, RECT area) {
            HBRUSH ground = CreateSolidBrush(kBlue);
            FillRect(dc, &area, ground);
            DeleteObject(ground);
            draw(dc, area);
        },
        [&](HDC dc, RECT area) {
            std::set<COLORREF> colours;
            for (int y = 0; y < area.bottom; ++y)
                for (int x = 0; x < right; ++x)
                    colours.insert(GetPixel(dc, x, y));
            return colours;
        });
}

// The colour of a point drawn by draw.
COLORREF Drawn(const std::function<void(HDC dc, RECT area)>& draw, POINT at = {4, 4})
{
    return DrawnInto(draw, [&](HDC dc, RECT) { return GetPixel(dc, at.x, at.y); });
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
    // A message box's picture: drawn on a white ground of its own.
    ui::TImage& picture = window.Add<ui::TImage>(ui::TImageArgs{.bitmap = "ERROR", .rect = {150, 10, 32, 32}});
    ui::TButton& push = window.Add<ui::TButton>(ui::TButtonArgs{.text = "Stop", .rect = {150, 60, 80, 24}});
    ui::TFlatButton& command = window.Add<ui::TFlatButton>(
        ui::TFlatButtonArgs{.text = "Add", .rect = {150, 100, 80, 24}, .glyph = "btn_add", .captionBeside = true});

    COLORREF WindowGround()
    {
        return Drawn([&](HDC dc, RECT) { SendMessageW(window.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); });
    }
    ui::TWindowChrome chrome{window, ui::TChromeArgs{}};

    COLORREF PanelGround()
    {
        return Drawn([&](HDC dc, RECT) { SendMessageW(panel.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); });
    }
    // The title bar's top left corner, where the window's outline runs.
    COLORREF TitleCorner()
    {
        return Drawn(
            [&](HDC dc, RECT) {
                SendMessageW(chrome.TitleBar().Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            },
            {0, 0});
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
    COLORREF PictureAt(POINT at)
    {
        return Drawn(
            [&](HDC dc, RECT) {
                SendMessageW(picture.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
            },
            at);
    }
    // What a disabled push button draws of its own over the system's frame.
    std::set<COLORREF> DisabledPushCaption()
    {
        push.SetEnabled(false);
        return ColoursDrawn([&](HDC dc, RECT area) {
            NMCUSTOMDRAW draw{};
            draw.hdr = {push.Handle(), 0, static_cast<UINT>(NM_CUSTOMDRAW)};
            draw.dwDrawStage = CDDS_PREPAINT;
            draw.hdc = dc;
            draw.rc = area;
            LRESULT result = 0;
            push.HandleNotify(draw.hdr, result);
        });
    }
    // A disabled command's glyph, without the caption beside it.
    std::set<COLORREF> DisabledGlyph()
    {
        command.SetEnabled(false);
        return ColoursDrawn(
            [&](HDC dc, RECT area) {
                DRAWITEMSTRUCT item{};
                item.CtlType = ODT_BUTTON;
                item.hwndItem = command.Handle();
                item.hDC = dc;
                item.itemState = ODS_DISABLED;
                item.rcItem = area;
                command.HandleDrawItem(item);
            },
            command.Scale(4 + 16));
    }
    // The colours a list hands the system for its selected row while it has no focus.
    std::pair<COLORREF, COLORREF> UnfocusedSelectedRow(ui::TControl& list, int stage, DWORD_PTR row)
    {
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr = {list.Handle(), 0, static_cast<UINT>(NM_CUSTOMDRAW)};
        draw.nmcd.dwDrawStage = stage;
        draw.nmcd.dwItemSpec = row;
        draw.nmcd.uItemState = CDIS_SELECTED;
        draw.clrText = kGreen;
        draw.clrTextBk = kRed;
        SetFocus(window.Handle());
        LRESULT result = 0;
        list.HandleNotify(draw.nmcd.hdr, result);
        return {draw.clrText, draw.clrTextBk};
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
    EXPECT_EQ(RGB(0, 0, 0), ui.TitleCorner());

    ui::ForceHighContrast(true);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(window, ui.WindowGround()) << "the window's own ground too, brush made again";
    EXPECT_EQ(window, ui.PanelGround());
    EXPECT_EQ(window, ui.ButtonGround());
    EXPECT_EQ(std::make_pair(GetSysColor(COLOR_WINDOWTEXT), window), ui.LabelColours());
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), ui.ColoursOf(ui.plain).first) << "never the DC's black on black";
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), ui.TitleCorner()) << "the outline closes round the title";

    ui::ForceHighContrast(false);
    EXPECT_EQ(kBlue, ui.WindowGround());
    EXPECT_EQ(kRed, ui.PanelGround());
    EXPECT_EQ(kRed, ui.ButtonGround());
    EXPECT_EQ(std::make_pair(kGreen, kRed), ui.LabelColours());
}

TEST(HighContrast, PicturesLoseTheirOwnGroundDisabledPartsTakeTheGreyTextAndSelectionsStayHighlighted)
{
    TWindowUnderTest ui;
    ui.picture.SetGroundRole(ui::TColourRole::Frame); // a ground other than the picture's white
    const POINT corner{1, 1};
    const POINT middle{ui.picture.Scale(16), ui.picture.Scale(16)}; // on the cross inside the disc
    ASSERT_EQ(RGB(255, 255, 255), ui.PictureAt(corner));
    ASSERT_EQ(RGB(255, 255, 255), ui.PictureAt(middle));
    const std::set<COLORREF> normalGlyph = ui.DisabledGlyph();

    ui::ForceHighContrast(true);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), ui.PictureAt(corner)) << "no white square around the picture";
    EXPECT_EQ(RGB(255, 255, 255), ui.PictureAt(middle)) << "the same white inside it stays";
    // Its edge was smoothed against white: now against the ground, with no light rim around it.
    int edge = 0;
    while (edge < middle.x && ui.PictureAt({edge, middle.y}) == GetSysColor(COLOR_WINDOWTEXT))
        ++edge;
    const auto lightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    ASSERT_LT(edge, middle.x);
    EXPECT_LE(lightness(ui.PictureAt({edge, middle.y})), lightness(ui.PictureAt({edge + 3, middle.y})));
    EXPECT_EQ((std::set<COLORREF>{GetSysColor(COLOR_WINDOW), grey}), ui.DisabledGlyph())
        << "a disabled command's picture is its shape in grey, never washed out into the ground";
    const std::set<COLORREF> caption = ui.DisabledPushCaption();
    EXPECT_TRUE(caption.count(grey)) << "a disabled caption in grey, not embossed like an enabled one";
    EXPECT_FALSE(caption.count(GetSysColor(COLOR_BTNTEXT)));

    ui::TListView& list = ui.window.Add<ui::TListView>(ui::TListViewArgs{.rect = {10, 170, 100, 30}});
    list.AddColumn("Name", 80, LVCFMT_LEFT);
    list.AddItem("desktop.ini");
    ListView_SetItemState(list.Handle(), 0, LVIS_SELECTED, LVIS_SELECTED);
    ui::TTreeView& tree = ui.window.Add<ui::TTreeView>(ui::TTreeViewArgs{.rect = {150, 170, 100, 30}});
    HTREEITEM node = tree.AddItem(nullptr, "C:", false);
    TreeView_SelectItem(tree.Handle(), node);
    const auto highlighted = std::make_pair(GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(highlighted, ui.UnfocusedSelectedRow(list, CDDS_ITEMPREPAINT, 0)) << "never grey on the button face";
    EXPECT_EQ(highlighted, ui.UnfocusedSelectedRow(list, CDDS_ITEMPREPAINT | CDDS_SUBITEM, 0));
    EXPECT_EQ(highlighted, ui.UnfocusedSelectedRow(tree, CDDS_ITEMPREPAINT, reinterpret_cast<DWORD_PTR>(node)));

    ui::ForceHighContrast(false);
    EXPECT_EQ(std::make_pair(kGreen, kRed), ui.UnfocusedSelectedRow(list, CDDS_ITEMPREPAINT, 0));
    EXPECT_EQ(std::make_pair(kGreen, kRed),
              ui.UnfocusedSelectedRow(tree, CDDS_ITEMPREPAINT, reinterpret_cast<DWORD_PTR>(node)));
    EXPECT_EQ(RGB(255, 255, 255), ui.PictureAt(corner));
    EXPECT_EQ(normalGlyph, ui.DisabledGlyph());
    EXPECT_EQ(std::set<COLORREF>{kBlue}, ui.DisabledPushCaption()) << "out of high contrast the system draws it";
    ui.push.SetEnabled(true);
    EXPECT_EQ(std::set<COLORREF>{kBlue}, ui.DisabledPushCaption());
}

TEST(TextScale, FollowsTheLargerOfTheSettingAndTheMessageFont)
{
    const struct {
        int height, dpi, setting, scale;
    } cases[] = {
        {-12, 96, 0, 100},    // Segoe UI 9 points, as Windows has it
        {-11, 96, 0, 100},    // Tahoma 8 points (Windows XP, Wine): never smaller than designed
        {-18, 96, 0, 150},    // text made half as big again
        {-18, 144, 0, 100},   // the normal font at 150 % scaling
        {-27, 144, 0, 150},
        {21, 96, 0, 142},     // a cell height: its characters are about 5/6 of it
        {-12, 96, 175, 175},  // the setting alone
        {-27, 96, 150, 225},  // the larger of the two
        {-60, 96, 0, 225},    // Windows' limit
        {-12, 96, 400, 225},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.scale, ui::TextScaleOf(c.height, c.dpi, c.setting))
            << c.height << " at " << c.dpi << ", " << c.setting;
}

TEST(TextScale, AWindowLaysOutForBiggerTextAndFollowsAChangeWhileOpen)
{
    ui::ForceTextScale(100);
    TWindowUnderTest ui;
    const auto clientOf = [](HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        return client;
    };
    const auto fontHeightOf = [](HWND control) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        return std::abs(font.lfHeight);
    };
    const RECT window = clientOf(ui.window.Handle());
    const RECT label = clientOf(ui.label.Handle());
    const int font = fontHeightOf(ui.label.Handle());

    ui::ForceTextScale(150);
    EXPECT_NEAR(window.right * 3 / 2, clientOf(ui.window.Handle()).right, 1);
    EXPECT_NEAR(window.bottom * 3 / 2, clientOf(ui.window.Handle()).bottom, 1);
    EXPECT_NEAR(label.bottom * 3 / 2, clientOf(ui.label.Handle()).bottom, 1) << "room for the bigger text";
    EXPECT_NEAR(font * 3 / 2, fontHeightOf(ui.label.Handle()), 1);
    EXPECT_NEAR(font * 3 / 2, fontHeightOf(ui.button.Handle()), 1);

    ui::TWindow later{ui::TWindowArgs{
        .clientWidth = 300, .clientHeight = 200, .minimumWidth = 250, .minimumHeight = 150, .appWindow = false}};
    EXPECT_EQ(window.right * 3 / 2, clientOf(later.Handle()).right) << "a window opened meanwhile starts so";
    SetWindowPos(later.Handle(), nullptr, 0, 0, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    EXPECT_EQ(later.Scale(250), clientOf(later.Handle()).right) << "never below the minimum its text needs now";
    EXPECT_EQ(later.Scale(150), clientOf(later.Handle()).bottom);

    ui::ForceTextScale(0);
    EXPECT_EQ(window.right, clientOf(ui.window.Handle()).right);
    EXPECT_EQ(label.bottom, clientOf(ui.label.Handle()).bottom);
    EXPECT_EQ(font, fontHeightOf(ui.label.Handle()));
}
