// The clean-up options list over the real catalogue. The fake view reports every check change,
// as a Win32 list view does, so the pane's own changes must not pass for the user's.
#include "TestSupport.h"
#include "support/RoutinesTestHelpers.h"

#include "app/uOptionsPane.h"
#include "engine/uEngineImplementation.h"

#include <gtest/gtest.h>

namespace {

class FakeOptionsView : public IOptionsView {
public:
    TOptionsViewEvents& Events() override { return events; }
    void SetRowCount(int32_t count) override { checks.assign(static_cast<size_t>(count), false); }
    bool RowChecked(int32_t row) override { return checks.at(static_cast<size_t>(row)); }
    void SetRowChecked(int32_t row, bool checked) override
    {
        const bool changed = checks.at(static_cast<size_t>(row)) != checked;
        checks[static_cast<size_t>(row)] = checked;
        if (changed)
            events.onRowCheckToggled(row);
    }
    void PressArrowKey(bool) override {}
    void SetHeaderText(const std::string& text) override { header = text; }
    void SetPresetCaption(TOptionPreset, const std::string&) override {}
    void Repaint() override {}
    int32_t MonitorNumber() override { return 3; }

    void Click(int32_t row) { SetRowChecked(row, !checks.at(static_cast<size_t>(row))); }

    TOptionsViewEvents events;
    std::vector<bool> checks;
    std::string header;
};

class RecordingMessageBoxes : public IMessageBoxService {
public:
    TMsgBoxResult Execute(TMsgBoxKind kind, const std::string& text, int32_t monitor, TMsgBoxFocus,
                          uint32_t buttons) override
    {
        EXPECT_EQ(3, monitor);
        EXPECT_EQ(msgbox_buttons::kClose, buttons);
        shown.emplace_back(kind, text);
        return TMsgBoxResult::mrAccept;
    }
    std::vector<std::pair<TMsgBoxKind, std::string>> shown;
};

constexpr int kFirefox = 11;
constexpr int kTemporaryFiles = 13;
constexpr int kEmptySubdirectories = 20;
constexpr int kCustomFiles = 21;

class OptionsPane : public ::testing::Test {
protected:
    OptionsPane() { prefs.SetDefaults(); }

    FakeOptionsView view;
    RecordingMessageBoxes boxes;
    TPreferenceValues prefs{false};
#ifndef _WIN32
    // The browser's cache is looked for here: an empty folder makes its option unavailable.
    testing_support::TempDir cache;
    routines_testing::ScopedEnvironment cacheHome{"XDG_CACHE_HOME", cache.Str()};
#endif
    std::shared_ptr<ICleanupOptionsList> options = TEngineServices::CreateCleanupOptionsList();
    TOptionsPane pane{view, boxes, prefs, options};
};

} // namespace

TEST_F(OptionsPane, AnUnavailableOptionUnchecksItselfWithItsText)
{
    if (options->GetOption(kFirefox)->GetAvailable())
        GTEST_SKIP() << "this system has the browser's cache folder";
    view.Click(kFirefox);
    EXPECT_FALSE(view.checks[kFirefox]);
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkInformation, boxes.shown[0].first);
    EXPECT_EQ("\"Mozilla Firefox Temporary Cache\" is not available because the program that generates these "
              "objects is not installed on your computer.\r\nPlease chose another clean-up option instead.",
              boxes.shown[0].second);
}

TEST_F(OptionsPane, DangerousOptionsWarnWhenCheckedOnly)
{
    view.Click(kEmptySubdirectories);
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ(TMsgBoxKind::mkWarning, boxes.shown[0].first);
    EXPECT_EQ("This option might delete your entire empty subdirectories hierarchy if it is not used correctly.\r\n"
              "The opperation is NOT reversible.",
              boxes.shown[0].second);
    EXPECT_EQ(" Clean-up Options [Selected: 1 / 23]", view.header);
    view.Click(kEmptySubdirectories);
    view.Click(kTemporaryFiles);
    EXPECT_EQ(1u, boxes.shown.size()) << "unchecking, or an option without a warning, shows nothing";

    view.events.onDoubleClick(kCustomFiles);
    EXPECT_TRUE(view.checks[kCustomFiles]);
    ASSERT_EQ(2u, boxes.shown.size());
    EXPECT_EQ(0u, boxes.shown[1].second.find("Please check very carefully the files you declared"));
    EXPECT_EQ(" Clean-up Options [Selected: 2 / 23]", view.header);
}

TEST_F(OptionsPane, PresetsAndStoredChecksAreQuietAndLeaveOutUnavailableOptions)
{
    const TCleanupOptionSet all = TCycleSetup::PresetMask(*options, opAll);
    view.events.onPreset(opAll);
    EXPECT_TRUE(boxes.shown.empty()) << "a preset is no user's check";
    const int count = static_cast<int>(std::count(view.checks.begin(), view.checks.end(), true));
    EXPECT_EQ(" Clean-up Options [Selected: " + std::to_string(count) + " / 23]", view.header);
    EXPECT_EQ(all, pane.StoreChecks());
    EXPECT_EQ(all.Bits(), prefs.CleanupOptions);

    view.events.onPreset(opNone);
    EXPECT_EQ(" Clean-up Options [Selected: 0 / 23]", view.header);
    prefs.CleanupOptions = 0xFFFFFFFFu;
    pane.RestoreChecks();
    EXPECT_EQ(all, pane.Checks());
    prefs.CleanupOptions = 0;
    pane.RestoreChecks();
    EXPECT_EQ(TCycleSetup::PresetMask(*options, opSafe), pane.Checks()) << "first run: the safe set";
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(OptionsPane, RowsAreDrawnInTheirSafetyColours)
{
    struct Row {
        int option;
        bool selected;
        int32_t image;
        uint32_t caption, description;
    };
    std::vector<Row> rows = {{0, false, 0, 0x400000, 0x555555},
                             {kTemporaryFiles, false, 1, 0x033767, 0x555555},
                             {kCustomFiles, false, 2, 0x000040, 0x555555},
                             {kCustomFiles, true, 2, 0xFFFFFF, 0xFFFFFF}};
    if (!options->GetOption(kFirefox)->GetAvailable())
        rows.insert(rows.end(), {{kFirefox, false, 0, 0x808080, 0x808080}, {kFirefox, true, 0, 0xFFFFFF, 0xFFFFFF}});
    for (const Row& row : rows) {
        const TOptionRowDrawing drawing = view.events.onDrawRow(row.option, row.selected);
        EXPECT_EQ(row.image, drawing.imageIndex) << row.option;
        EXPECT_EQ(row.caption, drawing.captionColour) << row.option << " " << row.selected;
        EXPECT_EQ(row.description, drawing.descriptionColour) << row.option << " " << row.selected;
    }
}
