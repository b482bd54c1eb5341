// The list editor against a view that keeps its rows in memory and scripted message boxes.
#include "app/uEditListController.h"
#include "app/uWindowServices.h"
#include "platform/PlatformFiles.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace {

using C = TEditListControl;

class FakeEditListView : public IEditListView {
public:
    TEditListViewEvents& Events() override { return events; }
    void OnCommand(C control, std::function<void()> handler) override { commands[control] = handler; }
    void SetText(C control, const std::string& text) override { texts[control] = text; }
    void SetGlyph(C, const std::string&) override {}
    void SetEnabled(C control, bool value) override { enabled[control] = value; }
    void SetTitle(const std::string& text) override { title = text; }
    void Close(bool accepted) override { closed = accepted ? "ok" : "cancel"; }
    int32_t MonitorNumber() override { return 1; }

    std::string NewItemText() override { return field; }
    void SetNewItemText(const std::string& text) override
    {
        field = text;
        events.onNewItemChanged();
    }
    bool NewItemFocused() override { return focused; }
    void FocusNewItem() override { focused = true; }
    void ShowNewItemTip(const std::string& title, const std::string& text) override { tip = title + ": " + text; }
    void RemoveNewItemTip() override { tip.clear(); }

    int32_t RowCount() override { return static_cast<int32_t>(rows.size()); }
    std::string RowText(int32_t row) override { return rows.at(row); }
    void AddRow(const std::string& text) override { rows.push_back(text); }
    void DeleteRow(int32_t row) override
    {
        rows.erase(rows.begin() + row);
        selected = -1;
    }
    void DeleteAllRows() override { rows.clear(), selected = -1; }
    int32_t SelectedRow() override { return selected; }
    void MoveSelectedRow(int32_t step) override
    {
        std::swap(rows.at(selected), rows.at(selected + step));
        selected += step;
    }
    std::vector<std::string> ChooseFiles(const TOpenFileRequest& request) override
    {
        lastRequest = request;
        return chosenFiles;
    }
    std::string ChooseFolder(const std::string& title, const std::string& root) override
    {
        folderAsked = title + " at " + root;
        return chosenFolder;
    }

    // What a click on a row does.
    void Select(int32_t row)
    {
        selected = row;
        events.onSelectionChanged();
    }
    void Type(const std::string& text) { SetNewItemText(text); }
    void Press(C control)
    {
        ASSERT_TRUE(!enabled.count(control) || enabled[control]) << "pressed a disabled button";
        commands.at(control)();
    }
    // Add, AddMultiple, Remove, Clear, MoveUp, MoveDown as "1" or "0".
    std::string States()
    {
        std::string states;
        for (C control : {C::ecAdd, C::ecAddMultiple, C::ecRemove, C::ecClear, C::ecMoveUp, C::ecMoveDown})
            states += enabled[control] ? '1' : '0';
        return states;
    }

    TEditListViewEvents events;
    std::map<C, std::function<void()>> commands;
    std::map<C, std::string> texts;
    std::map<C, bool> enabled;
    std::string title, closed, field, tip, folderAsked, chosenFolder;
    bool focused = false;
    std::vector<std::string> rows;
    int32_t selected = -1;
    TOpenFileRequest lastRequest;
    std::vector<std::string> chosenFiles;
};

struct ShownBox {
    TMsgBoxKind kind;
    std::string text;
    uint32_t buttons;
};

class ScriptedBoxes : public IMessageBoxService {
public:
    TMsgBoxResult Execute(TMsgBoxKind kind, const std::string& text, int32_t monitor, TMsgBoxFocus,
                          uint32_t buttons) override
    {
        EXPECT_EQ(1, monitor);
        shown.push_back({kind, text, buttons});
        if (answers.empty())
            return TMsgBoxResult::mrAccept;
        const TMsgBoxResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<TMsgBoxResult> answers;
    std::vector<ShownBox> shown;
};

// Written with backslashes; the system's own separator in the result.
std::string P(std::string path)
{
    for (char& ch : path)
        if (ch == '\\')
            ch = platform::PathSeparator();
    return path;
}

std::string Exists(const std::string& item)
{
    return "Object item \"" + item + "\" already exists in the list.\r\nPlease specify a different item name.";
}

class EditList : public ::testing::Test {
protected:
    EditList() { prefs.SetDefaults(); }
    void Open(const std::string& text, bool directories = false)
    {
        arguments.listName = "Exclude Files";
        arguments.listText = text;
        arguments.directoryMode = directories;
        controller.Open(arguments);
        view.events.onShow();
    }

