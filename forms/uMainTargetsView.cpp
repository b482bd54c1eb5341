#include "forms/uMainTargetsView.h"

#include "platform/win32/Win32Text.h"
#include "ui/VelaSVRuntime.h"
#include "ui/VelaUIWindow.h"

#include <windowsx.h>

#include <algorithm>

using namespace ui;

namespace {
constexpr int kGap = 8;
constexpr int kTreeShare = 55; // percent of the area's height
constexpr int kGlyphSize = 16;

constexpr TTargetsControl kTreeMenu[] = {TTargetsControl::tcAddItem, TTargetsControl::tcDriveInfoItem,
                                         TTargetsControl::tcRefreshItem};
constexpr TTargetsControl kListMenu[] = {TTargetsControl::tcRemoveItem, TTargetsControl::tcClearItem};

// A header button without a text of its own is named after the menu item of its command.
struct TButtonItem {
    TTargetsControl button;
    TTargetsControl item;
};
constexpr TButtonItem kButtonItems[] = {{TTargetsControl::tcAddButton, TTargetsControl::tcAddItem},
                                        {TTargetsControl::tcRefreshButton, TTargetsControl::tcRefreshItem},
                                        {TTargetsControl::tcRemoveButton, TTargetsControl::tcRemoveItem},
                                        {TTargetsControl::tcClearButton, TTargetsControl::tcClearItem}};

std::string WithoutAmpersands(const std::string& text)
{
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}

COLORREF GroundOf(TContainer& page)
{
    if (auto* control = dynamic_cast<TControl*>(&page); control && control->BackColour() != kNoColour)
        return control->BackColour();
    return RGB(255, 255, 255);
}
} // namespace

TMainTargetsView::TMainTargetsView(TContainer& page, const TDesignRect& area, uint8_t anchors,
                                   std::function<void(const std::string&)> statusText)
    : statusText_(std::move(statusText))
{
    // The panes share the area in proportion, which anchors alone cannot do: they sit on a panel
    // of their own that splits its height again whenever it changes.
    area_ = &page.Add<TPanel>(TPanelArgs{.rect = area, .anchors = anchors, .backColour = GroundOf(page)});
    areaHandle_ = area_->Handle();
    const int width = area.width;
    const int treeHeight = (area.height - kGap) * kTreeShare / 100;
    const int listTop = treeHeight + kGap;
    treePane_ = std::make_unique<TPane>(
        *area_, TPaneArgs{.rect = {0, 0, width, treeHeight}, .anchors = akLeft | akTop | akRight});
    listPane_ = std::make_unique<TPane>(
        *area_, TPaneArgs{.rect = {0, listTop, width, area.height - listTop}, .anchors = kAnchorAll});

    const int inner = width - 2;
    tree_ = &treePane_->Frame().Add<TShellTree>(TShellTreeArgs{
        .rect = {1, TPane::kHeaderHeight, inner, treeHeight - TPane::kHeaderHeight - 1}, .anchors = kAnchorAll});
    list_ = &listPane_->Frame().Add<TListView>(
        TListViewArgs{.rect = {1, TPane::kHeaderHeight, inner, area.height - listTop - TPane::kHeaderHeight - 1},
                      .anchors = kAnchorAll,
                      .checkBoxes = true,
                      .multiSelect = true,
                      .showHeader = false,
                      .fillColumn = true});
    list_->AddColumn("", inner);

    AddGlyphButton(*treePane_, 2 * (kGlyphSize + 2), TTargetsControl::tcAddButton, "btn_add");
    AddGlyphButton(*treePane_, kGlyphSize + 2, TTargetsControl::tcRefreshButton, "btn_refresh");
    AddGlyphButton(*listPane_, 2 * (kGlyphSize + 2), TTargetsControl::tcRemoveButton, "btn_remove");
    AddGlyphButton(*listPane_, kGlyphSize + 2, TTargetsControl::tcClearButton, "btn_clear");

    tree_->onSelect = [this](HTREEITEM) {
        if (events_.onTreeSelectionChanged)
            events_.onTreeSelectionChanged();
    };
    tree_->onClick = [this] {
        if (events_.onTreeClick)
            events_.onTreeClick();
    };
    tree_->onRightClick = [this](HTREEITEM) {
        if (events_.onTreeRightClick)
            events_.onTreeRightClick();
        const DWORD position = GetMessagePos();
        ShowMenu(true, {GET_X_LPARAM(position), GET_Y_LPARAM(position)});
    };
    list_->onItemChecked = [this](int item) {
        if (!settingChecks_ && events_.onRowCheckChanged)
            events_.onRowCheckChanged(item);
    };
    list_->onRightClick = [this](int) {
        const DWORD position = GetMessagePos();
        ShowMenu(false, {GET_X_LPARAM(position), GET_Y_LPARAM(position)});
    };
    tree_->onMessage = [this](UINT message, WPARAM, LPARAM lParam) { return KeyboardMenu(true, message, lParam); };
    list_->onMessage = [this](UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_KEYDOWN && wParam == VK_DELETE) {
            Run(TTargetsControl::tcRemoveItem);
            return true;
        }
        return KeyboardMenu(false, message, lParam);
    };
    area_->onMessage = [this](UINT message, WPARAM, LPARAM lParam) {
        if (message == WM_SIZE)
            Split(HIWORD(lParam));
        return false;
    };
    // Controls are created at their scaled design rectangles, which can round a pixel off from
    // where the layout keeps edges anchored to the right or bottom (150 %): lay out now.
    page.LayoutChildren();
}

