#pragma once
// The clean targets on the main window's first page: the pane of the folder tree over the pane
// of the clean-up list, each with its glyph buttons in the header and its context menu.
#include "app/uTargetsView.h"
#include "ui/VelaSVWindowChrome.h"
#include "ui/VelaUIShellTree.h"

#include <map>
#include <memory>
#include <set>

class TMainTargetsView : public ITargetsView {
public:
    // Fills area of page: the tree pane takes about 55 % of its height. statusText shows a text
    // in the main window's status line.
    TMainTargetsView(ui::TContainer& page, const ui::TDesignRect& area, uint8_t anchors,
                     std::function<void(const std::string&)> statusText);
    ~TMainTargetsView() override;
    TMainTargetsView(const TMainTargetsView&) = delete;
    TMainTargetsView& operator=(const TMainTargetsView&) = delete;

    ui::TShellTree& Tree() { return *tree_; }
    ui::TListView& List() { return *list_; }

    TTargetsViewEvents& Events() override { return events_; }
    void OnCommand(TTargetsControl control, std::function<void()> handler) override;
    void SetText(TTargetsControl control, const std::string& text) override;
    void SetEnabled(TTargetsControl control, bool enabled) override;
    void SetVisible(TTargetsControl control, bool visible) override;

    TTreeNode SelectedNode() override;
    std::vector<std::string> DrivePaths() override;
    bool SelectPath(const std::string& path) override;
    void SelectNodeUnderCursor() override;
    void RefreshTree() override;

    int32_t RowCount() override;
    std::string RowText(int32_t row) override;
    bool RowChecked(int32_t row) override;
    bool RowSelected(int32_t row) override;
    void InsertRow(int32_t row, const std::string& text, bool checked) override;
    void DeleteRow(int32_t row) override;
    void DeleteAllRows() override;
    void SelectRow(int32_t row) override;

    void SetStatusText(const std::string& text) override;
    int32_t MonitorNumber() override;

private:
    // The menu key's menu of the tree or the list; true when the message was that request.
    bool KeyboardMenu(bool treeMenu, UINT message, LPARAM lParam);
    ui::TFlatButton& AddGlyphButton(ui::TPane& pane, int fromRight, TTargetsControl control, const char* glyph);
    void Run(TTargetsControl control);
    // The tree's or the list's menu at a point of the screen.
    void ShowMenu(bool treeMenu, POINT screen);
    // Places the two panes for the height the area has now.
    void Split(int heightPixels);

    ui::TPanel* area_ = nullptr;
    HWND areaHandle_ = nullptr;
    std::unique_ptr<ui::TPane> treePane_;
    std::unique_ptr<ui::TPane> listPane_;
    ui::TShellTree* tree_ = nullptr;
    ui::TListView* list_ = nullptr;
    std::map<TTargetsControl, ui::TFlatButton*> buttons_;
    std::map<TTargetsControl, std::function<void()>> commands_;
    // Buttons given a text of their own; the others are named after their menu item.
    std::set<TTargetsControl> namedButtons_;
    std::map<TTargetsControl, std::string> menuTexts_;
    std::map<TTargetsControl, bool> menuEnabled_;
    std::map<TTargetsControl, bool> menuHidden_;
    std::function<void(const std::string&)> statusText_;
    TTargetsViewEvents events_;
    bool settingChecks_ = false; // checks set here are not the user's
};
