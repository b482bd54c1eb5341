#include "app/uOptionsController.h"

#include "cycle/uCycleSetup.h"
#include "prefs/VelaCrypto.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace options_texts {
const char* const kTitle = "Options";
const char* const kSecureDeleteWarning =
    "The Secure Delete Files option does not work with SSD devices.\r\nIf your computer contains a solid-state "
    "drive (SSD) instead of a hard disk drive (HDD), please disable this option because it will cause aggressive "
    "disk wear. In addition the deleted data will still be readily available to recovery software.";
const char* const kInvalidCharacter =
    "An invalid character (\"%s\") was found while attempting to validate the \"%s\" file or directory name.\r\n"
    "Please correct this error in order to continue.";
const char* const kValidSelection = "The \"%s\" field seems to contain a valid selection of items.";
const char* const kSelectDateModifier = "Please select a date modifier in order to properly use the File Date Validator.";
const char* const kNotStorable =
    "The \"%s\" field contains characters that cannot be kept in the preferences file.\r\n"
    "Only plain ASCII characters can be stored. Please correct this error in order to continue.";
const char* const kValidateHint = "Validate the items format";
const char* const kEditHint = "Mass edit the items";
const char* const kSettingsNotSaved = "The settings could not be saved to \"%s\".";
} // namespace options_texts

