// The program's message box on screen, driven from a second thread as a user would drive it.
#include "ui/MsgBoxDriver.h"

#include "ui/models/uMsgBoxLayout.h"
#include "ui/VelaSVSynchronizer.h"
#include "ui/VelaSVTMsgBox.h"
#include "ui/VelaUIWindow.h"

#include <gtest/gtest.h>

#include <thread>

using namespace msgbox_testing;
using namespace msgbox_buttons;

namespace {

const char kOneLine[] = "Delete the selected files?";

TMsgBoxResult RunConfirm(uint32_t buttons, TMsgBoxFocus focus, const std::function<bool(HWND)>& act,
                         const std::string& text = kOneLine, int32_t monitor = 0)
{
    TDriver driver(L"Confirm", act);
    const TMsgBoxResult result = ui::TMsgBox::Execute(TMsgBoxKind::mkConfirm, text, monitor, focus, buttons);
    EXPECT_TRUE(driver.Join()) << "the driver could not act on the box";
    return result;
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

} // namespace

TEST(MsgBox, EachWayOfClosingGivesItsResult)
{
    const struct {
        const char* name;
        bool check;
        std::function<void(HWND box)> close;
        TMsgBoxResult expected;
    } cases[] = {
        {"Yes", false, [](HWND box) { Click(PushButton(box, L"Yes")); }, TMsgBoxResult::mrAccept},
        {"Yes, all", true, [](HWND box) { Click(PushButton(box, L"Yes")); }, TMsgBoxResult::mrAcceptAll},
        {"No", false, [](HWND box) { Click(PushButton(box, L"No")); }, TMsgBoxResult::mrRefuse},
        {"No, all", true, [](HWND box) { Click(PushButton(box, L"No")); }, TMsgBoxResult::mrRefuseAll},
        {"title close", false, [](HWND box) { Click(GlyphButton(box, L"Close")); }, TMsgBoxResult::mrRefuse},
        {"title close, all", true, [](HWND box) { Click(GlyphButton(box, L"Close")); }, TMsgBoxResult::mrRefuseAll},
        {"Escape, all", true, [](HWND box) { PressKey(WaitForFocus(box), VK_ESCAPE); }, TMsgBoxResult::mrRefuseAll},
        {"Alt+F4", false, [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }, TMsgBoxResult::mrRefuse},
        {"closed by another", true, [](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); }, TMsgBoxResult::mrAccept},
    };
    for (const auto& c : cases) {
        const TMsgBoxResult result = RunConfirm(kYesNoApplyToAll, TMsgBoxFocus::mfAccept, [&](HWND box) {
            if (!PushButton(box, L"Yes") || !PushButton(box, L"No") || !GlyphButton(box, L"Close") || !CheckBox(box))
                return false;
            if (c.check)
                Click(CheckBox(box));
            c.close(box);
            return true;
        });
        EXPECT_EQ(static_cast<int>(c.expected), static_cast<int>(result)) << c.name;
    }
}

TEST(MsgBox, ButtonBitsShowTheirCaptionsAndEnterPressesTheFocusedOne)
{
    std::vector<std::wstring> shown;
    std::wstring focused;
    bool checkBoxShown = true;
    TMsgBoxResult result = RunConfirm(kYes | kNo, TMsgBoxFocus::mfRefuse, [&](HWND box) {
        HWND focus = WaitForFocus(box);
        shown = VisiblePushButtons(box);
        focused = TextOf(focus);
        checkBoxShown = IsWindowVisible(CheckBox(box)) != FALSE;
        PressKey(focus, VK_RETURN);
        return focus != nullptr;
    });
    EXPECT_EQ((std::vector<std::wstring>{L"No", L"Yes"}), shown);
    EXPECT_EQ(L"No", focused);
    EXPECT_FALSE(checkBoxShown);
    EXPECT_EQ(TMsgBoxResult::mrRefuse, result);

    // Only an accept button: it takes the focus asked of the missing refuse button; the title
    // bar's glyph has the same name, and Enter must not reach it.
    result = RunConfirm(kCloseOnly, TMsgBoxFocus::mfRefuse, [&](HWND box) {
        HWND focus = WaitForFocus(box);
        shown = VisiblePushButtons(box);
        focused = TextOf(focus);
        if (!focus || !GlyphButton(box, L"Close"))
            return false;
        PressKey(focus, VK_RETURN);
        return true;
    });
    EXPECT_EQ(std::vector<std::wstring>{L"Close"}, shown);
    EXPECT_EQ(L"Close", focused);
    EXPECT_EQ(TMsgBoxResult::mrAccept, result);
}

