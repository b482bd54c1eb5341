#pragma once
// The engine's interfaces. Objects are created by TEngineServices, held by std::shared_ptr and
// die with their last reference; callers never see the implementing classes.
#include "engine/uEngineTypes.h"
#include "prefs/VelaCRC32.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class ICleanupListItem;

// Hands a worker's calls to the user-interface thread. Synchronize blocks the worker until the
// call has run there; calls run in the order issued; a notice posted afterwards arrives after them.
class ISynchronizer {
public:
    virtual ~ISynchronizer() = default;
    virtual void Synchronize(const std::function<void()>& call) = 0;
    // Hands the call over without waiting for it: it runs after every call handed over before
    // it, and before a later Synchronize returns. For frequent calls whose outcome the worker
    // does not need (a found object); a worker far ahead of the user-interface thread waits.
    virtual void Queue(std::function<void()> call) = 0;
    // Posts message (both parameters 0) to window without waiting.
    virtual void PostNotice(TWindowHandle window, uint32_t message) = 0;
    // On the user-interface thread: serves synchronized calls until finished() holds.
    // From any other thread it only waits.
    virtual void ServeUntil(const std::function<bool()>& finished) = 0;
    // Makes a waiting ServeUntil look at its condition again.
    virtual void Wake() = 0;
};

// Implemented by the window controller that starts a worker.
class IWindowDispatch {
public:
    virtual ~IWindowDispatch() = default;
    // The window that receives the finished message; asked from the worker thread.
    virtual TWindowHandle GetWindowHandle() = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    // How the worker reaches the user-interface thread. Without one, calls run on the worker
    // itself and no finished message is posted (console use).
    virtual std::shared_ptr<ISynchronizer> GetSynchronizer() = 0;
};

class IInterfacedThread {
public:
    virtual ~IInterfacedThread() = default;
    // Lets the suspended thread run; a second call does nothing.
    virtual void Start() = 0;
    // Requests termination and waits for the thread, serving its synchronized calls meanwhile.
    virtual void Stop() = 0;
};

class IScannerValidator {
public:
    virtual ~IScannerValidator() = default;
    virtual bool IsExplicit() = 0;
    virtual TValidatorType GetValidatorType() = 0;
    virtual bool Validate(const std::string& path) = 0;
};

class IScannerValidators {
public:
    virtual ~IScannerValidators() = default;
    virtual TValidatorSet GetExplicitTypes() = 0;
    virtual void Add(TValidatorType type, const TValidatorParameters& parameters) = 0;
    virtual bool Validate(TValidatorSet active, const std::string& path) = 0;
    // Lets a long check (a contents search) end early when the scan is stopped; an object whose
    // check was cut short is not listed.
    virtual void SetStopRequest(std::function<bool()> stopRequested) { (void)stopRequested; }
};

class ICleanupOptionsListItem {
public:
    virtual ~ICleanupOptionsListItem() = default;
    virtual bool GetExcludedFromDefault() = 0;
    virtual TSafetyClass GetSafety() = 0;
    virtual int32_t GetSafetyIndex() = 0;
    virtual std::string GetName() = 0;
    virtual std::string GetDescription() = 0;
    virtual std::string GetMasks() = 0;
    virtual void SetMasks(const std::string& masks) = 0;
    virtual TObjectKind GetObjectKind() = 0;
    virtual bool GetAvailable() = 0;
};

class ICleanupOptionsList {
public:
    virtual ~ICleanupOptionsList() = default;
    // Uses the low seven bits of index.
    virtual std::shared_ptr<ICleanupOptionsListItem> GetOption(int32_t index) = 0;
    virtual std::shared_ptr<ICleanupOptionsListItem> GetItem(int32_t index) = 0;
};

class ICleanupListItem {
public:
    virtual ~ICleanupListItem() = default;
    virtual uint32_t GetHash() = 0;
    virtual bool GetChecked() = 0;
    virtual void SetChecked(bool value) = 0;
    virtual TSafetyClass GetSafety() = 0;
    virtual void SetSafety(TSafetyClass value) = 0;
    virtual int32_t GetSafetyIndex() = 0;
    virtual TCleanupOption GetOption() = 0;
    virtual void SetOption(TCleanupOption value) = 0;
    virtual std::string GetOptionName() = 0;
    virtual void SetOptionName(const std::string& value) = 0;
    virtual std::string GetPath() = 0;
    virtual void SetPath(const std::string& value) = 0;
    virtual int64_t GetSize() = 0;
    virtual std::string GetSizeText() = 0;
    virtual void SetSize(int64_t value) = 0;
    // The size in bytes that GetSize rounds to Ko; -1 when the finder did not give it.
    virtual int64_t GetByteSize() = 0;
    virtual void SetByteSize(int64_t value) = 0;
    virtual int32_t GetShellFolder() = 0;
    virtual void SetShellFolder(int32_t value) = 0;
    virtual const TObjectOrigin& GetOrigin() = 0;
    virtual void SetOrigin(const TObjectOrigin& value) = 0;
};

