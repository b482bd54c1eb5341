#pragma once
// The found objects of one cycle, keyed by the CRC-32 of their path.
#include "engine/uEngineInterfaces.h"

#include <atomic>
#include <vector>

// A set of 32-bit hashes in one flat table (open addressing), for the entries waiting to be
// merged: no allocation per entry, cheap to empty.
class THashSet {
public:
    bool Contains(uint32_t hash) const;
    void Insert(uint32_t hash);
    void Clear();

private:
    size_t Slot(uint32_t hash) const;

    std::vector<uint32_t> table_; // kEmpty marks a free slot
    size_t size_ = 0;
    bool hasEmptyValue_ = false;  // the hash that equals kEmpty is kept aside
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
};

class TCleanupListItem : public ICleanupListItem {
public:
    explicit TCleanupListItem(std::shared_ptr<ICRC32> hasher) : hasher_(std::move(hasher)) {}

    uint32_t GetHash() override { return hash_; }
    bool GetChecked() override { return checked_; }
    void SetChecked(bool value) override { checked_ = value; }
    TSafetyClass GetSafety() override { return safety_; }
    void SetSafety(TSafetyClass value) override { safety_ = value; }
    int32_t GetSafetyIndex() override { return static_cast<int32_t>(safety_); }
    TCleanupOption GetOption() override { return option_; }
    void SetOption(TCleanupOption value) override { option_ = value; }
    std::string GetOptionName() override { return optionName_; }
    void SetOptionName(const std::string& value) override;
    std::string GetPath() override { return path_; }
    void SetPath(const std::string& value) override;
    int64_t GetSize() override { return size_; }
    std::string GetSizeText() override;
    void SetSize(int64_t value) override { size_ = value; }
    int64_t GetByteSize() override { return byteSize_; }
    void SetByteSize(int64_t value) override { byteSize_ = value; }
    int32_t GetShellFolder() override { return shellFolder_; }
    void SetShellFolder(int32_t value) override { shellFolder_ = value; }
    const TObjectOrigin& GetOrigin() override { return origin_; }
    void SetOrigin(const TObjectOrigin& value) override { origin_ = value; }

    // SetPath with the path's hash already computed by the list.
    void AssignPath(const std::string& value, uint32_t hash)
    {
        path_ = value;
        hash_ = hash;
    }

private:
    std::shared_ptr<ICRC32> hasher_;
    uint32_t hash_ = 0;
    bool checked_ = false;
    TSafetyClass safety_ = scSafe;
    TCleanupOption option_ = 0;
    std::string optionName_;
    std::string path_;
    int64_t size_ = 0;
    int64_t byteSize_ = -1;
    int32_t shellFolder_ = -1;
    TObjectOrigin origin_;
};

// In sorted mode new entries wait in an unordered tail, found through a hash set, and are
// merged into place before anything reads positions; so every read sees the entries in hash
// order, as if each Add had sorted the list, without paying a sort per Add.
class TCleanupList : public ICleanupList {
public:
    explicit TCleanupList(std::shared_ptr<ICRC32> hasher);

    std::shared_ptr<ICRC32> GetHasher() override { return hasher_; }
    bool GetSorted() override { return sorted_; }
    void SetSorted(bool value) override;
    void Sort() override;
    void Clear() override;
    int32_t GetCount() override { return static_cast<int32_t>(slots_.size()); }
    int64_t GetTotalSize() override;
    int32_t GetCheckedCount() override;
    int64_t GetCheckedSize() override;
    int32_t IndexOfHash(uint32_t hash) override;
    bool ContainsHash(uint32_t hash) override;
    bool AnyCheckedOfSafety(TSafetyClass safety) override;
    std::shared_ptr<ICleanupListItem> GetItem(int32_t position) override;
    std::shared_ptr<ICleanupListItem> FindByPath(const std::string& path) override;
    std::shared_ptr<ICleanupListItem> FindByHash(uint32_t hash) override;
    bool Add(bool checked, TSafetyClass safety, TCleanupOption option, const std::string& optionName,
             const std::string& path, int64_t size, int32_t shellFolder,
             std::shared_ptr<ICleanupListItem>& entry) override;
    void CheckAll(bool checked) override;
    void CheckSafety(TSafetyClass safety) override;
    int64_t GetUnreadableFolders() override { return unreadableFolders_; }
    void SetUnreadableFolders(int64_t count) override { unreadableFolders_ = count; }

    // Allocated slots (grows by 8,192).
    int32_t GetCapacity() const { return capacity_; }

private:
    struct TSlot {
        uint32_t hash;
        std::shared_ptr<TCleanupListItem> item;
    };

    void RestoreOrder();

    std::shared_ptr<ICRC32> hasher_;
    bool sorted_ = false;
    int32_t capacity_;
    std::vector<TSlot> slots_;
    // Set by the scan's worker when it ends, read by the window after.
    std::atomic<int64_t> unreadableFolders_{0};
    // Sorted mode: slots_[0, ordered_) are in hash order; the rest wait for RestoreOrder.
    size_t ordered_ = 0;
    THashSet tailHashes_;
};
