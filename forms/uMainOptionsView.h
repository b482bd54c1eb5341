#pragma once
// The clean-up options on the main window's first page: a pane holding the option rows, each
// drawn with its check box, safety image, caption and description, over the preset buttons.
#include "app/uOptionsView.h"
#include "ui/VelaSVWindowChrome.h"
#include "ui/VelaUICheckList.h"

#include <memory>

class TMainOptionsView : public IOptionsView {
public:
    // Fills area of page: the pane, and below it a row of the four preset buttons.
    TMainOptionsView(ui::TContainer& page, const ui::TDesignRect& area, uint8_t anchors);
    ~TMainOptionsView() override;
    TMainOptionsView(const TMainOptionsView&) = delete;
    TMainOptionsView& operator=(const TMainOptionsView&) = delete;

    ui::TCheckList& List() { return *list_; }

    TOptionsViewEvents& Events() override { return events_; }
    void SetRowCount(int32_t count) override;
    bool RowChecked(int32_t row) override { return list_->Checked(row); }
    void SetRowChecked(int32_t row, bool checked) override { list_->SetChecked(row, checked); }
    void PressArrowKey(bool down) override { list_->MoveFocus(down ? 1 : -1); }
    void SetHeaderText(const std::string& text) override;
    void SetPresetCaption(TOptionPreset preset, const std::string& text) override;
    void Repaint() override { list_->Invalidate(); }
    int32_t MonitorNumber() override;

    static constexpr int kButtonHeight = 23;

private:
    void DrawRow(HDC dc, const RECT& content, int row, bool selected);

    std::unique_ptr<ui::TPane> pane_;
    ui::TCheckList* list_ = nullptr;
    HWND listHandle_ = nullptr;
    ui::TButton* presets_[4] = {};
    ui::TDpiBitmap safetyImages_[3];
    TOptionsViewEvents events_;
};