class ICleanupList {
public:
    virtual ~ICleanupList() = default;
    virtual std::shared_ptr<ICRC32> GetHasher() = 0;
    virtual bool GetSorted() = 0;
    virtual void SetSorted(bool value) = 0;
    virtual void Sort() = 0;
    virtual void Clear() = 0;
    virtual int32_t GetCount() = 0;
    virtual int64_t GetTotalSize() = 0;
    virtual int32_t GetCheckedCount() = 0;
    virtual int64_t GetCheckedSize() = 0;
    virtual int32_t IndexOfHash(uint32_t hash) = 0;
    virtual bool ContainsHash(uint32_t hash) = 0;
    virtual bool AnyCheckedOfSafety(TSafetyClass safety) = 0;
    // None outside the allocated slots and for an empty slot.
    virtual std::shared_ptr<ICleanupListItem> GetItem(int32_t position) = 0;
    virtual std::shared_ptr<ICleanupListItem> FindByPath(const std::string& path) = 0;
    virtual std::shared_ptr<ICleanupListItem> FindByHash(uint32_t hash) = 0;
    // False and no entry when an entry with the path's hash is already listed.
    virtual bool Add(bool checked, TSafetyClass safety, TCleanupOption option, const std::string& optionName,
                     const std::string& path, int64_t size, int32_t shellFolder,
                     std::shared_ptr<ICleanupListItem>& entry) = 0;
    virtual void CheckAll(bool checked) = 0;
    virtual void CheckSafety(TSafetyClass safety) = 0;
    // The folders the scan that filled the list could not read, for every report made of it.
    virtual int64_t GetUnreadableFolders() = 0;
    virtual void SetUnreadableFolders(int64_t count) = 0;
};

// Counters of one scan-and-clean cycle; every Set assigns only a different value.
class IBroadcastParameters {
public:
    virtual ~IBroadcastParameters() = default;
    virtual void Reset() = 0;
    virtual int32_t GetFoundCount() = 0;
    virtual void SetFoundCount(int32_t value) = 0;
    virtual void IncFoundCount() = 0;
    virtual int32_t GetSelectedCount() = 0;
    virtual void SetSelectedCount(int32_t value) = 0;
    virtual void IncSelectedCount() = 0;
    virtual void DecSelectedCount() = 0;
    virtual int64_t GetFoundCapacity() = 0;
    virtual void SetFoundCapacity(int64_t value) = 0;
    virtual void AddFoundCapacity(int64_t value) = 0;
    virtual int64_t GetSelectedCapacity() = 0;
    virtual void SetSelectedCapacity(int64_t value) = 0;
    virtual void AddSelectedCapacity(int64_t value) = 0;
    virtual void SubSelectedCapacity(int64_t value) = 0;
    virtual int64_t GetLargestCapacity() = 0;
    virtual void SetLargestCapacity(int64_t value) = 0;
};

// Where a report's rows go: a list view on Windows, anything else in tests.
class IReportListView {
public:
    virtual ~IReportListView() = default;
    virtual void AppendRow(int32_t data, int32_t imageIndex, const std::string& caption,
                           const std::vector<std::string>& subItems) = 0;
};

class IScanReportItem {
public:
    virtual ~IScanReportItem() = default;
    virtual TCleanupOption GetOption() = 0;
    virtual std::string GetName() = 0;
    virtual int32_t GetFoundCount() = 0;
    virtual std::string GetFoundCountText() = 0;
    virtual int64_t GetFoundCapacity() = 0;
    virtual std::string GetFoundCapacityText() = 0;
};

class IScanReport {
public:
    virtual ~IScanReport() = default;
    virtual int32_t GetFoundCount(TCleanupOption option) = 0;
    virtual int64_t GetFoundCapacity(TCleanupOption option) = 0;
    virtual int32_t GetTotalFoundCount() = 0;
    virtual int64_t GetTotalFoundCapacity() = 0;
    virtual void Build() = 0;
    // Does nothing without a list view.
    virtual void FillListView(const std::shared_ptr<IReportListView>& listView) = 0;
    virtual void SaveToFile(const std::string& fileName) = 0;
    // The lines SaveToFile writes, without their line ends.
    virtual std::vector<std::string> GetLines() = 0;
    // The index is taken modulo 128.
    virtual std::shared_ptr<IScanReportItem> GetItem(int32_t option) = 0;
    virtual std::shared_ptr<IScanReportItem> GetRow(int32_t option) = 0;
};

