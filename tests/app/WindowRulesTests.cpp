// The portable rules behind the program's windows: the drawn progress bar and the message box.
#include "ui/models/uMsgBoxLayout.h"
#include "ui/models/uProgressBarModel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(ProgressBarModel, ProgressIsClampedAndTheEmptyRangeShowsNothing)
{
    TProgressBarModel bar;
    EXPECT_EQ(0, bar.Minimum());
    EXPECT_EQ(100, bar.Maximum());
    EXPECT_EQ(TBarBorderStyle::bsSingle, bar.BorderStyle());
    EXPECT_TRUE(bar.DisplayText());
    EXPECT_EQ("0%", bar.Text());

    EXPECT_TRUE(bar.SetProgress(150));
    EXPECT_EQ(100, bar.Progress());
    EXPECT_EQ("100%", bar.Text());
    bar.SetProgress(-5);
    EXPECT_EQ(0, bar.Progress());

    TProgressBarModel empty;
    EXPECT_TRUE(empty.SetMaximum(0)) << "maximum equal to the minimum is allowed";
    EXPECT_EQ(0, empty.Percent());
    EXPECT_TRUE(empty.FilledRect(50, 10).Empty());
    EXPECT_EQ("0%", empty.Text());
}

TEST(ProgressBarModel, MinimumAndMaximumRulesMoveTheProgressAlong)
{
    TProgressBarModel bar;
    bar.SetProgress(30);
    EXPECT_FALSE(bar.SetMinimum(0)) << "equal";
    EXPECT_FALSE(bar.SetMinimum(101)) << "above the maximum";
    EXPECT_EQ(0, bar.Minimum());
    EXPECT_TRUE(bar.SetMinimum(50));
    EXPECT_EQ(50, bar.Progress()) << "raised to the new minimum";
    EXPECT_EQ(0, bar.Percent());

    EXPECT_FALSE(bar.SetMaximum(100)) << "equal";
    EXPECT_FALSE(bar.SetMaximum(49)) << "below the minimum";
    EXPECT_EQ(100, bar.Maximum());
    bar.SetProgress(90);
    EXPECT_TRUE(bar.SetMaximum(60));
    EXPECT_EQ(60, bar.Progress()) << "lowered to the new maximum";
    EXPECT_EQ(100, bar.Percent());
    EXPECT_TRUE(bar.SetMaximum(50)) << "down to the minimum";
    EXPECT_EQ(50, bar.Progress());
}

TEST(ProgressBarModel, RepaintOnlyWhenThePercentOrALookChanges)
{
    TProgressBarModel bar;
    bar.SetMaximum(1000);
    EXPECT_TRUE(bar.SetProgress(10));   // 1%
    EXPECT_FALSE(bar.SetProgress(19));  // still 1%
    EXPECT_EQ(19, bar.Progress());
    EXPECT_TRUE(bar.SetProgress(20));   // 2%
    EXPECT_FALSE(bar.SetProgress(20));

    EXPECT_FALSE(bar.SetForegroundColor(0x000000));
    EXPECT_TRUE(bar.SetForegroundColor(0x0000FF));
    EXPECT_FALSE(bar.SetBackgroundColor(0xFFFFFF));
    EXPECT_TRUE(bar.SetBackgroundColor(0x00FF00));
    EXPECT_FALSE(bar.SetOrientation(TBarOrientation::boHorizontal));
    EXPECT_TRUE(bar.SetOrientation(TBarOrientation::boVertical));
    EXPECT_FALSE(bar.SetBorderStyle(TBarBorderStyle::bsSingle));
    EXPECT_TRUE(bar.SetBorderStyle(TBarBorderStyle::bsNone));
    EXPECT_FALSE(bar.SetDisplayText(true));
    EXPECT_TRUE(bar.SetDisplayText(false));
}

TEST(ProgressBarModel, BarFillsFromTheLeftOrFromTheBottom)
{
    TProgressBarModel bar;
    bar.SetProgress(37);
    // Single border: a 202 x 52 client paints inside 1..201 x 1..51.
    EXPECT_EQ((TBarRect{1, 1, 201, 51}), bar.PaintArea(202, 52));
    EXPECT_EQ((TBarRect{1, 1, 1 + 74, 51}), bar.FilledRect(202, 52)) << "37% of 200";
    bar.SetBorderStyle(TBarBorderStyle::bsNone);
    EXPECT_EQ((TBarRect{0, 0, 101, 20}), bar.PaintArea(101, 20));
    EXPECT_EQ(37, bar.FilledRect(101, 20).Width()) << "trunc(37 * 101 / 100)";

    bar.SetOrientation(TBarOrientation::boVertical);
    EXPECT_EQ((TBarRect{0, 200 - 74, 30, 200}), bar.FilledRect(30, 200));
    bar.SetProgress(100);
    EXPECT_EQ(bar.PaintArea(30, 200), bar.FilledRect(30, 200));
    bar.SetProgress(0);
    EXPECT_TRUE(bar.FilledRect(30, 200).Empty());
    EXPECT_EQ(200, bar.FilledRect(30, 200).bottom);
}