namespace {

constexpr size_t kGeneral = 0, kScanner = 1, kValidator = 2, kCleaner = 3, kUninstall = 4;

struct TCheckBinding {
    const char* name;
    bool TPreferenceValues::*value;
    size_t page;
};
// Table order is the order Defaults changes them in, so Minimize to System Tray comes before
// Start Minimized.
constexpr TCheckBinding kChecks[] = {
    {"cbConfirmations", &TPreferenceValues::Confirmations, kGeneral},
    {"cbOpenObjectConfirmations", &TPreferenceValues::OpenObjectConfirmations, kGeneral},
    {"cbAllowWindowTransparency", &TPreferenceValues::AllowWindowTransparency, kGeneral},
    {"cbUseFileSystemIcons", &TPreferenceValues::UseFileSystemIcons, kGeneral},
    {"cbQuotaReportsLargestCapacity", &TPreferenceValues::QuotaReportsLargestCapacity, kGeneral},
    {"cbEnableUninstallApplications", &TPreferenceValues::EnableUninstallApplications, kGeneral},
    {"cbEnableDriveInformation", &TPreferenceValues::EnableDriveInformation, kGeneral},
    {"cbMinimizeToSystemTray", &TPreferenceValues::MinimizeToSystemTray, kGeneral},
    {"cbStartMinimized", &TPreferenceValues::StartMinimized, kGeneral},
    {"cbIgnoreSymbolicLinks", &TPreferenceValues::IgnoreSymbolicLinks, kScanner},
    {"cbFileDateValidator", &TPreferenceValues::FileDateValidator, kValidator},
    {"rbCreated", &TPreferenceValues::DateCreated, kValidator},
    {"rbModified", &TPreferenceValues::DateModified, kValidator},
    {"rbAccessed", &TPreferenceValues::DateAccessed, kValidator},
    {"rbOlder", &TPreferenceValues::DateOlder, kValidator},
    {"rbNewer", &TPreferenceValues::DateNewer, kValidator},
    {"cbFileAttributesValidator", &TPreferenceValues::FileAttributesValidator, kValidator},
    {"cbArchive", &TPreferenceValues::AttributeArchive, kValidator},
    {"cbReadOnly", &TPreferenceValues::AttributeReadOnly, kValidator},
    {"cbHidden", &TPreferenceValues::AttributeHidden, kValidator},
    {"cbSystem", &TPreferenceValues::AttributeSystem, kValidator},
    {"cbFileContentsValidator", &TPreferenceValues::FileContentsValidator, kValidator},
    {"cbCaseSensitive", &TPreferenceValues::CaseSensitive, kValidator},
    {"cbFileSizeValidator", &TPreferenceValues::FileSizeValidator, kValidator},
    {"cbIgnoreOnImplicitValidator", &TPreferenceValues::IgnoreOnImplicitValidator, kValidator},
    {"cbSecureDeleteFiles", &TPreferenceValues::SecureDeleteFiles, kCleaner},
    {"cbRandomRewritePattern", &TPreferenceValues::RandomRewritePattern, kCleaner},
    {"cbComputeSize", &TPreferenceValues::ComputeSize, kUninstall},
};

struct TTextBinding {
    const char* name;
    std::string TPreferenceValues::*value;
    size_t page;
};
// The fields whose text is stored as typed; the preferences file holds only ASCII in them.
constexpr TTextBinding kTexts[] = {
    {"edtExcludeFiles", &TPreferenceValues::ExcludeFiles, kScanner},
    {"edtExcludeDirectories", &TPreferenceValues::ExcludeDirectories, kScanner},
    {"edtCustomFiles", &TPreferenceValues::CustomFiles, kScanner},
    {"edtCustomDirectories", &TPreferenceValues::CustomDirectories, kScanner},
    {"edtContaining", &TPreferenceValues::Containing, kValidator},
};

// The four item lists, in the order OK checks them; each has a label, a validate and an edit button.
constexpr const char* kItemLists[] = {"ExcludeFiles", "ExcludeDirectories", "CustomFiles", "CustomDirectories"};

constexpr const char* kPanelBoxes[] = {"cbFileDateValidator", "cbFileAttributesValidator", "cbFileContentsValidator",
                                       "cbFileSizeValidator", "cbSecureDeleteFiles"};
constexpr const char* kDateChoices[] = {"rbCreated", "rbModified", "rbAccessed", "rbOlder", "rbNewer"};

struct TPageButton {
    const char* name;
    const char* caption;
    const char* glyph;
};
constexpr TPageButton kPageButtons[] = {{"b1", "&General", "general22"},
                                        {"b2", "&Scanner", "scanner22"},
                                        {"b3", "&Validator", "validator22"},
                                        {"b4", "&Cleaner", "cleaner22"},
                                        {"b5", "&Uninstall", "uninstall22"}};

struct TCaption {
    const char* name;
    const char* text;
};
constexpr TCaption kCaptions[] = {
    {"btnDefaults", "Defaults"},
    {"btnOK", "OK"},
    {"btnCancel", "Cancel"},
    {"cbConfirmations", "Confir&mations"},
    {"cbOpenObjectConfirmations", "&Open Object Confirmations"},
    {"cbAllowWindowTransparency", "Allow Window &Transparency"},
    {"cbUseFileSystemIcons", "Use &File System Icons"},
    {"cbQuotaReportsLargestCapacity", "&Quota Reports to the Largest Found Capacity"},
    {"lblQuotaReportsLargestCapacity", "Otherwise quota reports to the total found capacity."},
    {"cbEnableUninstallApplications", "Enable U&ninstall Applications"},
    {"cbEnableDriveInformation", "Enable &Drive Information"},
    {"cbMinimizeToSystemTray", "Minimi&ze to System Tray"},
    {"cbStartMinimized", "St&art Minimized"},
    {"lblExcludeFiles", "Exclude Fil&es:"},
    {"lblExcludeDirectories", "Exclude Di&rectories:"},
    {"lblCustomFiles", "Custom &Files:"},
    {"lblCustomDirectories", "Custom &Directories:"},
    {"lblCustomNotice1",
     "Separate exclude and custom files and/or directories by a semicolon (;) in order to scan for files matching "
     "these search criteria. You can use any known wildcards that are supported by the operating system."},
    {"lblCustomNotice2",
     "Warning: Misuse of these options may DELETE your entire data, possibly without a warning. These opperations "
     "are NOT reversible and are reserved for power and advanced users only."},
    {"cbIgnoreSymbolicLinks", "Ignore Sy&mbolic Links"},
    {"cbFileDateValidator", "File &Date Validator"},
    {"rbCreated", "Created"},
    {"rbModified", "Modified"},
    {"rbAccessed", "Accessed"},
    {"rbOlder", "Older"},
    {"rbNewer", "Newer"},
    {"lblDate", "Dat&e:"},
    {"cbFileAttributesValidator", "File &Attributes Validator"},
    {"cbArchive", "Archive"},
    {"cbReadOnly", "Read Only"},
    {"cbHidden", "Hidden"},
    {"cbSystem", "System"},
    {"cbFileContentsValidator", "File C&ontents Validator"},
    {"lblContaining", "Con&taining:"},
    {"cbCaseSensitive", "Case Sens&itive"},
    {"cbFileSizeValidator", "File Si&ze Validator"},
    {"lblMinimumSize", "Mi&nimum Size (in Ko):"},
    {"lblMaximumSize", "Ma&ximum Size (in Ko):"},
    {"cbIgnoreOnImplicitValidator", "Ignore on Implicit &Validator"},
    {"cbSecureDeleteFiles", "Secure Delete &Files"},
    {"lblSecureDeletePasses", "Secure &Delete Passes:"},
    {"cbRandomRewritePattern", "&Random Rewrite Pattern"},
    {"cbRecycle", "Move Objects to the Recycle Bin"},
    {"lblRecycle",
     "Objects moved to the Recycle Bin are not overwritten: ticking this option unticks Secure Delete Files, and "
     "the other way round. They can be restored, and still use their space, until the Recycle Bin is emptied."},
    {"cbComputeSize", "C&ompute Size"},
    {"lblComputeSize", "Attempts to compute the size of every installed software Application."},
};

// Controls a message can point at outside the binding tables, and their pages.
struct TPlace {
    const char* name;
    size_t page;
};
constexpr TPlace kOtherPlaces[] = {{"pnlFileDateValidator", kValidator}, {"dtpDate", kValidator},
                                   {"edtMinimumSize", kValidator},       {"edtMaximumSize", kValidator},
                                   {"edtSecureDeletePasses", kCleaner}};

// A window's modal result when it was cancelled.
constexpr int32_t kModalResultCancel = 2;

constexpr const char* kStartMinimized = "cbStartMinimized";
constexpr const char* kMinimizeToTray = "cbMinimizeToSystemTray";
constexpr const char* kPasses = "edtSecureDeletePasses";
// Kept in the settings file of our own, not in the preferences.
constexpr const char* kRecycle = "cbRecycle";
constexpr const char* kSecureDelete = "cbSecureDeleteFiles";

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The name with its leading prefix (any letter case) replaced; empty when it does not start so.
std::string ReplacePrefix(const std::string& name, const std::string& prefix, const std::string& replacement)
{
    if (Lower(name.substr(0, prefix.size())) != Lower(prefix))
        return "";
    return replacement + name.substr(prefix.size());
}

std::optional<size_t> PageOf(const std::string& name)
{
    for (const TCheckBinding& check : kChecks)
        if (name == check.name)
            return check.page;
    for (const TTextBinding& text : kTexts)
        if (name == text.name)
            return text.page;
    for (const TPlace& place : kOtherPlaces)
        if (name == place.name)
            return place.page;
    return std::nullopt;
}

} // namespace