class IScannerContext {
public:
    virtual ~IScannerContext() = default;
    virtual std::shared_ptr<IBroadcastParameters> GetBroadcastParameters() = 0;
    virtual std::shared_ptr<ICleanupOptionsList> GetCleanupOptions() = 0;
    virtual std::shared_ptr<ICleanupList> GetCleanupList() = 0;
    virtual TCleanupOptionSet GetSelectedOptions() = 0;
    virtual const std::vector<std::string>& GetTargets() = 0;
    virtual const std::vector<std::string>& GetExcludeFiles() = 0;
    virtual const std::vector<std::string>& GetExcludeDirectories() = 0;
    virtual bool GetIgnoreSymbolicLinks() = 0;
    virtual std::shared_ptr<IScannerValidators> GetValidators() = 0;
};

class IScanContext {
public:
    virtual ~IScanContext() = default;
    virtual TCleanupOption GetOption() = 0;
    virtual TObjectKind GetObjectKind() = 0;
};

class IScannerDispatch : public IWindowDispatch {
public:
    virtual void UpdateCounters() = 0;
    virtual void ObjectFound(const std::shared_ptr<ICleanupListItem>& item) = 0;
};

class IScanner : public virtual IInterfacedThread {
public:
    // Replaces the held one; the one already held changes nothing. Set before Start.
    virtual void SetContext(const std::shared_ptr<IScannerContext>& context) = 0;
    virtual void SetDispatch(const std::shared_ptr<IScannerDispatch>& dispatch) = 0;
};

class ICleanReport {
public:
    virtual ~ICleanReport() = default;
    virtual std::vector<std::string>& GetLines() = 0;
    virtual void SaveToFile(const std::string& fileName) = 0;
};

// What one clean adds to the usage statistics; the disk space in Ko.
struct TCleanStatistics {
    uint32_t diskSpaceGain = 0;
    uint32_t objectsCleaned = 0;
};

class ICleanerContext {
public:
    virtual ~ICleanerContext() = default;
    virtual std::shared_ptr<IBroadcastParameters> GetBroadcastParameters() = 0;
    virtual std::shared_ptr<ICleanupList> GetCleanupList() = 0;
    virtual TCleanupOptionSet GetSelectedOptions() = 0;
    virtual const std::vector<std::string>& GetTempDirectories() = 0;
    virtual bool GetSecureDelete() = 0;
    virtual uint8_t GetSecureDeletePasses() = 0;
    virtual bool GetRandomPattern() = 0;
    virtual std::shared_ptr<ICleanReport> GetCleanReport() = 0;
    // The folders the scan was given; the cleaner refuses objects found outside their option's sources.
    virtual const std::vector<std::string>& GetTargets() = 0;
    // Whether each checked object that is not Safe is asked about first.
    virtual bool GetConfirmations() = 0;
    // The usage statistics before this clean, for the report's totals: the disk space gained so
    // far (Ko) and the program's runs.
    virtual uint32_t GetDiskSpaceGain() = 0;
    virtual uint32_t GetProgramRuns() = 0;
    // Objects go to the Recycle Bin (the Trash) of their volume instead of being deleted; one that
    // cannot go there stays. Never with secure deletion.
    virtual bool GetRecycle() { return false; }
};

// Where a recycling clean moved an object, and what tells it from a later entry of the bin that
// took its name and file number.
struct TMovedObject {
    std::string destination;  // its full path in the bin
    int64_t bytes = 0;        // what was moved
    int64_t modified = -1;    // a file's last write, in the system's own units (HeldEntry); -1 unknown
};

class ICleanerDispatch : public IWindowDispatch {
public:
    virtual void SetProgress(int32_t position) = 0;
    // The per-object question for objects that are not Safe ("Delete the file: \"%s\"?"),
    // asked through the message box on the user-interface thread.
    virtual TConfirmAnswer ConfirmDelete(const std::string& path) = 0;
    // Whether the object at index was removed or skipped, and the bytes its removal freed (what it
    // held when it went, not what the scan saw), just before its SetProgress; a caller that lists
    // what a clean did needs no report text to parse.
    virtual void ObjectCleaned(int32_t index, bool removed, int64_t removedBytes) {}
    // Why the object at index was skipped, just before its ObjectCleaned.
    virtual void ObjectSkipped(int32_t index, TSkipReason reason) {}
    // A recycling clean moved the object at index to the bin; just before its ObjectCleaned, which
    // counts it as removed.
    virtual void ObjectMoved(int32_t index, const TMovedObject& moved) {}
    // Whether the last status stays up a moment before the outcome replaces it, for a user
    // reading a status line; a console tool prints the outcome at once.
    virtual bool HoldsLastStatus() { return true; }
};

class ICleaner : public virtual IInterfacedThread {
public:
    virtual void SetContext(const std::shared_ptr<ICleanerContext>& context) = 0;
    virtual void SetDispatch(const std::shared_ptr<ICleanerDispatch>& dispatch) = 0;
    // What the clean adds to the statistics, for its caller to add on its own thread (the window's
    // values are read there at any time). Whole once the finished notice has arrived.
    virtual TCleanStatistics GetStatistics() = 0;
};
