#pragma once
// The list editor window: a toolbar, the field for a new item, the list of items and OK and
// Cancel on the shared dialog frame; TEditListController decides everything.
#include "app/uEditListView.h"
#include "app/uWindowServices.h"
#include "forms/uDialogWindow.h"
#include "ui/VelaSVRuntime.h"
#include "ui/VelaSVTMsgBox.h"

#include <map>
#include <memory>

class TEditListController;

class TfrmEditList : public forms::TDialogWindow, public IEditListView {
public:
    // Filled from arguments before it shows; writes the results back into them when it closes.
    TfrmEditList(TWindowArguments& arguments, HWND owner);
    ~TfrmEditList() override;

    int32_t ShowModal() override;

    TEditListViewEvents& Events() override { return events_; }
    void OnCommand(TEditListControl control, std::function<void()> handler) override;
    void SetText(TEditListControl control, const std::string& text) override;
    void SetGlyph(TEditListControl control, const std::string& bitmapName) override;
    void SetEnabled(TEditListControl control, bool enabled) override;
    void SetTitle(const std::string& text) override { TDialogWindow::SetTitle(text); }
    void Close(bool accepted) override { CloseWith(accepted ? kResultOK : kResultCancel); }
    int32_t MonitorNumber() override;

    std::string NewItemText() override;
    void SetNewItemText(const std::string& text) override;
    bool NewItemFocused() override;
    void FocusNewItem() override;
    void ShowNewItemTip(const std::string& title, const std::string& text) override;
    void RemoveNewItemTip() override { tip_.reset(); }

    int32_t RowCount() override;
    std::string RowText(int32_t row) override;
    void AddRow(const std::string& text) override;
    void DeleteRow(int32_t row) override;
    void DeleteAllRows() override;
    int32_t SelectedRow() override;
    void MoveSelectedRow(int32_t step) override;

    std::vector<std::string> ChooseFiles(const TOpenFileRequest& request) override;
    std::string ChooseFolder(const std::string& title, const std::string& root) override;

private:
    void CreateControls();
    ui::TControl* ControlOf(TEditListControl control);
    void Run(TEditListControl control);

    TWindowArguments& arguments_;
    std::map<TEditListControl, ui::TFlatButton*> toolButtons_;
    ui::TEdit* newItem_ = nullptr;
    ui::TButton* browseObject_ = nullptr;
    ui::TListView* items_ = nullptr;
    ui::TButton* ok_ = nullptr;
    ui::TButton* cancel_ = nullptr;
    ui::TToolTipHandle tip_;
    TEditListViewEvents events_;
    std::map<TEditListControl, std::function<void()>> commands_;
    ui::TMsgBoxService messageBoxes_;
    std::shared_ptr<TEditListController> controller_;
};
