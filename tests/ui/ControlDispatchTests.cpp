// Every control's messages pass one procedure: a form's onMessage sees them first, then the
// control's own handling, for system window classes and the toolkit's own alike.
#include "ui/VelaSVProgressBar.h"
#include "ui/VelaUICheckList.h"
#include "ui/VelaUIControls.h"
#include "ui/VelaUITextView.h"
#include "ui/VelaUIToggleButton.h"
#include "ui/VelaUIVirtualListView.h"
#include "ui/VelaUIWindow.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
ui::TWindowArgs HiddenWindow()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    ui::TWindowArgs args;
    args.clientWidth = 400;
    args.clientHeight = 300;
    args.appWindow = false;
    return args;
}

constexpr ui::TDesignRect kPlace{40, 40, 120, 80};
constexpr UINT kProbe = WM_APP + 0x51;

// A screen point inside the control, well clear of the window's resize band.
LPARAM ScreenCentre(const ui::TControl& control)
{
    RECT bounds{};
    GetWindowRect(control.Handle(), &bounds);
    return MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
}
} // namespace

TEST(ControlDispatch, EveryKindOfControlHandsTheFormItsMessagesFirst)
{
    ui::TWindow window{HiddenWindow()};
    std::vector<ui::TControl*> controls{
        &window.Add<ui::TButton>(ui::TButtonArgs{.text = "Button", .rect = kPlace}),
        &window.Add<ui::TFlatButton>(ui::TFlatButtonArgs{.text = "Flat", .rect = kPlace}),
        &window.Add<ui::TCheckBox>(ui::TCheckBoxArgs{.text = "Check", .rect = kPlace}),
        &window.Add<ui::TRadioButton>(ui::TRadioButtonArgs{.text = "Radio", .rect = kPlace}),
        &window.Add<ui::TLabel>(ui::TLabelArgs{.text = "Label", .rect = kPlace}),
        &window.Add<ui::TEdit>(ui::TEditArgs{.rect = kPlace}),
        &window.Add<ui::TImage>(ui::TImageArgs{.rect = kPlace}),
        &window.Add<ui::TPanel>(ui::TPanelArgs{.rect = kPlace}),
        &window.Add<ui::TPageControl>(ui::TPageControlArgs{.rect = kPlace}),
        &window.Add<ui::TListView>(ui::TListViewArgs{.rect = kPlace}),
        &window.Add<ui::TTreeView>(ui::TTreeViewArgs{.rect = kPlace}),
        &window.Add<ui::TDatePicker>(ui::TDatePickerArgs{.rect = kPlace}),
        &window.Add<ui::TToggleButton>(ui::TToggleButtonArgs{.text = "Toggle", .rect = kPlace}),
        &window.Add<ui::TCheckList>(ui::TCheckListArgs{.rect = kPlace}),
        &window.Add<ui::TVirtualListView>(ui::TVirtualListArgs{.rect = kPlace}),
        &window.Add<ui::TTextView>(ui::TTextViewArgs{.rect = kPlace}),
        &window.Add<ui::TSVProgressBar>(ui::TProgressBarArgs{.rect = kPlace}),
    };
    for (ui::TControl* control : controls) {
        std::vector<WPARAM> seen;
        control->onMessage = [&seen](UINT message, WPARAM wParam, LPARAM) {
            if (message != kProbe && message != WM_NCHITTEST)
                return false;
            seen.push_back(wParam);
            return true;
        };
        char name[64] = "";
        GetClassNameA(control->Handle(), name, sizeof name);
        EXPECT_EQ(0, SendMessageW(control->Handle(), kProbe, 7, 0)) << name;
        // Taken by the form, a message the control answers itself is answered 0 instead.
        EXPECT_EQ(0, SendMessageW(control->Handle(), WM_NCHITTEST, 8, ScreenCentre(*control))) << name;
        EXPECT_EQ((std::vector<WPARAM>{7, 8}), seen) << name;
        control->onMessage = nullptr;
    }
}

TEST(ControlDispatch, WhatTheFormLeavesTheControlAnswersItself)
{
    ui::TWindow window{HiddenWindow()};
    auto& toggle = window.Add<ui::TToggleButton>(ui::TToggleButtonArgs{.text = "Toggle", .rect = kPlace});
    auto& image = window.Add<ui::TImage>(ui::TImageArgs{.rect = kPlace});
    auto& panel = window.Add<ui::TPanel>(ui::TPanelArgs{.rect = kPlace});
    auto& label = window.Add<ui::TLabel>(ui::TLabelArgs{.text = "Label", .rect = kPlace});
    int passed = 0;
    for (ui::TControl* control : std::vector<ui::TControl*>{&toggle, &image, &panel, &label})
        control->onMessage = [&passed](UINT, WPARAM, LPARAM) {
            ++passed;
            return false;
        };

    toggle.SetDown(true);
    passed = 0;
    EXPECT_EQ(BST_CHECKED, SendMessageW(toggle.Handle(), BM_GETCHECK, 0, 0)) << "a system class's control";
    EXPECT_EQ(HTTRANSPARENT, SendMessageW(image.Handle(), WM_NCHITTEST, 0, ScreenCentre(image)))
        << "a control of the toolkit's own class";
    EXPECT_EQ(HTCLIENT, SendMessageW(panel.Handle(), WM_NCHITTEST, 0, ScreenCentre(panel)));
    EXPECT_EQ(HTTRANSPARENT, SendMessageW(label.Handle(), WM_NCHITTEST, 0, ScreenCentre(label)))
        << "a label that does not act on the mouse leaves it to what lies below";
    label.onMouseDown = [] {};
    EXPECT_EQ(HTCLIENT, SendMessageW(label.Handle(), WM_NCHITTEST, 0, ScreenCentre(label)));
    EXPECT_EQ(5, passed);
}

TEST(ControlDispatch, AFillingColumnTakesTheListsWidthAtEverySize)
{
    ui::TWindow window{HiddenWindow()};
    auto& filling = window.Add<ui::TListView>(ui::TListViewArgs{.rect = kPlace, .fillColumn = true});
    auto& fixed = window.Add<ui::TListView>(ui::TListViewArgs{.rect = kPlace});
    const auto columnAndClient = [](const ui::TListView& list) {
        RECT client{};
        GetClientRect(list.Handle(), &client);
        return std::make_pair(ListView_GetColumnWidth(list.Handle(), 0), static_cast<int>(client.right));
    };
    for (ui::TListView* list : {&filling, &fixed}) {
        list->AddColumn("", 50);
        SetWindowPos(list->Handle(), nullptr, 0, 0, 250, 120, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    auto [width, client] = columnAndClient(filling);
    EXPECT_EQ(client, width);
    EXPECT_EQ(50, columnAndClient(fixed).first) << "a column of its own width keeps it";

    // Rows past the height bring the vertical scroll bar, which the column leaves room for.
    for (int i = 0; i < 40; ++i)
        filling.AddItem("row " + std::to_string(i));
    SetWindowPos(filling.Handle(), nullptr, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    std::tie(width, client) = columnAndClient(filling);
    EXPECT_LT(client, 200 - 4);
    EXPECT_EQ(client, width);
}