    FakeEditListView view;
    ScriptedBoxes boxes;
    TPreferenceValues prefs{false};
    TEditListController controller{view, boxes, prefs};
    TWindowArguments arguments;
};

} // namespace

TEST_F(EditList, ButtonsFollowTheFieldTheSelectionAndTheMode)
{
    Open("desktop.ini;index.dat");
    EXPECT_EQ("Exclude Files Editor", view.title);
    EXPECT_EQ((std::vector<std::string>{"desktop.ini", "index.dat"}), view.rows);
    EXPECT_EQ("Item Name", view.texts[C::ecItemsColumn]);
    EXPECT_EQ("010100", view.States());
    EXPECT_EQ("Information: Start typing in this edit-box in order to add a new item to the list.", view.tip);
    EXPECT_TRUE(view.focused);

    view.Select(0);
    EXPECT_EQ("desktop.ini", view.field) << "a selected row's caption goes into the field";
    EXPECT_EQ("", view.tip);
    EXPECT_EQ("111101", view.States());
    view.Select(1);
    EXPECT_EQ("111110", view.States());
    view.Type("");
    EXPECT_EQ("011110", view.States());
    EXPECT_FALSE(view.tip.empty()) << "an emptied field gets its tip back";

    FakeEditListView dirView;
    TEditListController directories(dirView, boxes, prefs);
    directories.SetDirectoryMode(true);
    dirView.events.onShow();
    EXPECT_EQ("000000", dirView.States());
}

TEST_F(EditList, AddRefusesExactDuplicatesOnly)
{
    Open("desktop.ini");
    view.Type("desktop.ini");
    view.Press(C::ecAdd);
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkInformation, boxes.shown[0].kind);
    EXPECT_EQ(Exists("desktop.ini"), boxes.shown[0].text);
    EXPECT_EQ(msgbox_buttons::kClose, boxes.shown[0].buttons);
    view.Type("Desktop.ini");
    view.Press(C::ecAdd);
    EXPECT_EQ((std::vector<std::string>{"desktop.ini", "Desktop.ini"}), view.rows);
    EXPECT_EQ("Desktop.ini", view.field) << "the field keeps its text";

    // The row would come back as two items: refused with a reason.
    view.Type("a;b");
    view.Press(C::ecAdd);
    EXPECT_EQ(2u, view.rows.size());
    ASSERT_EQ(2u, boxes.shown.size());
    EXPECT_NE(std::string::npos, boxes.shown[1].text.find("\"a;b\" contains \";\""));
}

TEST_F(EditList, BrowsedFilesSkipDuplicatesAndApplyToAllSilencesTheRest)
{
    Open(P("C:\\x\\a.log;C:\\x\\b.log"));
    view.Type(P("C:\\x\\b.log"));
    view.chosenFiles = {P("C:\\x\\a.log"), P("C:\\x\\c.log"), P("C:\\x\\b.log")};
    boxes.answers = {TMsgBoxResult::mrAcceptAll};
    view.Press(C::ecAddMultiple);
    EXPECT_EQ("Add files...", view.lastRequest.title);
    EXPECT_EQ("All files (*.*)|*.*", view.lastRequest.filter);
    EXPECT_EQ(P("C:\\x"), view.lastRequest.initialDir);
    EXPECT_TRUE(view.lastRequest.multiSelect);
    ASSERT_EQ(1u, boxes.shown.size()) << "the second duplicate is skipped silently";
    EXPECT_EQ(Exists(P("C:\\x\\a.log")), boxes.shown[0].text);
    EXPECT_EQ(9u, boxes.shown[0].buttons);
    EXPECT_EQ((std::vector<std::string>{P("C:\\x\\a.log"), P("C:\\x\\b.log"), P("C:\\x\\c.log")}), view.rows);

    // Without the tick every duplicate is told; one file alone offers no "Apply to all items".
    boxes.shown.clear();
    view.Press(C::ecAddMultiple);
    EXPECT_EQ(3u, boxes.shown.size());
    boxes.shown.clear();
    view.chosenFiles = {P("C:\\x\\c.log")};
    view.Press(C::ecAddMultiple);
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(msgbox_buttons::kClose, boxes.shown[0].buttons);
    EXPECT_EQ(3u, view.rows.size());
}

