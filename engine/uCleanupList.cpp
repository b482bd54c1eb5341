#include "engine/uCleanupList.h"

#include "engine/uEngineConstants.h"
#include "support/VelaRoutines.h"

#include <algorithm>

size_t THashSet::Slot(uint32_t hash) const
{
    // CRC-32 values are well spread; a multiplicative step evens out the rest.
    return static_cast<size_t>((hash * 2654435761u) & (table_.size() - 1));
}

bool THashSet::Contains(uint32_t hash) const
{
    if (hash == kEmpty)
        return hasEmptyValue_;
    if (table_.empty())
        return false;
    for (size_t i = Slot(hash);; i = (i + 1) & (table_.size() - 1)) {
        if (table_[i] == hash)
            return true;
        if (table_[i] == kEmpty)
            return false;
    }
}

void THashSet::Insert(uint32_t hash)
{
    if (hash == kEmpty) {
        hasEmptyValue_ = true;
        return;
    }
    if (2 * (size_ + 1) > table_.size()) {
        std::vector<uint32_t> old;
        old.swap(table_);
        table_.assign(std::max<size_t>(1024, old.size() * 2), kEmpty);
        size_ = 0;
        for (uint32_t value : old)
            if (value != kEmpty)
                Insert(value);
    }
    size_t i = Slot(hash);
    while (table_[i] != kEmpty && table_[i] != hash)
        i = (i + 1) & (table_.size() - 1);
    if (table_[i] == kEmpty) {
        table_[i] = hash;
        ++size_;
    }
}

void THashSet::Clear()
{
    if (size_ > 0)
        std::fill(table_.begin(), table_.end(), kEmpty);
    size_ = 0;
    hasEmptyValue_ = false;
}

void TCleanupListItem::SetOptionName(const std::string& value)
{
    if (value != optionName_)
        optionName_ = value;
}

void TCleanupListItem::SetPath(const std::string& value)
{
    if (value == path_)
        return;
    path_ = value;
    hash_ = hasher_ ? hasher_->Calculate(path_) : 0;
}

std::string TCleanupListItem::GetSizeText()
{
    return TNumberRoutines::FormatCapacity(size_);
}

TCleanupList::TCleanupList(std::shared_ptr<ICRC32> hasher) : hasher_(std::move(hasher)), capacity_(CleanupListGrowth)
{
    slots_.reserve(static_cast<size_t>(capacity_));
}

namespace {
bool HashLess(uint32_t a, uint32_t b)
{
    return a < b;
}
} // namespace

void TCleanupList::RestoreOrder()
{
    if (!sorted_ || ordered_ == slots_.size())
        return;
    const auto byHash = [](const TSlot& a, const TSlot& b) { return HashLess(a.hash, b.hash); };
    const auto middle = slots_.begin() + static_cast<std::ptrdiff_t>(ordered_);
    std::sort(middle, slots_.end(), byHash);
    std::inplace_merge(slots_.begin(), middle, slots_.end(), byHash);
    ordered_ = slots_.size();
    tailHashes_.Clear();
}

void TCleanupList::SetSorted(bool value)
{
    if (value == sorted_)
        return;
    RestoreOrder();
    sorted_ = value;
    if (sorted_)
        Sort();
}

void TCleanupList::Sort()
{
    if (slots_.empty())
        return;
    std::sort(slots_.begin(), slots_.end(), [](const TSlot& a, const TSlot& b) { return HashLess(a.hash, b.hash); });
    ordered_ = slots_.size();
    tailHashes_.Clear();
}

void TCleanupList::Clear()
{
    slots_.clear();
    slots_.shrink_to_fit();
    tailHashes_ = THashSet();
    ordered_ = 0;
    capacity_ = CleanupListGrowth;
    slots_.reserve(static_cast<size_t>(capacity_));
}

int64_t TCleanupList::GetTotalSize()
{
    int64_t total = 0;
    for (const auto& slot : slots_)
        total += slot.item->GetSize();
    return total;
}

int32_t TCleanupList::GetCheckedCount()
{
    int32_t count = 0;
    for (const auto& slot : slots_)
        if (slot.item->GetChecked())
            ++count;
    return count;
}

