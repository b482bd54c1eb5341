#pragma once
// The uninstall window: lists the registered applications, sorts them, starts an application's
// own uninstaller, and removes an entry whose uninstaller has gone once the user agrees.
#include "app/uControllerInterfaces.h"
#include "app/uListSupport.h"
#include "app/uUninstallView.h"
#include "app/uWindowController.h"
#include "prefs/VelaPreferences.h"
#include "support/VelaUninstallRoutines.h"

#include <functional>
#include <string>

namespace uninstall_texts {
extern const char* const kTitle;
extern const char* const kRefresh;
extern const char* const kUninstall;
extern const char* const kClose;
extern const char* const kColumnName;
extern const char* const kColumnPublisher;
extern const char* const kColumnSize;
extern const char* const kColumnVersion;
extern const char* const kNotInstalled; // %s = the application's name
} // namespace uninstall_texts

class TUninstallController : public TWindowController, public IUninstallController {
public:
    // Starts a program with its arguments without waiting; false when it could not start.
    using TStarter = std::function<bool(const std::string& program, const std::string& arguments)>;

    // starter: the system's unless a test gives one.
    TUninstallController(IUninstallView& view, IMessageBoxService& messageBoxes, const TPreferenceValues& preferences,
                         platform::IRegistry& registry, TStarter starter = {});
    ~TUninstallController() override;
    TUninstallController(const TUninstallController&) = delete;
    TUninstallController& operator=(const TUninstallController&) = delete;

    // IUninstallController
    int32_t ResizeHitTest(int32_t x, int32_t y, int32_t width, int32_t height, int32_t systemResult) override;
    void LoadStrings() override;

    // What the view asks and reports, as the controller answers it.
    std::string CellText(int32_t row, int32_t column);
    int32_t RowImage(int32_t row);
    void HeaderClicked(int32_t column);
    void SelectionChanged();

    // Reads the registry again and shows what it holds.
    void Fill();
    // The selected application: its uninstaller started, or its stale entry removed on Yes.
    void Uninstall();

    int32_t RowCount() const { return static_cast<int32_t>(rows_.size()); }
    const TListSortState& Sorting() const { return sort_; }

protected:
    void WireEvents() override;
    void LoadImages() override;

private:
    struct TRow {
        std::shared_ptr<IUninstallInfo> entry;
        int32_t image = 0; // the entry's place in the registry walk
    };

    bool ValidRow(int32_t row) const { return row >= 0 && row < RowCount(); }
    int32_t ChosenRow();
    void SortRows(int32_t column, bool ascending);
    void ShowSortImages();

    IUninstallView& view_;
    IMessageBoxService& messageBoxes_;
    const TPreferenceValues& prefs_;
    platform::IRegistry& registry_;
    TStarter starter_;
    std::vector<TRow> rows_;
    TListSortState sort_{kUninstallColumnCount};
};
