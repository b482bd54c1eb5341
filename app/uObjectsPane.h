#pragma once
// The found-objects list of the main window's second page. The rows are the pane's own vector
// over the found objects (sorting and appending never touch the model); every check lives in
// the object itself and every change of one is carried into the counters at once.
#include "app/uControllerInterfaces.h"
#include "app/uMainPanes.h"
#include "app/uObjectsView.h"
#include "prefs/VelaPreferences.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace objects_texts {
extern const char* const kColumnCategory;
extern const char* const kColumnPath;
extern const char* const kColumnSize;
extern const char* const kColumnQuota;
extern const char* const kMenuOpen;
extern const char* const kMenuOpenDirectory;
extern const char* const kMenuCopyName;
extern const char* const kMenuCopyNames;
extern const char* const kMenuViewHex;
extern const char* const kMenuViewBinary;
extern const char* const kMenuViewText;
extern const char* const kOpenOne;
extern const char* const kOpenSeveral;          // %d = number of rows
extern const char* const kOpenDirectoryFailed;  // %s = file name
extern const char* const kLargeObject;          // %s = file name
} // namespace objects_texts

namespace objects_colours {
constexpr uint32_t kPotentiallyUnsafe = 0x033767;
constexpr uint32_t kUnsafeCategory = 0x000040;
constexpr uint32_t kUnsafe = 0x0500C4;
constexpr uint32_t kQuotaBox = quota_colours::kBox;
constexpr uint32_t kQuotaFill = quota_colours::kFill;
} // namespace objects_colours

// Virtual-key codes the list reacts to (the system's values).
namespace objects_keys {
constexpr uint32_t kSpace = 0x20;
constexpr uint32_t kA = 0x41;
constexpr uint32_t kC = 0x43;
} // namespace objects_keys

class TObjectsPane : public IObjectsPane {
public:
    // Objects above this many bytes ask before they are viewed.
    static constexpr int64_t kViewQuestionBytes = 65536;

    TObjectsPane(IObjectsView& view, IMessageBoxService& messageBoxes, IWindowServices& windowServices,
                 TPreferenceValues& preferences, std::shared_ptr<ICleanupList> objects,
                 std::shared_ptr<IBroadcastParameters> broadcast, TObjectsPaneEvents events = {});
    ~TObjectsPane() override;
    TObjectsPane(const TObjectsPane&) = delete;
    TObjectsPane& operator=(const TObjectsPane&) = delete;

    // IObjectsPane
    void Add(const std::shared_ptr<ICleanupListItem>& object) override;
    void Clear() override;
    int32_t RowCount() override { return static_cast<int32_t>(rows_.size()); }
    void ApplyCheckPreset(TObjectsCheck preset) override;
    void SetEnabled(bool enabled) override;
    void SetChecksFrozen(bool frozen) override { checksFrozen_ = frozen; }
    void SetFileSystemIcons(bool enabled) override;
    void PreviewQuotaMode(bool largestCapacity) override;
    void RefreshHeader() override;

    // What the view asks and reports, as the pane answers it.
    std::string CellText(int32_t row, int32_t column);
    int32_t RowImage(int32_t row);
    bool RowChecked(int32_t row);
    uint32_t CellTextColour(int32_t row, int32_t column);
    TQuotaBar QuotaBar(int32_t row, const TCellRect& cell);
    std::string RowSafety(int32_t row);
    int32_t RowQuotaPercent(int32_t row);
    void CheckBoxClicked(int32_t row);
    void HeaderClicked(int32_t column);
    void ContextMenuRequested();
    bool KeyDown(uint32_t key, bool control);
    void FocusLost();

    // The menu as it opens over the current selection.
    std::vector<TObjectsMenuItem> MenuItems();
    void RunCommand(TObjectsCommand command);

    // The found object behind row, or none.
    std::shared_ptr<ICleanupListItem> RowObject(int32_t row) const;
    int32_t SortColumn() const { return sort_.Column(); }
    // -1 unsorted, 0 descending, 1 ascending.
    int32_t SortDirection(int32_t column) const { return sort_.Direction(column); }

    // The drawing and ordering rules.
    static uint32_t TextColour(TSafetyClass safety, int32_t column, bool systemIcons);
    // size, capacities in Ko.
    static TQuotaBar QuotaBarGeometry(const TCellRect& cell, int64_t size, int64_t foundCapacity,
                                      int64_t largestCapacity, bool largestMode);

private:
    struct TRow {
        std::shared_ptr<ICleanupListItem> object;
        int32_t icon; // kIconUnknown until the view was asked
    };
    static constexpr int32_t kIconUnknown = -2;

    void WireEvents();
    bool ValidRow(int32_t row) const { return row >= 0 && row < static_cast<int32_t>(rows_.size()); }
    bool QuotaLargestMode() const;

    // Checks
    void ToggleCheck(int32_t row);
    void CarryIntoModel(ICleanupListItem& object);
    void ChecksChanged();

    // Sorting (uObjectsSort.cpp)
    void SortRows(int32_t column, bool ascending);
    void ShowSortImages();

    // Commands
    std::vector<int32_t> Selection();
    bool Viewable(const std::vector<int32_t>& selected);
    void Open();
    void OpenContainingDirectory();
    void CopyNames();
    void ViewObject(int32_t viewMode);
    int64_t ObjectBytes(ICleanupListItem& object);
    TMsgBoxResult Ask(TMsgBoxKind kind, const std::string& text, uint32_t buttons);

    IObjectsView& view_;
    IMessageBoxService& messageBoxes_;
    IWindowServices& windowServices_;
    TPreferenceValues& prefs_;
    std::shared_ptr<ICleanupList> objects_;
    std::shared_ptr<IBroadcastParameters> broadcast_;
    TObjectsPaneEvents events_;

    std::vector<TRow> rows_;
    TListSortState sort_{kObjectsColumnCount};
    bool enabled_ = true;
    bool checksFrozen_ = false;
    bool systemIcons_ = false;
    // The options window's unsaved choice while it shows.
    std::optional<bool> quotaPreview_;
};