int64_t TCleanupList::GetCheckedSize()
{
    int64_t total = 0;
    for (const auto& slot : slots_)
        if (slot.item->GetChecked())
            total += slot.item->GetSize();
    return total;
}

int32_t TCleanupList::IndexOfHash(uint32_t hash)
{
    if (slots_.empty())
        return -1;
    if (!sorted_) {
        for (size_t i = 0; i < slots_.size(); ++i)
            if (slots_[i].hash == hash)
                return static_cast<int32_t>(i);
        return -1;
    }
    RestoreOrder();
    const auto found = std::lower_bound(slots_.begin(), slots_.end(), hash,
                                        [](const TSlot& slot, uint32_t value) { return HashLess(slot.hash, value); });
    if (found == slots_.end() || found->hash != hash)
        return -1;
    return static_cast<int32_t>(found - slots_.begin());
}

bool TCleanupList::ContainsHash(uint32_t hash)
{
    if (sorted_) {
        // Answered without restoring the order, so a scan's duplicate checks stay cheap.
        if (tailHashes_.Contains(hash))
            return true;
        const auto end = slots_.begin() + static_cast<std::ptrdiff_t>(ordered_);
        const auto found = std::lower_bound(slots_.begin(), end, hash,
                                            [](const TSlot& slot, uint32_t value) { return HashLess(slot.hash, value); });
        return found != end && found->hash == hash;
    }
    return IndexOfHash(hash) >= 0;
}

bool TCleanupList::AnyCheckedOfSafety(TSafetyClass safety)
{
    for (const auto& slot : slots_)
        if (slot.item->GetChecked() && slot.item->GetSafety() == safety)
            return true;
    return false;
}

std::shared_ptr<ICleanupListItem> TCleanupList::GetItem(int32_t position)
{
    if (position < 0 || position >= capacity_ || static_cast<size_t>(position) >= slots_.size())
        return nullptr;
    RestoreOrder();
    return slots_[static_cast<size_t>(position)].item;
}

std::shared_ptr<ICleanupListItem> TCleanupList::FindByPath(const std::string& path)
{
    return FindByHash(hasher_->Calculate(path));
}

std::shared_ptr<ICleanupListItem> TCleanupList::FindByHash(uint32_t hash)
{
    const int32_t index = IndexOfHash(hash);
    if (index < 0)
        return nullptr;
    return slots_[static_cast<size_t>(index)].item;
}

bool TCleanupList::Add(bool checked, TSafetyClass safety, TCleanupOption option, const std::string& optionName,
                       const std::string& path, int64_t size, int32_t shellFolder,
                       std::shared_ptr<ICleanupListItem>& entry)
{
    entry = nullptr;
    const uint32_t hash = hasher_->Calculate(path);
    if (ContainsHash(hash))
        return false;
    // The slot count grows in fixed steps; the storage behind it grows geometrically, so a
    // long scan does not copy the whole list every 8,192 entries.
    if (static_cast<int32_t>(slots_.size()) == capacity_)
        capacity_ += CleanupListGrowth;
    auto item = std::make_shared<TCleanupListItem>(hasher_);
    item->SetChecked(checked);
    item->SetSafety(safety);
    item->SetOption(option);
    item->SetOptionName(optionName);
    item->AssignPath(path, hash);
    item->SetSize(size);
    item->SetShellFolder(shellFolder);
    entry = item;
    slots_.push_back({item->GetHash(), std::move(item)});
    if (!sorted_) {
        ordered_ = slots_.size();
        return true;
    }
    tailHashes_.Insert(slots_.back().hash);
    // Merging once the tail is as long as the ordered part keeps the total work O(n log n).
    if (slots_.size() - ordered_ >= std::max<size_t>(CleanupListGrowth, ordered_))
        RestoreOrder();
    return true;
}

void TCleanupList::CheckAll(bool checked)
{
    for (const auto& slot : slots_)
        slot.item->SetChecked(checked);
}

void TCleanupList::CheckSafety(TSafetyClass safety)
{
    for (const auto& slot : slots_)
        slot.item->SetChecked(slot.item->GetSafety() == safety);
}