TOptionsController::TOptionsController(IOptionsWindowView& view, IMessageBoxService& messageBoxes,
                                       IWindowServices& windowServices, TPreferenceValues& preferences)
    : view_(view), messageBoxes_(messageBoxes), windowServices_(windowServices), prefs_(preferences)
{
    Initialize();
    view_.SetDateFormat("yyyy-MM-dd");
    SelectPage(kGeneral);
}

int32_t TOptionsController::ResizeHitTest(int32_t, int32_t, int32_t, int32_t, int32_t systemResult)
{
    return systemResult; // fixed size
}

// ---- Routines ----

std::optional<TOptionsController::TItemFault> TOptionsController::FindInvalidItem(const std::string& text)
{
    for (const std::string& item : TStringRoutines::SplitString(text, ';'))
        for (char c : item)
            if (c == '"' || c == '/' || c == '<' || c == '>' || c == '?' || c == '|')
                return TItemFault{std::string(1, c), item};
    return std::nullopt;
}

int32_t TOptionsController::ParseSize(const std::string& text)
{
    const int64_t value = TStringRoutines::DigitsToIntDef(text);
    if (value < 0 || value > std::numeric_limits<int32_t>::max())
        return 0;
    return static_cast<int32_t>(value);
}

std::string TOptionsController::PassesTextAfterKey(uint32_t character)
{
    if (character == 8) // Backspace
        return "";
    if (character >= '1' && character <= '7')
        return std::string(1, static_cast<char>(character));
    return "1";
}

