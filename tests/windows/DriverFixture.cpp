// A small window for the window driver's own tests: one control of each kind the driver handles.
// Its arguments fill the edit, its working folder a label; the status label tells what happened.
#include <windows.h>

#include <commctrl.h>

#include <string>

namespace {

enum : int { kPressId = 101, kApplyId, kDisabledId, kStatusId, kFolderId, kEditId, kListId, kTreeId };

HWND status = nullptr;
int presses = 0;

HWND AddControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, int x, int y,
                int width, int height)
{
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void AddListView(HWND parent)
{
    HWND list = AddControl(parent, WC_LISTVIEWW, L"", LVS_REPORT | WS_BORDER, kListId, 10, 122, 400, 100);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES);
    const wchar_t* columns[] = {L"Name", L"Size"};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 150;
        column.pszText = const_cast<wchar_t*>(columns[i]);
        ListView_InsertColumn(list, i, &column);
    }
    const wchar_t* rows[2][2] = {{L"alpha", L"1 KB"}, {L"beta", L"2 KB"}};
    for (int i = 0; i < 2; ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(rows[i][0]);
        ListView_InsertItem(list, &item);
        ListView_SetItemText(list, i, 1, const_cast<wchar_t*>(rows[i][1]));
    }
    ListView_SetCheckState(list, 0, TRUE);
}

void AddTreeView(HWND parent)
{
    HWND tree = AddControl(parent, WC_TREEVIEWW, L"", TVS_HASLINES | TVS_HASBUTTONS | WS_BORDER, kTreeId, 10, 230,
                           400, 100);
    TVINSERTSTRUCTW insert{};
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(L"Root");
    HTREEITEM root = TreeView_InsertItem(tree, &insert);
    insert.hParent = root;
    for (const wchar_t* child : {L"First", L"Second"}) {
        insert.item.pszText = const_cast<wchar_t*>(child);
        TreeView_InsertItem(tree, &insert);
    }
    TreeView_Expand(tree, root, TVE_EXPAND);
}

void AddControls(HWND window, const wchar_t* arguments)
{
    AddControl(window, L"BUTTON", L"&Press", BS_PUSHBUTTON | WS_TABSTOP, kPressId, 10, 10, 90, 26);
    AddControl(window, L"BUTTON", L"Apply to all items", BS_AUTOCHECKBOX | WS_TABSTOP, kApplyId, 110, 10, 150, 26);
    AddControl(window, L"BUTTON", L"Disabled", BS_PUSHBUTTON | WS_DISABLED, kDisabledId, 270, 10, 90, 26);
    status = AddControl(window, L"STATIC", L"Pressed 0", 0, kStatusId, 10, 44, 400, 20);
    wchar_t folder[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, folder);
    AddControl(window, L"STATIC", (std::wstring(L"Folder ") + folder).c_str(), 0, kFolderId, 10, 68, 400, 20);
    HWND edit = AddControl(window, L"EDIT", arguments, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kEditId, 10, 92, 400,
                           22);
    AddListView(window);
    AddTreeView(window);
    SetFocus(edit);
}

void Press(HWND window)
{
    const std::wstring pressed = L"Pressed " + std::to_wstring(++presses);
    SetWindowTextW(status, pressed.c_str());
    // The driver must come back while this modal loop runs.
    const int answer = MessageBoxW(window, L"Press once more?", L"Fixture Question", MB_YESNO);
    SetWindowTextW(status, (pressed + (answer == IDYES ? L" Yes" : L" No")).c_str());
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kPressId && HIWORD(wParam) == BN_CLICKED)
            Press(window);
        else if (LOWORD(wParam) == IDCANCEL)
            DestroyWindow(window);
        return 0;
    case WM_HELP:
        SetWindowTextW(status, L"Help");
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(3);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"DriverFixture";
    RegisterClassExW(&windowClass);
    HWND window = CreateWindowExW(0, L"DriverFixture", L"Driver Fixture", WS_OVERLAPPEDWINDOW, 40, 40, 440, 380,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;  // no display
    AddControls(window, arguments);
    ShowWindow(window, SW_SHOW);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The dialog manager gives Escape, Enter and Alt+letter their meaning, as in the program's windows.
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
