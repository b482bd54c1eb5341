#pragma once
// The options window: a toolbar of five page buttons over the five pages of settings, and
// Defaults, OK and Cancel. Controls and their placement only; TOptionsController decides.
#include "app/uOptionsWindowView.h"
#include "forms/uDialogWindow.h"
#include "ui/VelaSVTMsgBox.h"

#include <map>
#include <memory>
#include <string>

namespace ui {
class TPageControl;
class TPanel;
class TContainer;
} // namespace ui

class TfrmOptions : public forms::TDialogWindow, public IOptionsWindowView {
public:
    static constexpr int kClientWidth = 520;
    static constexpr int kClientHeight = 380;

    // mainController: whose settings the window previews and applies; may be null.
    TfrmOptions(HWND owner, IMainController* mainController);
    ~TfrmOptions() override;

    int32_t ShowModal() override;

    TOptionsWindowEvents& Events() override { return events_; }
    bool HasControl(const std::string& name) override { return controls_.count(name) != 0; }
    void OnClick(const std::string& name, std::function<void()> handler) override;
    std::string Text(const std::string& name) override;
    void SetText(const std::string& name, const std::string& text) override;
    void SetHint(const std::string& name, const std::string& text) override;
    void SetGlyph(const std::string& name, const std::string& bitmap) override;
    bool Checked(const std::string& name) override;
    void SetChecked(const std::string& name, bool checked) override;
    void SetEnabled(const std::string& name, bool enabled) override;
    void SetVisible(const std::string& name, bool visible) override;
    void SetFocus(const std::string& name) override;
    void ShowPage(size_t index) override;
    size_t ActivePage() override;
    void SetDateFormat(const std::string& format) override;
    TDateTime Date() override;
    void SetDate(TDateTime value) override;
    int32_t MonitorNumber() override;
    void ApplyTransparencyToAll(bool enabled, uint8_t alpha) override;
    void Close(bool accepted) override;

private:
    // uOptionsLayout.cpp
    void CreateControls();
    void CreateGeneralPage(ui::TPanel& page);
    void CreateScannerPage(ui::TPanel& page);
    void CreateValidatorPage(ui::TPanel& page);
    void CreateCleanerPage(ui::TPanel& page);
    void CreateUninstallPage(ui::TPanel& page);
    // Each makes a named control of the kind in the container and returns it.
    ui::TControl& AddCheck(ui::TContainer& parent, const std::string& name, const ui::TDesignRect& rect);
    ui::TControl& AddRadio(ui::TContainer& parent, const std::string& name, const ui::TDesignRect& rect, bool first);
    ui::TControl& AddLabel(ui::TContainer& parent, const std::string& name, const ui::TDesignRect& rect,
                           COLORREF colour = ui::kNoColour, bool wordWrap = false);
    ui::TControl& AddEdit(ui::TContainer& parent, const std::string& name, const ui::TDesignRect& rect,
                          bool contextMenu = true);
    // text: what assistive tools call the group.
    ui::TPanel& AddPanel(ui::TContainer& parent, const std::string& name, const ui::TDesignRect& rect,
                         const std::string& text);
    // The label, field and validate and edit buttons of an item list, on one row.
    void AddItemList(ui::TContainer& parent, const std::string& list, int top);

    ui::TControl* Find(const std::string& name) const;
    template <class T>
    T* FindAs(const std::string& name) const
    {
        return dynamic_cast<T*>(Find(name));
    }

    std::map<std::string, ui::TControl*> controls_;
    ui::TPageControl* pages_ = nullptr;
    TOptionsWindowEvents events_;
    ui::TMsgBoxService messageBoxes_;
    std::shared_ptr<IOptionsController> controller_;
};