std::string TOptionsController::FieldName(const std::string& caption)
{
    std::string name;
    for (char c : caption)
        if (c != '&' && c != ':')
            name += c;
    return name;
}

// ---- Building ----

void TOptionsController::WireEvents()
{
    for (const TPageButton& button : kPageButtons) {
        const size_t page = static_cast<size_t>(button.name[1] - '1');
        view_.OnClick(button.name, [this, page] { SelectPage(page); });
    }
    view_.OnClick("btnDefaults", [this] { Defaults(); });
    view_.OnClick("btnOK", [this] { Ok(); });
    view_.OnClick("btnCancel", [this] { view_.Close(false); });
    for (const char* name : {"cbAllowWindowTransparency", "cbUseFileSystemIcons", "cbQuotaReportsLargestCapacity",
                             kMinimizeToTray})
        view_.OnClick(name, [this, name] { CheckBoxClicked(name); });
    for (const char* name : kPanelBoxes)
        view_.OnClick(name, [this, name] { CheckBoxClicked(name); });
    view_.OnClick(kRecycle, [this] { CheckBoxClicked(kRecycle); });
    for (const char* list : kItemLists) {
        const std::string validate = std::string("btnValidate") + list;
        const std::string edit = std::string("btnEdit") + list;
        view_.OnClick(validate, [this, validate] { ValidateClicked(validate); });
        view_.OnClick(edit, [this, edit] { EditClicked(edit); });
    }

    TOptionsWindowEvents& events = view_.Events();
    events.onShow = [this] {
        settings_.Load(TCycleSetup::SettingsFile(prefs_));
        LoadControls(prefs_, std::nullopt);
        LoadRecycle(settings_.Recycle());
        // Said once, here, where the setting it cost is shown; OK writes a whole file again.
        if (!settings_.Notice().empty())
            Notify(TMsgBoxKind::mkWarning, settings_.Notice());
    };
    events.onClosed = [this](bool accepted) { Closed(accepted); };
    events.onPassesKey = [this](uint32_t character) { PassesKey(character); };
    events.onSecureDeleteMouseUp = [this] { SecureDeleteMouseUp(); };
}

void TOptionsController::LoadImages()
{
    for (const TPageButton& button : kPageButtons)
        view_.SetGlyph(button.name, button.glyph);
    for (const char* list : kItemLists) {
        view_.SetGlyph(std::string("btnValidate") + list, "btn_validate");
        view_.SetGlyph(std::string("btnEdit") + list, "btn_edit");
    }
}

void TOptionsController::LoadStrings()
{
    view_.SetText("if_title", options_texts::kTitle);
    view_.SetHint("if_close", "Close");
    for (const TPageButton& button : kPageButtons)
        view_.SetText(button.name, button.caption);
    for (const TCaption& caption : kCaptions)
        view_.SetText(caption.name, caption.text);
    for (const char* list : kItemLists) {
        view_.SetHint(std::string("btnValidate") + list, options_texts::kValidateHint);
        view_.SetHint(std::string("btnEdit") + list, options_texts::kEditHint);
    }
}

void TOptionsController::SelectPage(size_t index)
{
    view_.ShowPage(index);
    for (size_t i = 0; i < kPageCount; ++i)
        view_.SetChecked(kPageButtons[i].name, i == index);
}

// ---- Loading and the rules between controls ----

