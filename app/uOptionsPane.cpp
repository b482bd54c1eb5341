#include "app/uOptionsPane.h"

#include "cycle/uCycleSetup.h"

namespace options_texts {
const char* const kHeader = " Clean-up Options [Selected: %d / %d]";
const char* const kSkypeWarning =
    "This option will delete the cache and received content for all Skype accounts stored on your computer.\r\n"
    "The opperation is NOT reversible.";
const char* const kEmptyDirectoriesWarning =
    "This option might delete your entire empty subdirectories hierarchy if it is not used correctly.\r\n"
    "The opperation is NOT reversible.";
const char* const kCustomFilesWarning =
    "Please check very carefully the files you declared in the Options window. This option might delete your "
    "entire data hierarchy if not used correctly.\r\nThe opperation is NOT reversible.";
const char* const kCustomDirectoriesWarning =
    "Please check very carefully the directories you declared in the Options window. This option might delete "
    "your entire directory hierarchy on your drive if not used correctly.\r\nThe opperation is NOT reversible.";
const char* const kSetSafe = "Set Safe";
const char* const kSetDefault = "Set Default";
const char* const kSetAll = "Set All";
const char* const kSetNone = "Set None";
} // namespace options_texts

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kUnavailableGrey = 0x808080;
constexpr uint32_t kDescriptionGrey = 0x555555;
constexpr uint32_t kSafeCaption = 0x400000;
constexpr uint32_t kPotentiallyUnsafeCaption = 0x033767;
constexpr uint32_t kUnsafeCaption = 0x000040;

// WHEEL_DELTA: one notch of a common wheel.
constexpr int32_t kWheelNotch = 120;

struct TOptionWarning {
    int32_t option;
    TMsgBoxKind kind;
    const char* text;
};

const TOptionWarning kWarnings[] = {
    {12, TMsgBoxKind::mkInformation, options_texts::kSkypeWarning},
    {20, TMsgBoxKind::mkWarning, options_texts::kEmptyDirectoriesWarning},
    {21, TMsgBoxKind::mkWarning, options_texts::kCustomFilesWarning},
    {22, TMsgBoxKind::mkWarning, options_texts::kCustomDirectoriesWarning},
};

} // namespace

TOptionsPane::TOptionsPane(IOptionsView& view, IMessageBoxService& messageBoxes, TPreferenceValues& preferences,
                           std::shared_ptr<ICleanupOptionsList> options)
    : view_(view), messageBoxes_(messageBoxes), prefs_(preferences), options_(std::move(options))
{
    // A mask holds no more than 32 options.
    while (rowCount_ < 32 && options_->GetItem(rowCount_))
        ++rowCount_;
    view_.SetRowCount(rowCount_);
    view_.SetPresetCaption(opSafe, options_texts::kSetSafe);
    view_.SetPresetCaption(opDefault, options_texts::kSetDefault);
    view_.SetPresetCaption(opAll, options_texts::kSetAll);
    view_.SetPresetCaption(opNone, options_texts::kSetNone);
    WireEvents();
    RefreshHeader();
}

TOptionsPane::~TOptionsPane()
{
    view_.Events() = {};
}

void TOptionsPane::WireEvents()
{
    TOptionsViewEvents& events = view_.Events();
    events.onRowCheckToggled = [this](int32_t row) { CheckToggled(row); };
    events.onDoubleClick = [this](int32_t row) { DoubleClick(row); };
    events.onWheel = [this](int32_t delta) { Wheel(delta); };
    events.onPreset = [this](TOptionPreset preset) { ApplyPreset(preset); };
    events.onDrawRow = [this](int32_t row, bool selected) { return DrawRow(row, selected); };
}

// ---- Checks ----

TCleanupOptionSet TOptionsPane::Checks()
{
    TCleanupOptionSet mask;
    for (int32_t row = 0; row < rowCount_; ++row)
        if (view_.RowChecked(row))
            mask.Include(row);
    return mask;
}

void TOptionsPane::SetRowChecked(int32_t row, bool checked)
{
    settingChecks_ = true;
    view_.SetRowChecked(row, checked);
    settingChecks_ = false;
}

void TOptionsPane::SetChecks(TCleanupOptionSet mask)
{
    for (int32_t row = 0; row < rowCount_; ++row)
        SetRowChecked(row, mask.Contains(row));
    RefreshHeader();
}

