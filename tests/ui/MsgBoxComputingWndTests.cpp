// The "Computing..." popup: what it does to its owner's input and to the activation.
#include "ui/VelaSVComputingWnd.h"
#include "ui/VelaUIWindow.h"

#include <gtest/gtest.h>

namespace {

ui::TWindowArgs OwnerArgs()
{
    ui::TWindowArgs args;
    args.title = "Owner";
    args.clientWidth = 400;
    args.clientHeight = 300;
    args.appWindow = false;
    return args;
}

HWND Popup() { return FindWindowW(L"frmComputing", L"Computing..."); }

} // namespace

TEST(ComputingWindow, ShowDisablesTheOwnerWithoutActivatingAndCloseGivesItBack)
{
    ui::TWindow owner(OwnerArgs());
    owner.Show(SW_SHOW);
    SetForegroundWindow(owner.Handle());

    auto computing = ui::TComputingWindowSupport::Create(owner.Handle(), true, false, true);
    computing->Show();
    ASSERT_TRUE(IsWindowVisible(Popup()));
    EXPECT_EQ(owner.Handle(), GetWindow(Popup(), GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(owner.Handle()));
    EXPECT_EQ(owner.Handle(), GetActiveWindow());
    RECT popup{}, own{};
    GetWindowRect(Popup(), &popup);
    GetWindowRect(owner.Handle(), &own);
    EXPECT_EQ((own.left + own.right) / 2, (popup.left + popup.right) / 2);
    EXPECT_EQ((own.top + own.bottom) / 2, (popup.top + popup.bottom) / 2);
    computing->SetMaximum(2);
    for (int i = 0; i < 3; ++i)
        computing->Step();
    computing->Close();
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    EXPECT_EQ(nullptr, Popup());

    // Released without Close, it still gives the input back.
    computing = ui::TComputingWindowSupport::Create(owner.Handle(), false, true, true);
    computing->Show();
    EXPECT_FALSE(IsWindowEnabled(owner.Handle()));
    computing.reset();
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));

    // An owner disabled by someone else (a modal box) stays so; one not to disable stays enabled.
    EnableWindow(owner.Handle(), FALSE);
    computing = ui::TComputingWindowSupport::Create(owner.Handle(), false, true, true);
    computing->Show();
    computing->Close();
    EXPECT_FALSE(IsWindowEnabled(owner.Handle()));
    EnableWindow(owner.Handle(), TRUE);
    computing = ui::TComputingWindowSupport::Create(owner.Handle(), false, true, false);
    computing->Show();
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    computing->Close();
}
