#pragma once
#include "engine/uEngineInterfaces.h"

class TBroadcastParameters : public IBroadcastParameters {
public:
    void Reset() override;
    int32_t GetFoundCount() override { return foundCount_; }
    void SetFoundCount(int32_t value) override { foundCount_ = value; }
    void IncFoundCount() override { ++foundCount_; }
    int32_t GetSelectedCount() override { return selectedCount_; }
    void SetSelectedCount(int32_t value) override { selectedCount_ = value; }
    void IncSelectedCount() override { ++selectedCount_; }
    void DecSelectedCount() override { --selectedCount_; }
    int64_t GetFoundCapacity() override { return foundCapacity_; }
    void SetFoundCapacity(int64_t value) override { foundCapacity_ = value; }
    void AddFoundCapacity(int64_t value) override { foundCapacity_ += value; }
    int64_t GetSelectedCapacity() override { return selectedCapacity_; }
    void SetSelectedCapacity(int64_t value) override { selectedCapacity_ = value; }
    void AddSelectedCapacity(int64_t value) override { selectedCapacity_ += value; }
    void SubSelectedCapacity(int64_t value) override { selectedCapacity_ -= value; }
    int64_t GetLargestCapacity() override { return largestCapacity_; }
    void SetLargestCapacity(int64_t value) override { largestCapacity_ = value; }

private:
    int32_t foundCount_ = 0;
    int32_t selectedCount_ = 0;
    int64_t foundCapacity_ = 0;
    int64_t selectedCapacity_ = 0;
    int64_t largestCapacity_ = 0;
};