TEST(ProgressBarModel, HugeRangesDoNotOverflow)
{
    TProgressBarModel bar;
    ASSERT_TRUE(bar.SetMaximum(std::numeric_limits<int32_t>::max()));
    ASSERT_TRUE(bar.SetMinimum(std::numeric_limits<int32_t>::min()));
    EXPECT_EQ(50, bar.Percent()) << "progress 0 in the middle of the full range";
    bar.SetProgress(std::numeric_limits<int32_t>::max());
    EXPECT_EQ(100, bar.Percent());
    EXPECT_EQ("100%", bar.Text());

    TProgressBarModel files;
    files.SetMaximum(2000000000);
    files.SetProgress(1500000000);
    EXPECT_EQ(75, files.Percent());
}

TEST(MsgBoxRules, TitlesImagesAndTheHighestCaptionWins)
{
    EXPECT_STREQ("Information", MsgBoxTitle(TMsgBoxKind::mkInformation));
    EXPECT_STREQ("Safe", MsgBoxTitle(TMsgBoxKind::mkSafe));
    EXPECT_STREQ("IMPORTANT", MsgBoxBitmapName(TMsgBoxKind::mkImportant));

    using namespace msgbox_buttons;
    auto set = MsgBoxButtons(kOK | kYes | kClose | kCancel | kNo);
    EXPECT_FALSE(set.showApplyToAll);
    EXPECT_TRUE(set.showAccept);
    EXPECT_EQ("Close", set.acceptCaption);
    EXPECT_TRUE(set.showRefuse);
    EXPECT_EQ("No", set.refuseCaption);

    set = MsgBoxButtons(kYesNoApplyToAll);
    EXPECT_TRUE(set.showApplyToAll);
    EXPECT_EQ("Yes", set.acceptCaption);
    EXPECT_EQ("No", set.refuseCaption);

    set = MsgBoxButtons(kOK | kCancel);
    EXPECT_EQ("OK", set.acceptCaption);
    EXPECT_EQ("Cancel", set.refuseCaption);

    set = MsgBoxButtons(kCloseOnly);
    EXPECT_TRUE(set.showAccept);
    EXPECT_FALSE(set.showRefuse);
    EXPECT_FALSE(set.showApplyToAll);
}

TEST(MsgBoxRules, ResultFollowsHowTheBoxClosed)
{
    EXPECT_EQ(TMsgBoxResult::mrAccept, MsgBoxResult(TMsgBoxClose::mcAcceptButton, false));
    EXPECT_EQ(TMsgBoxResult::mrAcceptAll, MsgBoxResult(TMsgBoxClose::mcAcceptButton, true));
    EXPECT_EQ(TMsgBoxResult::mrRefuse, MsgBoxResult(TMsgBoxClose::mcRefuseButton, false));
    EXPECT_EQ(TMsgBoxResult::mrRefuse, MsgBoxResult(TMsgBoxClose::mcTitleClose, false));
    EXPECT_EQ(TMsgBoxResult::mrRefuseAll, MsgBoxResult(TMsgBoxClose::mcEscape, true));
    EXPECT_EQ(TMsgBoxResult::mrAccept, MsgBoxResult(TMsgBoxClose::mcOther, true));
}

TEST(MsgBoxRules, HeightFitsTheTextAndTheBoxIsCentred)
{
    using namespace msgbox_layout;
    EXPECT_EQ(143 - 57 + 13 + 4, MsgBoxFittedHeight(13)) << "one line of 13 pixels";
    EXPECT_EQ(kClientHeight + kFitPadding, MsgBoxFittedHeight(kMessageHeight));

    const TMsgBoxArrangement a = MsgBoxArrange(13);
    EXPECT_EQ(103, a.clientHeight);
    EXPECT_EQ(13, a.message.height);
    EXPECT_EQ(kAcceptLeft, a.acceptButton.left);
    EXPECT_EQ(kRefuseLeft, a.refuseButton.left);
    EXPECT_EQ(a.clientHeight - 14, a.acceptButton.top + a.acceptButton.height) << "bottom anchor kept";
    EXPECT_EQ(kCheckTop - (kClientHeight - a.clientHeight), a.checkBox.top);
    EXPECT_EQ(kButtonTop, MsgBoxArrange(kMessageHeight - kFitPadding).acceptButton.top);

    const TMsgBoxPosition p = MsgBoxCentre(1920, 0, 1280, 1024, 465, 103);
    EXPECT_EQ(1920 + 640 - 232, p.left);
    EXPECT_EQ(512 - 51, p.top) << "each half truncated separately";
}
