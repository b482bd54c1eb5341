#pragma once
// The found-objects list on the main window's second page: a pane whose header the objects
// pane writes, over a virtual list whose every cell that pane supplies.
#include "app/uObjectsView.h"
#include "ui/VelaSVWindowChrome.h"
#include "ui/VelaUIVirtualListView.h"

#include <memory>
#include <optional>

class TMainObjectsView : public IObjectsView {
public:
    // Builds the pane and its list in area of page. Like the other panes it must go before
    // the window that holds it.
    TMainObjectsView(ui::TContainer& page, const ui::TDesignRect& area, uint8_t anchors);
    ~TMainObjectsView() override;
    TMainObjectsView(const TMainObjectsView&) = delete;
    TMainObjectsView& operator=(const TMainObjectsView&) = delete;

    ui::TPane& Pane() { return *pane_; }
    ui::TVirtualListView& List() { return *list_; }

    TObjectsViewEvents& Events() override { return events_; }
    void SetColumns(const std::vector<TObjectsColumnInfo>& columns) override;
    void SetHeaderText(const std::string& text) override { pane_->Header().SetTextThrottled(text); }

    void SetRowCount(int32_t count) override { list_->SetRowCount(count); }
    void RedrawRows(int32_t first, int32_t last) override { list_->RedrawRows(first, last); }
    void RedrawAll() override { list_->RedrawAll(); }

    std::vector<int32_t> SelectedRows() override { return list_->SelectedRows(); }
    void SelectRows(const std::vector<int32_t>& rows) override { list_->SelectRows(rows); }
    void SelectAll(bool selected) override { list_->SelectAll(selected); }
    int32_t FocusedRow() override { return list_->FocusedRow(); }
    void FocusRow(int32_t row) override { list_->FocusRow(row); }
    void EnsureVisible(int32_t row) override { list_->EnsureVisible(row); }

    void SetSortImage(int32_t column, TSortImage image) override;
    void SetEnabled(bool enabled) override;
    void SetImageList(TObjectsImageList list) override;
    int32_t SystemIconIndex(const std::string& path) override;

    void SetClipboardText(const std::string& text) override;
    bool ShellOpen(const std::string& path) override;
    bool OpenContainingFolder(const std::string& path) override;
    TObjectsCommand ShowContextMenu(const std::vector<TObjectsMenuItem>& items) override;
    int32_t MonitorNumber() override;

private:
    void ConnectList();
    // The safety images and the sort arrows in their form for the list's DPI.
    void LoadImages();
    void PaintQuota(int row, HDC dc, const RECT& cell);

    std::unique_ptr<ui::TPane> pane_;
    ui::TVirtualListView* list_ = nullptr;
    TObjectsViewEvents events_;
    TObjectsImageList imageList_ = ilSafety;
    TImageListHandle safetyImages_;
    TImageListHandle sortImages_;
    // Where the menu asked for by the keyboard belongs; the cursor's place otherwise.
    std::optional<POINT> menuPoint_;
};
