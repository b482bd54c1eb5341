#pragma once
// The main window's three working parts as the main controller uses them: the clean targets
// (directory tree and clean-up list), the clean-up options list and the found-objects list.
// Each is a portable controller of its own over a view of its own; the main controller holds
// them through these interfaces, so the workflow is tested with fakes of them.
#include "app/uCommandLine.h"
#include "cycle/uCycleSetup.h"
#include "engine/uEngineInterfaces.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class ITargetsPane {
public:
    virtual ~ITargetsPane() = default;
    // The current clean targets joined by ";": the checked clean-up list rows, or else the
    // tree selection (every drive when the tree's root is selected).
    virtual std::string SelectionText() = 0;
    // Shows "Selected: \"%s\"" with SelectionText in the status line.
    virtual void RefreshSelectionStatus() = 0;
    // The tree selection's path, or its drive root ("C:\") when below the root; "" for the root.
    virtual std::string DriveInformationTarget() = 0;
    // First showing: the saved targets from CleanupSelection / RestoreCleanupList.
    virtual void RestoreTargets() = 0;
    // The command line's targets (after RestoreTargets).
    virtual void ApplyCommandLine(const TCommandLine& commandLine) = 0;
    // On close, only when started without arguments: CleanupSelection and RestoreCleanupList.
    virtual void SaveTargets() = 0;
    // Shows or hides what reaches the drive information window from the pane (the tree's menu item).
    virtual void ShowDriveInformation(bool shown) = 0;
};

class IOptionsPane {
public:
    virtual ~IOptionsPane() = default;
    // Row i checked when bit i is set and option i is available; Set Safe on a first run with
    // nothing stored. Refreshes the header.
    virtual void RestoreChecks() = 0;
    // The checked rows as a mask, also written to CleanupOptions.
    virtual TCleanupOptionSet StoreChecks() = 0;
    // "Set Safe", "Set Default", "Set All", "Set None"; refreshes the header.
    virtual void ApplyPreset(TOptionPreset preset) = 0;
    virtual void Repaint() = 0;
    // The custom masks changed: the option rows' texts may have to be drawn again.
    virtual void ApplyCustomMasks() = 0;
};

enum TObjectsCheck { ocSafe, ocAll, ocNone };

class IObjectsPane {
public:
    virtual ~IObjectsPane() = default;
    // A found object arrives (on the user-interface thread, while the scan runs).
    virtual void Add(const std::shared_ptr<ICleanupListItem>& object) = 0;
    // Removes every row and resets the sort state.
    virtual void Clear() = 0;
    virtual int32_t RowCount() = 0;
    // "Check Safe", "Check All", "Check None", with the counters kept in step.
    virtual void ApplyCheckPreset(TObjectsCheck preset) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    // After a clean the checks are frozen (the Clean button reads "Repeat").
    virtual void SetChecksFrozen(bool frozen) = 0;
    virtual void SetFileSystemIcons(bool enabled) = 0;
    virtual void PreviewQuotaMode(bool largestCapacity) = 0;
    // " Objects [Selected: %s / %s, Capacity: %s / %s]" from the counters.
    virtual void RefreshHeader() = 0;
};

// What the objects list tells the main controller.
struct TObjectsPaneEvents {
    // The selected count changed: "Clean" is enabled exactly when it is above 0.
    std::function<void(uint32_t selectedCount)> onSelectionCountChanged;
};

// Makes the three panes over the main window's controls for the main controller, which calls
// each once while it initialises, after creating the engine objects the panes share with it.
// The Win32 form implements it; tests return fakes.
class IMainPanesFactory {
public:
    virtual ~IMainPanesFactory() = default;
    virtual std::shared_ptr<ITargetsPane> CreateTargetsPane() = 0;
    virtual std::shared_ptr<IOptionsPane> CreateOptionsPane(std::shared_ptr<ICleanupOptionsList> options) = 0;
    virtual std::shared_ptr<IObjectsPane> CreateObjectsPane(std::shared_ptr<ICleanupList> objects,
                                                            std::shared_ptr<IBroadcastParameters> broadcast,
                                                            TObjectsPaneEvents events) = 0;
};