void TOptionsController::LoadControls(const TPreferenceValues& values, std::optional<size_t> page)
{
    const auto onPage = [&page](size_t controlPage) { return !page || *page == controlPage; };
    for (const TCheckBinding& check : kChecks) {
        if (!onPage(check.page))
            continue;
        const bool value = values.*check.value;
        const bool changed = view_.Checked(check.name) != value;
        view_.SetChecked(check.name, value);
        // Defaults act like the user's own clicks.
        if (page && changed)
            CheckBoxClicked(check.name);
    }
    for (const TTextBinding& text : kTexts)
        if (onPage(text.page))
            view_.SetText(text.name, values.*text.value);
    if (onPage(kValidator)) {
        view_.SetDate(values.ValidatorDate);
        view_.SetText("edtMinimumSize", std::to_string(values.MinimumSize));
        view_.SetText("edtMaximumSize", std::to_string(values.MaximumSize));
    }
    if (onPage(kCleaner))
        view_.SetText(kPasses, std::to_string(values.SecureDeletePasses));
    if (!page) {
        for (const char* box : kPanelBoxes)
            ShowPanelOf(box);
        ApplyStartMinimizedRule();
    }
}

void TOptionsController::ShowPanelOf(const std::string& checkBox)
{
    view_.SetVisible("pnl" + checkBox.substr(2), view_.Checked(checkBox));
}

// A tick given to Start Minimized does not outlive switching Minimize to System Tray off and on.
void TOptionsController::ApplyStartMinimizedRule()
{
    const bool enabled = view_.Checked(kMinimizeToTray);
    view_.SetEnabled(kStartMinimized, enabled);
    view_.SetChecked(kStartMinimized, enabled && prefs_.StartMinimized);
}

void TOptionsController::CheckBoxClicked(const std::string& name)
{
    const bool checked = view_.Checked(name);
    if (name == "cbAllowWindowTransparency") {
        view_.ApplyTransparencyToAll(checked, kPreviewAlpha);
    } else if (name == "cbUseFileSystemIcons") {
        if (main_)
            main_->SetFileSystemIcons(checked);
    } else if (name == "cbQuotaReportsLargestCapacity") {
        if (main_)
            main_->PreviewQuotaMode(checked);
    } else if (name == kMinimizeToTray) {
        if (main_)
            main_->PreviewMinimizeToTray(checked);
        ApplyStartMinimizedRule();
    } else if (std::find(std::begin(kPanelBoxes), std::end(kPanelBoxes), name) != std::end(kPanelBoxes)) {
        ShowPanelOf(name);
    }
    // What goes to the bin is kept whole: ticking one of the two unticks the other.
    const char* other = name == kRecycle ? kSecureDelete : name == kSecureDelete ? kRecycle : nullptr;
    if (checked && other && view_.Checked(other)) {
        view_.SetChecked(other, false);
        if (other == kSecureDelete)
            ShowPanelOf(kSecureDelete);
    }
}

void TOptionsController::LoadRecycle(bool value)
{
    view_.SetChecked(kRecycle, value);
    if (value && view_.Checked(kSecureDelete)) {
        view_.SetChecked(kSecureDelete, false);
        ShowPanelOf(kSecureDelete);
    }
}

void TOptionsController::SecureDeleteMouseUp()
{
    if (view_.Checked("cbSecureDeleteFiles"))
        Notify(TMsgBoxKind::mkWarning, options_texts::kSecureDeleteWarning);
}

void TOptionsController::PassesKey(uint32_t character) { view_.SetText(kPasses, PassesTextAfterKey(character)); }

// ---- Buttons ----

bool TOptionsController::CheckItems(const std::string& field)
{
    const std::optional<TItemFault> fault = FindInvalidItem(view_.Text(field));
    if (!fault)
        return true;
    Notify(TMsgBoxKind::mkError, TCycleSetup::FormatText(options_texts::kInvalidCharacter, {fault->character, fault->item}));
    FocusOn(field);
    return false;
}

void TOptionsController::ValidateClicked(const std::string& button)
{
    const std::string label = ReplacePrefix(button, "btnValidate", "lbl");
    const std::string field = ReplacePrefix(button, "btnValidate", "edt");
    if (label.empty() || !view_.HasControl(label) || !view_.HasControl(field) || !CheckItems(field))
        return;
    Notify(TMsgBoxKind::mkInformation, TCycleSetup::FormatText(options_texts::kValidSelection, FieldName(view_.Text(label))));
}

