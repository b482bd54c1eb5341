#pragma once
// The clean-up options pane: the catalogue's 23 options as an owner-drawn check list. The pane
// keeps the checks, refuses options whose program is missing, warns about the dangerous ones
// and tells the form how each row is drawn.
#include "app/uControllerInterfaces.h"
#include "app/uMainPanes.h"
#include "app/uOptionsView.h"
#include "prefs/VelaPreferences.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace options_texts {
extern const char* const kHeader; // two %d: checked rows, rows
extern const char* const kSkypeWarning;
extern const char* const kEmptyDirectoriesWarning;
extern const char* const kCustomFilesWarning;
extern const char* const kCustomDirectoriesWarning;
extern const char* const kSetSafe;
extern const char* const kSetDefault;
extern const char* const kSetAll;
extern const char* const kSetNone;
} // namespace options_texts

class TOptionsPane : public IOptionsPane {
public:
    TOptionsPane(IOptionsView& view, IMessageBoxService& messageBoxes, TPreferenceValues& preferences,
                 std::shared_ptr<ICleanupOptionsList> options);
    ~TOptionsPane() override;
    TOptionsPane(const TOptionsPane&) = delete;
    TOptionsPane& operator=(const TOptionsPane&) = delete;

    void RestoreChecks() override;
    TCleanupOptionSet StoreChecks() override;
    void ApplyPreset(TOptionPreset preset) override;
    void Repaint() override;
    void ApplyCustomMasks() override;

    // The checked rows as a mask, without storing it.
    TCleanupOptionSet Checks();
    std::string HeaderText();
    void RefreshHeader();

    // What the view reports, as the pane answers it.
    void CheckToggled(int32_t row);
    void DoubleClick(int32_t row);
    void Wheel(int32_t delta);
    TOptionRowDrawing DrawRow(int32_t row, bool selected);

    static TOptionRowDrawing RowDrawing(ICleanupOptionsListItem& option, bool selected);

private:
    void WireEvents();
    void SetChecks(TCleanupOptionSet mask);
    void SetRowChecked(int32_t row, bool checked);
    // The refusal or the warning for a row whose check just changed.
    void ReviewCheck(int32_t row);
    void Notify(TMsgBoxKind kind, const std::string& text);

    IOptionsView& view_;
    IMessageBoxService& messageBoxes_;
    TPreferenceValues& prefs_;
    std::shared_ptr<ICleanupOptionsList> options_;
    int32_t rowCount_ = 0; // one row per catalogue option, in catalogue order
    // Set while the pane changes checks itself, so they are not taken for the user's.
    bool settingChecks_ = false;
    // Wheel movement short of a notch (fine-resolution wheels), kept for the next message.
    int32_t wheelRest_ = 0;
};