TEST_F(EditList, RemoveAndClearAskOnlyWithConfirmationsOn)
{
    prefs.Confirmations = true;
    Open("a;b;c");
    view.Select(1);
    boxes.answers = {TMsgBoxResult::mrRefuse};
    view.Press(C::ecRemove);
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkConfirm, boxes.shown[0].kind);
    EXPECT_EQ(msgbox_buttons::kYesNo, boxes.shown[0].buttons);
    EXPECT_EQ("This will remove the \"b\" object item from the list.\r\nAre you sure you want to continue?",
              boxes.shown[0].text);
    EXPECT_EQ(3u, view.rows.size());
    view.Press(C::ecRemove);
    EXPECT_EQ((std::vector<std::string>{"a", "c"}), view.rows);
    EXPECT_EQ("110100", view.States()) << "no row selected after the removal";

    prefs.Confirmations = false;
    view.Press(C::ecClear);
    EXPECT_EQ(2u, boxes.shown.size()) << "no question with confirmations off";
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ("", view.field);
    EXPECT_EQ("010000", view.States());
}

TEST_F(EditList, ReorderingChangesTheListAndCancelKeepsTheOpenersText)
{
    Open("desktop.ini;index.dat");
    view.Select(1);
    view.Press(C::ecMoveUp);
    EXPECT_EQ(0, view.selected);
    EXPECT_EQ("111101", view.States()) << "the moved row stays selected, now first";
    EXPECT_TRUE(controller.IsChanged());
    EXPECT_EQ("desktop.ini;index.dat", controller.GetInitialItems());

    view.Press(C::ecCancel);
    EXPECT_EQ("cancel", view.closed);
    controller.StoreResults(arguments);
    EXPECT_TRUE(arguments.changed);
    EXPECT_EQ("desktop.ini;index.dat", arguments.listText);

    view.Press(C::ecOK);
    EXPECT_EQ("ok", view.closed);
    controller.StoreResults(arguments);
    EXPECT_EQ("index.dat;desktop.ini", arguments.listText);

    view.Press(C::ecMoveDown);
    EXPECT_FALSE(controller.IsChanged()) << "back in the first order";
    controller.StoreResults(arguments);
    EXPECT_FALSE(arguments.changed);
}

TEST_F(EditList, EmptyPiecesAreNotRowsAndLetterCaseIsAChange)
{
    Open(";a;;b;");
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), view.rows);
    EXPECT_FALSE(controller.IsChanged());
    view.rows[0] = "A";
    EXPECT_TRUE(controller.IsChanged());
}

TEST_F(EditList, BrowseFillsTheFieldWithOneFileOrFolder)
{
    Open("", true);
    view.Type(P("C:\\Data"));
    view.chosenFolder = P("C:\\Data\\Logs");
    view.Press(C::ecBrowseObject);
    EXPECT_EQ("Add object... at " + P("C:\\Data"), view.folderAsked);
    EXPECT_EQ(P("C:\\Data\\Logs"), view.field);
    EXPECT_TRUE(view.rows.empty()) << "added only by Add";
    view.chosenFolder = "";
    view.Press(C::ecBrowseObject);
    EXPECT_EQ(P("C:\\Data\\Logs"), view.field) << "a cancelled dialog changes nothing";

    controller.SetDirectoryMode(false);
    view.chosenFiles = {P("C:\\Data\\Logs\\one.log")};
    view.Press(C::ecBrowseObject);
    EXPECT_EQ(P("C:\\Data"), view.lastRequest.initialDir);
    EXPECT_FALSE(view.lastRequest.multiSelect);
    EXPECT_EQ(P("C:\\Data\\Logs\\one.log"), view.field);
}