void TOptionsController::EditClicked(const std::string& button)
{
    const std::string label = ReplacePrefix(button, "btnEdit", "lbl");
    const std::string field = ReplacePrefix(button, "btnEdit", "edt");
    if (label.empty() || !view_.HasControl(label) || !view_.HasControl(field))
        return;
    const bool directories = Lower(label).find("files") == std::string::npos;
    std::string text = view_.Text(field);
    bool changed = false;
    const int32_t result = windowServices_.ShowEditList(FieldName(view_.Text(label)), text, directories, changed);
    if (result != kModalResultCancel && changed)
        view_.SetText(field, text);
}

void TOptionsController::Defaults()
{
    TPreferenceValues defaults(false);
    defaults.SetDefaults();
    LoadControls(defaults, view_.ActivePage());
    if (view_.ActivePage() == kCleaner)
        LoadRecycle(false);
}

void TOptionsController::Ok()
{
    for (const char* list : kItemLists)
        if (!CheckItems(std::string("edt") + list))
            return;
    if (view_.Checked("cbFileDateValidator") &&
        std::none_of(std::begin(kDateChoices), std::end(kDateChoices), [this](const char* choice) { return view_.Checked(choice); })) {
        Notify(TMsgBoxKind::mkInformation, options_texts::kSelectDateModifier);
        FocusOn("pnlFileDateValidator");
        return;
    }
    for (const TTextBinding& text : kTexts) {
        if (TStringCryptography::IsTranscodable(view_.Text(text.name)))
            continue;
        const std::string label = "lbl" + std::string(text.name).substr(3);
        Notify(TMsgBoxKind::mkError, TCycleSetup::FormatText(options_texts::kNotStorable, FieldName(view_.Text(label))));
        FocusOn(text.name);
        return;
    }
    StoreControls();
    if (view_.Checked(kRecycle) != settings_.Recycle()) {
        settings_.SetRecycle(view_.Checked(kRecycle));
        if (!settings_.Save())
            Notify(TMsgBoxKind::mkError, TCycleSetup::FormatText(options_texts::kSettingsNotSaved, settings_.FileName()));
    }
    if (main_) {
        main_->UpdateTrayTip();
        main_->ApplyFeatureVisibility();
        main_->ApplyCustomMasks();
        main_->RepaintOptions();
    }
    view_.Close(true);
}

void TOptionsController::StoreControls()
{
    for (const TCheckBinding& check : kChecks)
        prefs_.*check.value = view_.Checked(check.name);
    for (const TTextBinding& text : kTexts)
        prefs_.*text.value = view_.Text(text.name);
    prefs_.ValidatorDate = view_.Date();
    prefs_.MinimumSize = ParseSize(view_.Text("edtMinimumSize"));
    prefs_.MaximumSize = ParseSize(view_.Text("edtMaximumSize"));
    // An emptied passes field keeps the stored count: the cleaner needs 1 to 7.
    const int64_t passes = TStringRoutines::DigitsToIntDef(view_.Text(kPasses));
    if (passes >= 1 && passes <= 7)
        prefs_.SecureDeletePasses = static_cast<uint8_t>(passes);
}

void TOptionsController::Closed(bool accepted)
{
    if (!accepted)
        UndoPreviews();
}

// Back to what the stored preferences say, the notification-area icon included.
void TOptionsController::UndoPreviews()
{
    view_.ApplyTransparencyToAll(prefs_.AllowWindowTransparency, kPreviewAlpha);
    if (!main_)
        return;
    main_->PreviewMinimizeToTray(prefs_.MinimizeToSystemTray);
    main_->UpdateTrayTip();
    main_->SetFileSystemIcons(prefs_.UseFileSystemIcons);
    main_->PreviewQuotaMode(prefs_.QuotaReportsLargestCapacity);
    main_->ApplyFeatureVisibility();
}

void TOptionsController::FocusOn(const std::string& name)
{
    if (const std::optional<size_t> page = PageOf(name); page && *page != view_.ActivePage())
        SelectPage(*page);
    view_.SetFocus(name);
}

TMsgBoxResult TOptionsController::Notify(TMsgBoxKind kind, const std::string& text)
{
    return messageBoxes_.Execute(kind, text, view_.MonitorNumber(), TMsgBoxFocus::mfAccept, msgbox_buttons::kCloseOnly);
}