void TOptionsPane::RestoreChecks()
{
    SetChecks(TCycleSetup::RestoreMask(*options_, prefs_));
}

TCleanupOptionSet TOptionsPane::StoreChecks()
{
    const TCleanupOptionSet mask = Checks();
    prefs_.CleanupOptions = mask.Bits();
    return mask;
}

void TOptionsPane::ApplyPreset(TOptionPreset preset)
{
    SetChecks(TCycleSetup::PresetMask(*options_, preset));
}

std::string TOptionsPane::HeaderText()
{
    int32_t checked = 0;
    for (int32_t row = 0; row < rowCount_; ++row)
        if (view_.RowChecked(row))
            ++checked;
    std::string text = options_texts::kHeader;
    text.replace(text.find("%d"), 2, std::to_string(checked));
    text.replace(text.find("%d"), 2, std::to_string(rowCount_));
    return text;
}

void TOptionsPane::RefreshHeader()
{
    view_.SetHeaderText(HeaderText());
}

// ---- What the user does ----

void TOptionsPane::ReviewCheck(int32_t row)
{
    const auto option = options_->GetItem(row);
    if (!option)
        return;
    // Only a check just made is refused or warned about: taking a check away is always safe.
    if (!view_.RowChecked(row))
        return;
    if (!option->GetAvailable()) {
        SetRowChecked(row, false);
        Notify(TMsgBoxKind::mkInformation, TCycleSetup::FormatText(cycle_texts::kOptionNotAvailable, option->GetName()));
        return;
    }
    for (const TOptionWarning& warning : kWarnings)
        if (warning.option == row)
            Notify(warning.kind, warning.text);
}

void TOptionsPane::CheckToggled(int32_t row)
{
    if (settingChecks_ || row < 0 || row >= rowCount_)
        return;
    ReviewCheck(row);
    RefreshHeader();
}

void TOptionsPane::DoubleClick(int32_t row)
{
    if (row < 0 || row >= rowCount_)
        return;
    SetRowChecked(row, !view_.RowChecked(row));
    ReviewCheck(row);
    RefreshHeader();
}

void TOptionsPane::Wheel(int32_t delta)
{
    wheelRest_ += delta;
    for (; wheelRest_ >= kWheelNotch; wheelRest_ -= kWheelNotch)
        view_.PressArrowKey(false);
    for (; wheelRest_ <= -kWheelNotch; wheelRest_ += kWheelNotch)
        view_.PressArrowKey(true);
}

void TOptionsPane::Repaint()
{
    view_.Repaint();
}

void TOptionsPane::ApplyCustomMasks()
{
    TCycleSetup::ApplyCustomMasks(*options_, prefs_);
    view_.Repaint();
}

// ---- Drawing ----

TOptionRowDrawing TOptionsPane::RowDrawing(ICleanupOptionsListItem& option, bool selected)
{
    TOptionRowDrawing drawing;
    drawing.selected = selected;
    drawing.imageIndex = option.GetSafetyIndex();
    drawing.caption = option.GetName();
    drawing.description = option.GetDescription();
    drawing.available = option.GetAvailable();
    if (selected) {
        drawing.captionColour = drawing.descriptionColour = kWhite;
    } else if (!option.GetAvailable()) {
        drawing.captionColour = drawing.descriptionColour = kUnavailableGrey;
    } else {
        switch (option.GetSafety()) {
        case scSafe: drawing.captionColour = kSafeCaption; break;
        case scPotentiallyUnsafe: drawing.captionColour = kPotentiallyUnsafeCaption; break;
        default: drawing.captionColour = kUnsafeCaption; break;
        }
        drawing.descriptionColour = kDescriptionGrey;
    }
    return drawing;
}

TOptionRowDrawing TOptionsPane::DrawRow(int32_t row, bool selected)
{
    const auto option = options_->GetItem(row);
    if (!option)
        return {};
    return RowDrawing(*option, selected);
}

void TOptionsPane::Notify(TMsgBoxKind kind, const std::string& text)
{
    messageBoxes_.Execute(kind, text, view_.MonitorNumber(), TMsgBoxFocus::mfAccept, msgbox_buttons::kClose);
}
