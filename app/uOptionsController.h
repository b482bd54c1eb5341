#pragma once
// The options window's controller: loads the controls from the preferences, previews some settings
// on the main window while they are edited (and takes the previews back unless OK stores them),
// checks the item lists, and on OK stores every control and has the main window apply them.
// The controls are the only working copy of the edited values.
#include "app/uControllerInterfaces.h"
#include "app/uOptionsWindowView.h"
#include "app/uWindowController.h"
#include "prefs/VelaPreferences.h"
#include "prefs/uPreferences.h"
#include "prefs/uSettings.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace options_texts {
extern const char* const kTitle;
extern const char* const kSecureDeleteWarning;
// %s = the character, %s = the item.
extern const char* const kInvalidCharacter;
// %s = the field's caption.
extern const char* const kValidSelection;
extern const char* const kSelectDateModifier;
// %s = the field's caption.
extern const char* const kNotStorable;
extern const char* const kValidateHint;
extern const char* const kEditHint;
// %s = the settings file.
extern const char* const kSettingsNotSaved;
} // namespace options_texts

class TOptionsController : public TWindowController, public IOptionsController {
public:
    static constexpr uint8_t kPreviewAlpha = 245;
    static constexpr size_t kPageCount = 5;

    TOptionsController(IOptionsWindowView& view, IMessageBoxService& messageBoxes, IWindowServices& windowServices,
                       TPreferenceValues& preferences = Preferences());
    TOptionsController(const TOptionsController&) = delete;
    TOptionsController& operator=(const TOptionsController&) = delete;

    void LoadStrings() override;
    int32_t ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult) override;
    void SetMainController(IMainController& mainController) override { main_ = &mainController; }

    // The first character of an item list that no file name may hold, and its item.
    struct TItemFault {
        std::string character;
        std::string item;
    };
    static std::optional<TItemFault> FindInvalidItem(const std::string& text);
    // A size field as stored: its digits (and a minus sign before them) as a number; 0 when there is
    // none, when it does not fit, or when it is negative.
    static int32_t ParseSize(const std::string& text);
    // The passes field's whole text after a character was typed into it.
    static std::string PassesTextAfterKey(uint32_t character);
    // A caption as a field's name in messages: without "&" and ":".
    static std::string FieldName(const std::string& caption);

protected:
    void WireEvents() override;
    void LoadImages() override;

private:
    void SelectPage(size_t index);
    // The controls take the values; pages limits it to one page (the Defaults button).
    void LoadControls(const TPreferenceValues& values, std::optional<size_t> page);
    void ShowPanelOf(const std::string& checkBox);
    void ApplyStartMinimizedRule();
    // A check box's click behaviour beyond its own tick: previews, panels, the rule.
    void CheckBoxClicked(const std::string& name);
    void SecureDeleteMouseUp();
    // The Recycle Bin box as stored, Secure Delete Files unticked beside a tick.
    void LoadRecycle(bool value);
    void PassesKey(uint32_t character);

    // The item check of one field; false after it told the user.
    bool CheckItems(const std::string& field);
    void ValidateClicked(const std::string& button);
    void EditClicked(const std::string& button);
    void Defaults();
    void Ok();
    void Closed(bool accepted);
    void StoreControls();
    void UndoPreviews();
    // The page showing and the focus on a control, for a message about it.
    void FocusOn(const std::string& name);

    TMsgBoxResult Notify(TMsgBoxKind kind, const std::string& text);

    IOptionsWindowView& view_;
    IMessageBoxService& messageBoxes_;
    IWindowServices& windowServices_;
    TPreferenceValues& prefs_;
    IMainController* main_ = nullptr;
    TSettings settings_;
};
