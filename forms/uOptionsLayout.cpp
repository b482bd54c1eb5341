// Where the options window's controls sit, in design pixels. Captions come from the controller.
#include "forms/uOptions.h"

#include "ui/VelaSVWindowChrome.h"
#include "ui/VelaUIToggleButton.h"

using namespace ui;

namespace {
constexpr int kToolbarTop = chrome::kTitleHeight;
constexpr int kPageBarHeight = 52;
constexpr int kPagesTop = kToolbarTop + kPageBarHeight;
constexpr int kButtonHeight = 25;
constexpr int kButtonWidth = 81;
constexpr int kBottomMargin = 10;
constexpr COLORREF kToolbarGround = RGB(0xF0, 0xF0, 0xF0);
constexpr COLORREF kNoteColour = RGB(0x60, 0x60, 0x60);
constexpr int kCheckHeight = 17;
constexpr int kEditHeight = 21;

struct TPageButtonPlace {
    const char* name;
    const char* page;
};
constexpr TPageButtonPlace kPageButtons[] = {
    {"b1", "General"}, {"b2", "Scanner"}, {"b3", "Validator"}, {"b4", "Cleaner"}, {"b5", "Uninstall"}};
} // namespace

void TfrmOptions::CreateControls()
{
    TWindow& window = Window();
    const int innerWidth = kClientWidth - 2 * chrome::kFrameWidth;
    TPanel& toolbar =
        window.Add<TPanel>(TPanelArgs{.rect = {chrome::kFrameWidth, kToolbarTop, innerWidth, kPageBarHeight},
                                      .anchors = akLeft | akTop | akRight,
                                      .backColour = kToolbarGround,
                                      .name = "Pages"});
    for (size_t i = 0; i < std::size(kPageButtons); ++i) {
        TToggleButtonArgs args;
        args.rect = {6 + static_cast<int>(i) * 80, 3, 78, kPageBarHeight - 6};
        args.backColour = kToolbarGround;
        controls_[kPageButtons[i].name] = &toolbar.Add<TToggleButton>(args);
    }

    const int buttonsTop = kClientHeight - kBottomMargin - kButtonHeight;
    const int pagesHeight = buttonsTop - 8 - kPagesTop;
    pages_ =
        &window.Add<TPageControl>(TPageControlArgs{.rect = {chrome::kFrameWidth, kPagesTop, innerWidth, pagesHeight}});
    controls_["nbOptions"] = pages_;
    CreateGeneralPage(pages_->AddPage(kPageButtons[0].page));
    CreateScannerPage(pages_->AddPage(kPageButtons[1].page));
    CreateValidatorPage(pages_->AddPage(kPageButtons[2].page));
    CreateCleanerPage(pages_->AddPage(kPageButtons[3].page));
    CreateUninstallPage(pages_->AddPage(kPageButtons[4].page));

    const int right = kClientWidth - 12;
    controls_["btnDefaults"] = &window.Add<TButton>(TButtonArgs{.rect = {12, buttonsTop, kButtonWidth, kButtonHeight}});
    controls_["btnOK"] = &window.Add<TButton>(TButtonArgs{
        .rect = {right - 2 * kButtonWidth - 8, buttonsTop, kButtonWidth, kButtonHeight}, .isDefault = true});
    controls_["btnCancel"] =
        &window.Add<TButton>(TButtonArgs{.rect = {right - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight}});
}

void TfrmOptions::CreateGeneralPage(TPanel& page)
{
    const char* const boxes[] = {"cbConfirmations", "cbOpenObjectConfirmations", "cbAllowWindowTransparency",
                                 "cbUseFileSystemIcons", "cbQuotaReportsLargestCapacity"};
    int top = 12;
    for (const char* box : boxes) {
        AddCheck(page, box, {16, top, 360, kCheckHeight});
        top += 22;
    }
    AddLabel(page, "lblQuotaReportsLargestCapacity", {34, top - 3, 360, 14}, kNoteColour);
    top += 18;
    for (const char* box : {"cbEnableUninstallApplications", "cbEnableDriveInformation", "cbMinimizeToSystemTray"}) {
        AddCheck(page, box, {16, top, 360, kCheckHeight});
        top += 22;
    }
    AddCheck(page, "cbStartMinimized", {34, top, 340, kCheckHeight});
}

void TfrmOptions::CreateScannerPage(TPanel& page)
{
    int top = 12;
    for (const char* list : {"ExcludeFiles", "ExcludeDirectories", "CustomFiles", "CustomDirectories"}) {
        AddItemList(page, list, top);
        top += 28;
    }
    AddLabel(page, "lblCustomNotice1", {16, top + 4, 478, 42}, kNoColour, true);
    AddLabel(page, "lblCustomNotice2", {16, top + 50, 478, 42}, chrome::kAccent, true);
    AddCheck(page, "cbIgnoreSymbolicLinks", {16, top + 100, 300, kCheckHeight});
}

void TfrmOptions::AddItemList(TContainer& parent, const std::string& list, int top)
{
    // Label first: its accelerator moves the focus to the field that follows it.
    AddLabel(parent, "lbl" + list, {16, top + 4, 122, 14});
    AddEdit(parent, "edt" + list, {140, top, 300, kEditHeight});
    for (const auto& [prefix, left] : {std::pair<const char*, int>{"btnValidate", 446}, {"btnEdit", 472}}) {
        TFlatButtonArgs args;
        args.rect = {left, top, 23, kEditHeight};
        // The glyphs are drawn light, for the program's dark button grounds.
        args.backColour = chrome::kPaneHeader;
        args.hotColour = RGB(0x50, 0x50, 0x50);
        args.tabStop = true;
        controls_[prefix + list] = &parent.Add<TFlatButton>(args);
    }
}

