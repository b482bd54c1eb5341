#include "ui/models/uMsgBoxLayout.h"

namespace msgbox_captions {
const char* const kApplyToAll = "Apply to all items";
const char* const kOK = "OK";
const char* const kYes = "Yes";
const char* const kClose = "Close";
const char* const kCancel = "Cancel";
const char* const kNo = "No";
} // namespace msgbox_captions

namespace {
constexpr const char* kTitles[] = {"Error", "Warning", "Information", "Confirm", "Important", "Safe"};
constexpr const char* kBitmaps[] = {"ERROR", "WARNING", "INFORMATION", "CONFIRM", "IMPORTANT", "SAFE"};
constexpr size_t kKinds = sizeof kTitles / sizeof kTitles[0];

size_t KindIndex(TMsgBoxKind kind)
{
    const auto index = static_cast<size_t>(kind);
    return index < kKinds ? index : 0;
}
} // namespace

const char* MsgBoxTitle(TMsgBoxKind kind) { return kTitles[KindIndex(kind)]; }

const char* MsgBoxBitmapName(TMsgBoxKind kind) { return kBitmaps[KindIndex(kind)]; }

TMsgBoxButtonSet MsgBoxButtons(uint32_t buttons)
{
    using namespace msgbox_buttons;
    TMsgBoxButtonSet set;
    set.showApplyToAll = (buttons & kApplyToAll) != 0;
    // Lowest first, so the highest requested bit's caption stands.
    const struct {
        uint32_t bit;
        bool accept;
        const char* caption;
    } captions[] = {{kOK, true, msgbox_captions::kOK},         {kYes, true, msgbox_captions::kYes},
                    {kClose, true, msgbox_captions::kClose},   {kCancel, false, msgbox_captions::kCancel},
                    {kNo, false, msgbox_captions::kNo}};
    for (const auto& caption : captions) {
        if ((buttons & caption.bit) == 0)
            continue;
        if (caption.accept) {
            set.showAccept = true;
            set.acceptCaption = caption.caption;
        } else {
            set.showRefuse = true;
            set.refuseCaption = caption.caption;
        }
    }
    return set;
}

TMsgBoxResult MsgBoxResult(TMsgBoxClose how, bool applyToAll)
{
    switch (how) {
    case TMsgBoxClose::mcAcceptButton:
        return applyToAll ? TMsgBoxResult::mrAcceptAll : TMsgBoxResult::mrAccept;
    case TMsgBoxClose::mcRefuseButton:
    case TMsgBoxClose::mcTitleClose:
    case TMsgBoxClose::mcEscape:
        return applyToAll ? TMsgBoxResult::mrRefuseAll : TMsgBoxResult::mrRefuse;
    case TMsgBoxClose::mcOther:
        break;
    }
    return TMsgBoxResult::mrAccept;
}

int32_t MsgBoxFittedHeight(int32_t measuredTextHeight)
{
    using namespace msgbox_layout;
    return kClientHeight + (measuredTextHeight - kMessageHeight) + kFitPadding;
}

TMsgBoxArrangement MsgBoxArrange(int32_t measuredTextHeight)
{
    using namespace msgbox_layout;
    TMsgBoxArrangement a;
    a.clientWidth = kClientWidth;
    a.clientHeight = MsgBoxFittedHeight(measuredTextHeight);
    a.bitmap = {kBitmapLeft, kBitmapTop, kBitmapSize, kBitmapSize};
    a.message = {kMessageLeft, kMessageTop, kMessageWidth, measuredTextHeight};
    const int32_t buttonTop = a.clientHeight - kButtonBottomMargin - kButtonHeight;
    a.acceptButton = {a.clientWidth - kAcceptRightMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight};
    a.refuseButton = {a.clientWidth - kRefuseRightMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight};
    a.checkBox = {kCheckLeft, a.clientHeight - kCheckBottomOffset, 0, 0};
    return a;
}

TMsgBoxPosition MsgBoxCentre(int32_t monitorLeft, int32_t monitorTop, int32_t monitorWidth, int32_t monitorHeight,
                             int32_t boxWidth, int32_t boxHeight)
{
    TMsgBoxPosition position;
    position.left = monitorLeft + monitorWidth / 2 - boxWidth / 2;
    position.top = monitorTop + monitorHeight / 2 - boxHeight / 2;
    return position;
}