TEST(MsgBox, HeightFitsTheMessageWithNothingClipped)
{
    std::string longText = "These files could not be removed:\r\n"
                           "C:\\Users\\Someone\\AppData\\Local\\Temp\\"
                           "a-very-long-folder-name-without-any-space-in-it-at-all-0123456789abcdef\\file.tmp\r\n";
    for (int i = 0; i < 6; ++i)
        longText += "They are in use by another program & will be removed the next time Windows starts. ";

    struct TGeometry {
        int boxHeight = 0;
        RECT label{};
        RECT needed{};
        RECT client{};
        RECT buttons{};
    };
    auto measure = [](const std::string& text) {
        TGeometry g;
        RunConfirm(kYesNoApplyToAll, TMsgBoxFocus::mfAccept, [&](HWND box) {
            const auto labels = ChildrenWhere(box, [&](HWND c) { return TextOf(c) == Wide(text); });
            if (labels.size() != 1)
                return false;
            HWND label = labels.front();
            RECT window{};
            GetWindowRect(box, &window);
            g.boxHeight = window.bottom - window.top;
            GetClientRect(box, &g.client);
            GetWindowRect(label, &g.label);
            MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&g.label), 2);
            // What the label needs, drawn the way the static control draws itself.
            const LONG style = GetWindowLongW(label, GWL_STYLE);
            UINT format = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS;
            format |= (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
            format |= (style & SS_EDITCONTROL) ? DT_EDITCONTROL : 0;
            g.needed = {0, 0, g.label.right - g.label.left, 0};
            HDC dc = GetDC(label);
            HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
            const std::wstring wide = Wide(text);
            DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &g.needed, format);
            SelectObject(dc, previous);
            ReleaseDC(label, dc);
            for (HWND button : {PushButton(box, L"Yes"), PushButton(box, L"No"), CheckBox(box)}) {
                RECT r{};
                GetWindowRect(button, &r);
                MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
                UnionRect(&g.buttons, &g.buttons, &r);
            }
            Click(PushButton(box, L"Yes"));
            return true;
        }, text);
        return g;
    };
    const TGeometry one = measure(kOneLine);
    const TGeometry many = measure(longText);

    EXPECT_GT(many.boxHeight, one.boxHeight + 3 * (one.needed.bottom - one.needed.top));
    // The shown box follows the fitting rule for its own measured line (103 pixels for a 13-pixel line).
    using namespace msgbox_layout;
    EXPECT_EQ(kClientHeight + one.needed.bottom - kMessageHeight + kFitPadding, one.boxHeight);
    for (const TGeometry* g : {&one, &many}) {
        EXPECT_GE(g->label.bottom - g->label.top, g->needed.bottom) << "the last line is clipped";
        EXPECT_LE(g->needed.right, g->label.right - g->label.left) << "a long word runs past the edge";
        EXPECT_LE(g->label.bottom, g->buttons.top) << "the buttons cover the message";
        EXPECT_LE(g->buttons.bottom, g->client.bottom - msgbox_layout::kFrameWidth) << "the buttons are cut off";
    }
}