void TfrmOptions::CreateValidatorPage(TPanel& page)
{
    AddCheck(page, "cbFileDateValidator", {16, 8, 300, kCheckHeight});
    TPanel& date = AddPanel(page, "pnlFileDateValidator", {34, 28, 460, 48}, "Date choice");
    const char* const choices[] = {"rbCreated", "rbModified", "rbAccessed", "rbOlder", "rbNewer"};
    for (size_t i = 0; i < std::size(choices); ++i)
        AddRadio(date, choices[i], {static_cast<int>(i) * 84, 0, 80, kCheckHeight}, i == 0);
    AddLabel(date, "lblDate", {0, 27, 40, 14});
    controls_["dtpDate"] = &date.Add<TDatePicker>(TDatePickerArgs{.rect = {44, 24, 110, kEditHeight}});

    AddCheck(page, "cbFileAttributesValidator", {16, 82, 300, kCheckHeight});
    TPanel& attributes = AddPanel(page, "pnlFileAttributesValidator", {34, 102, 460, 18}, "Attributes");
    const char* const flags[] = {"cbArchive", "cbReadOnly", "cbHidden", "cbSystem"};
    for (size_t i = 0; i < std::size(flags); ++i)
        AddCheck(attributes, flags[i], {static_cast<int>(i) * 92, 0, 88, kCheckHeight});

    AddCheck(page, "cbFileContentsValidator", {16, 126, 300, kCheckHeight});
    TPanel& contents = AddPanel(page, "pnlFileContentsValidator", {34, 146, 460, 22}, "Contents");
    AddLabel(contents, "lblContaining", {0, 4, 70, 14});
    AddEdit(contents, "edtContaining", {74, 0, 240, kEditHeight});
    AddCheck(contents, "cbCaseSensitive", {326, 2, 130, kCheckHeight});

    AddCheck(page, "cbFileSizeValidator", {16, 174, 300, kCheckHeight});
    TPanel& size = AddPanel(page, "pnlFileSizeValidator", {34, 194, 460, 22}, "Size");
    AddLabel(size, "lblMinimumSize", {0, 4, 126, 14});
    AddEdit(size, "edtMinimumSize", {128, 0, 64, kEditHeight});
    AddLabel(size, "lblMaximumSize", {210, 4, 130, 14});
    AddEdit(size, "edtMaximumSize", {342, 0, 64, kEditHeight});

    AddCheck(page, "cbIgnoreOnImplicitValidator", {16, 226, 300, kCheckHeight});
}

void TfrmOptions::CreateCleanerPage(TPanel& page)
{
    AddCheck(page, "cbSecureDeleteFiles", {16, 12, 300, kCheckHeight});
    TPanel& secure = AddPanel(page, "pnlSecureDeleteFiles", {34, 34, 460, 48}, "Secure deletion");
    AddLabel(secure, "lblSecureDeletePasses", {0, 4, 136, 14});
    auto& passes = static_cast<TEdit&>(AddEdit(secure, "edtSecureDeletePasses", {140, 0, 28, kEditHeight}, false));
    passes.onKeyPress = [this](wchar_t character) {
        if (events_.onPassesKey)
            events_.onPassesKey(character);
        return true;
    };
    AddCheck(secure, "cbRandomRewritePattern", {0, 28, 300, kCheckHeight});
    FindAs<TCheckBox>("cbSecureDeleteFiles")->onMouseUp = [this] {
        if (events_.onSecureDeleteMouseUp)
            events_.onSecureDeleteMouseUp();
    };
    AddCheck(page, "cbRecycle", {16, 96, 300, kCheckHeight});
    AddLabel(page, "lblRecycle", {34, 118, 460, 44}, kNoteColour, true);
}

void TfrmOptions::CreateUninstallPage(TPanel& page)
{
    AddCheck(page, "cbComputeSize", {16, 12, 300, kCheckHeight});
    AddLabel(page, "lblComputeSize", {34, 34, 460, 30}, kNoteColour, true);
}

TControl& TfrmOptions::AddCheck(TContainer& parent, const std::string& name, const TDesignRect& rect)
{
    return *(controls_[name] = &parent.Add<TCheckBox>(TCheckBoxArgs{.rect = rect}));
}

TControl& TfrmOptions::AddRadio(TContainer& parent, const std::string& name, const TDesignRect& rect, bool first)
{
    return *(controls_[name] = &parent.Add<TRadioButton>(TRadioButtonArgs{.rect = rect, .firstOfGroup = first}));
}

TControl& TfrmOptions::AddLabel(TContainer& parent, const std::string& name, const TDesignRect& rect, COLORREF colour,
                                bool wordWrap)
{
    TLabelArgs args;
    args.rect = rect;
    args.textColour = colour;
    args.wordWrap = wordWrap;
    return *(controls_[name] = &parent.Add<TLabel>(args));
}

TControl& TfrmOptions::AddEdit(TContainer& parent, const std::string& name, const TDesignRect& rect, bool contextMenu)
{
    TEditArgs args;
    args.rect = rect;
    args.contextMenu = contextMenu;
    return *(controls_[name] = &parent.Add<TEdit>(args));
}

TPanel& TfrmOptions::AddPanel(TContainer& parent, const std::string& name, const TDesignRect& rect,
                              const std::string& text)
{
    TPanel& panel = parent.Add<TPanel>(TPanelArgs{.rect = rect, .name = text});
    controls_[name] = &panel;
    return panel;
}