TMainTargetsView::~TMainTargetsView()
{
    // The window may have gone before this view, taking the controls along; while the area
    // is there, so is everything on it.
    if (!IsWindow(areaHandle_))
        return;
    area_->onMessage = nullptr;
    tree_->onMessage = nullptr;
    list_->onMessage = nullptr;
    tree_->onSelect = nullptr;
    tree_->onClick = nullptr;
    tree_->onRightClick = nullptr;
    list_->onItemChecked = nullptr;
    list_->onRightClick = nullptr;
    for (auto& entry : buttons_)
        entry.second->onClick = nullptr;
}

TFlatButton& TMainTargetsView::AddGlyphButton(TPane& pane, int fromRight, TTargetsControl control, const char* glyph)
{
    const int width = pane.HeaderBar().DesignWidth();
    TFlatButton& button =
        pane.HeaderBar().Add<TFlatButton>(TFlatButtonArgs{.rect = {width - fromRight, 1, kGlyphSize, kGlyphSize},
                                                          .anchors = akTop | akRight,
                                                          .backColour = chrome::kPaneHeader,
                                                          .glyph = glyph});
    button.onClick = [this, control] { Run(control); };
    buttons_[control] = &button;
    return button;
}

void TMainTargetsView::Split(int heightPixels)
{
    const int height = MulDiv(heightPixels, 96, area_->Dpi());
    const int width = area_->DesignWidth();
    // The tree keeps at least its header and a row; the list takes the rest, down to the bottom.
    const int treeHeight = std::max((height - kGap) * kTreeShare / 100, 2 * TPane::kHeaderHeight);
    const int listTop = treeHeight + kGap;
    const TDesignRect treeRect{0, 0, width, treeHeight};
    const TDesignRect listRect{0, listTop, width, area_->DesignHeight() - listTop};
    const TDesignRect& current = treePane_->Frame().DesignRect();
    if (current.height == treeRect.height)
        return;
    treePane_->Frame().SetDesignRect(treeRect);
    listPane_->Frame().SetDesignRect(listRect);
}

bool TMainTargetsView::KeyboardMenu(bool treeMenu, UINT message, LPARAM lParam)
{
    // Mouse clicks open the menus through the controls' right-click events; this is the menu key
    // and Shift+F10, shown at the selection.
    if (message != WM_CONTEXTMENU || lParam != -1)
        return false;
    HWND handle = treeMenu ? tree_->Handle() : list_->Handle();
    RECT place{};
    GetClientRect(handle, &place);
    POINT at{place.left + 8, place.top + 8};
    if (treeMenu) {
        if (HTREEITEM item = tree_->Selection(); item && TreeView_GetItemRect(handle, item, &place, TRUE))
            at = {place.left, place.bottom};
    } else if (const int row = ListView_GetNextItem(handle, -1, LVNI_FOCUSED);
               row >= 0 && ListView_GetItemRect(handle, row, &place, LVIR_LABEL)) {
        at = {place.left, place.bottom};
    }
    ClientToScreen(handle, &at);
    ShowMenu(treeMenu, at);
    return true;
}

void TMainTargetsView::ShowMenu(bool treeMenu, POINT screen)
{
    if (!treeMenu && events_.onListMenuPopup)
        events_.onListMenuPopup();
    HMENU menu = CreatePopupMenu();
    auto append = [&](TTargetsControl item) {
        if (menuHidden_[item])
            return;
        const auto enabled = menuEnabled_.find(item);
        const UINT state = enabled == menuEnabled_.end() || enabled->second ? MF_ENABLED : MF_GRAYED;
        AppendMenuW(menu, MF_STRING | state, static_cast<UINT>(item) + 1, platform::Widen(menuTexts_[item]).c_str());
    };
    if (treeMenu) {
        for (TTargetsControl item : kTreeMenu)
            append(item);
        SetMenuDefaultItem(menu, static_cast<UINT>(TTargetsControl::tcAddItem) + 1, FALSE);
    } else {
        for (TTargetsControl item : kListMenu)
            append(item);
    }
    const UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x, screen.y, 0,
                                       area_->Window().Handle(), nullptr);
    DestroyMenu(menu);
    if (chosen != 0)
        Run(static_cast<TTargetsControl>(chosen - 1));
}