TEST(MsgBox, CentredOnThePrimaryMonitorForZeroOrAnUnknownNumber)
{
    MONITORINFO primary{};
    primary.cbSize = sizeof primary;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary);
    const RECT& m = primary.rcMonitor;
    for (const int32_t monitor : {0, 7}) {
        RECT box{};
        RunConfirm(kOK, TMsgBoxFocus::mfAccept, [&](HWND window) {
            GetWindowRect(window, &box);
            Click(PushButton(window, L"OK"));
            return true;
        }, kOneLine, monitor);
        const int width = box.right - box.left;
        const int height = box.bottom - box.top;
        EXPECT_EQ(m.left + (m.right - m.left) / 2 - width / 2, box.left) << monitor;
        EXPECT_EQ(m.top + (m.bottom - m.top) / 2 - height / 2, box.top) << monitor;
    }
}

TEST(MsgBox, FromAWorkersSynchronizedCallOwnedByTheActiveWindow)
{
    ui::TWindowArgs args;
    args.title = "Owner";
    args.clientWidth = 300;
    args.clientHeight = 200;
    args.appWindow = false;
    ui::TWindow owner(args);
    owner.Show(SW_SHOW);
    SetForegroundWindow(owner.Handle());
    ASSERT_EQ(owner.Handle(), GetActiveWindow());

    HWND boxOwner = nullptr;
    bool ownerEnabledMeanwhile = true;
    TDriver driver(L"Warning", [&](HWND box) {
        boxOwner = GetWindow(box, GW_OWNER);
        ownerEnabledMeanwhile = IsWindowEnabled(owner.Handle()) != FALSE;
        Click(CheckBox(box));
        Click(PushButton(box, L"Yes"));
        return true;
    });
    auto synchronizer = std::make_shared<TSVSynchronizer>();
    TMsgBoxResult result = TMsgBoxResult::mrRefuse;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        synchronizer->Synchronize([&] {
            result = ui::TMsgBoxService().Execute(TMsgBoxKind::mkWarning, "Continue?", 0, TMsgBoxFocus::mfAccept,
                                                  kYesNoApplyToAll);
        });
        done = true;
    });
    const DWORD deadline = GetTickCount() + 20000;
    MSG message;
    while (!done && GetTickCount() < deadline) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    ASSERT_TRUE(done) << "the synchronized call never returned";
    worker.join();
    EXPECT_TRUE(driver.Join());
    EXPECT_EQ(owner.Handle(), boxOwner);
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle())) << "the owner must get its input back";
    EXPECT_EQ(TMsgBoxResult::mrAcceptAll, result);
}

TEST(MsgBox, EveryKindShowsItsTitleTextAndPicture)
{
    for (int kind = 0; kind <= 5; ++kind) {
        const auto boxKind = static_cast<TMsgBoxKind>(kind);
        const std::wstring title = Wide(MsgBoxTitle(boxKind));
        std::wstring shownText;
        bool hasPicture = false;
        TDriver driver(title, [&](HWND box) {
            for (HWND child : ChildrenWhere(box, [](HWND) { return true; })) {
                wchar_t className[32] = {};
                GetClassNameW(child, className, 32);
                if (std::wstring(className) == L"Static" && TextOf(child).find(L"Second line") != std::wstring::npos)
                    shownText = TextOf(child);
                hasPicture = hasPicture || std::wstring(className) == L"QuillsweepImage";
            }
            Click(PushButton(box, L"OK"));
            return true;
        });
        EXPECT_EQ(TMsgBoxResult::mrAccept, ui::TMsgBox::Execute(boxKind, "First line.\r\nSecond line.", 0,
                                                                TMsgBoxFocus::mfAccept, kOK | kCancel));
        EXPECT_TRUE(driver.Join()) << MsgBoxTitle(boxKind);
        EXPECT_EQ(L"First line.\r\nSecond line.", shownText) << MsgBoxTitle(boxKind);
        EXPECT_TRUE(hasPicture) << MsgBoxTitle(boxKind);
    }
}