void TMainTargetsView::Run(TTargetsControl control)
{
    const auto command = commands_.find(control);
    if (command != commands_.end() && command->second)
        command->second();
}

void TMainTargetsView::OnCommand(TTargetsControl control, std::function<void()> handler)
{
    commands_[control] = std::move(handler);
}

void TMainTargetsView::SetText(TTargetsControl control, const std::string& text)
{
    switch (control) {
    case TTargetsControl::tcTreeHeader:
    case TTargetsControl::tcListHeader: {
        TPane& pane = control == TTargetsControl::tcTreeHeader ? *treePane_ : *listPane_;
        pane.Header().SetText(text);
        pane.Frame().SetText(text); // the pane's name for assistive tools
        return;
    }
    default:
        break;
    }
    if (const auto button = buttons_.find(control); button != buttons_.end()) {
        // A glyph button's text is its name and its tip.
        namedButtons_.insert(control);
        button->second->SetText(text);
        button->second->SetHint(text);
        return;
    }
    menuTexts_[control] = text;
    for (const TButtonItem& pair : kButtonItems)
        if (pair.item == control && !namedButtons_.count(pair.button)) {
            const std::string name = WithoutAmpersands(text);
            buttons_.at(pair.button)->SetText(name);
            buttons_.at(pair.button)->SetHint(name);
        }
}

void TMainTargetsView::SetVisible(TTargetsControl control, bool visible)
{
    menuHidden_[control] = !visible;
}

void TMainTargetsView::SetEnabled(TTargetsControl control, bool enabled)
{
    if (const auto button = buttons_.find(control); button != buttons_.end())
        button->second->SetEnabled(enabled);
    else
        menuEnabled_[control] = enabled;
}

// ---- Directory tree ----

TTreeNode TMainTargetsView::SelectedNode()
{
    const HTREEITEM item = tree_->Selection();
    const int level = tree_->Level(item);
    if (level < 0)
        return {};
    return {level, tree_->PathOf(item)};
}

std::vector<std::string> TMainTargetsView::DrivePaths() { return tree_->DrivePaths(); }

bool TMainTargetsView::SelectPath(const std::string& path) { return tree_->SelectPath(path); }

void TMainTargetsView::SelectNodeUnderCursor()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    if (HTREEITEM item = tree_->ItemAt(cursor))
        TreeView_SelectItem(tree_->Handle(), item);
}

void TMainTargetsView::RefreshTree() { tree_->Reload(); }

// ---- Clean-up list ----

int32_t TMainTargetsView::RowCount() { return list_->ItemCount(); }

std::string TMainTargetsView::RowText(int32_t row) { return list_->ItemText(row, 0); }

bool TMainTargetsView::RowChecked(int32_t row)
{
    return (ListView_GetItemState(list_->Handle(), row, LVIS_STATEIMAGEMASK) >> 12) == 2;
}

bool TMainTargetsView::RowSelected(int32_t row)
{
    return ListView_GetItemState(list_->Handle(), row, LVIS_SELECTED) != 0;
}

void TMainTargetsView::InsertRow(int32_t row, const std::string& text, bool checked)
{
    std::wstring wide = platform::Widen(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = std::clamp(row, 0, RowCount());
    item.pszText = wide.data();
    settingChecks_ = true;
    const auto index = static_cast<int>(SendMessageW(list_->Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index >= 0)
        list_->SetChecked(index, checked);
    settingChecks_ = false;
}

void TMainTargetsView::DeleteRow(int32_t row) { ListView_DeleteItem(list_->Handle(), row); }

void TMainTargetsView::DeleteAllRows() { list_->Clear(); }

void TMainTargetsView::SelectRow(int32_t row)
{
    HWND handle = list_->Handle();
    ListView_SetItemState(handle, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(handle, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(handle, row, FALSE);
}

// ---- Main window ----

void TMainTargetsView::SetStatusText(const std::string& text)
{
    if (statusText_)
        statusText_(text);
}

int32_t TMainTargetsView::MonitorNumber() { return TSVRuntime::MonitorOf(area_->Window().Handle()); }
