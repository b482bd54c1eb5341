#pragma once
// Per-option figures of the found objects, as rows for the report window and as a text file.
#include "engine/uEngineInterfaces.h"

#include <array>
#include <memory>

class TScanReportItem : public IScanReportItem {
public:
    TScanReportItem(TCleanupOption option, int64_t capacity, int32_t count, std::string name)
        : option_(option), name_(std::move(name)), count_(count), capacity_(capacity)
    {
    }

    TCleanupOption GetOption() override { return option_; }
    std::string GetName() override { return name_; }
    int32_t GetFoundCount() override { return count_; }
    std::string GetFoundCountText() override;
    int64_t GetFoundCapacity() override { return capacity_; }
    std::string GetFoundCapacityText() override;

private:
    const TCleanupOption option_;
    const std::string name_;
    const int32_t count_;
    const int64_t capacity_;
};

class TScanReport : public IScanReport {
public:
    TScanReport(std::shared_ptr<ICleanupOptionsList> cleanupOptions, std::shared_ptr<ICleanupList> cleanupList)
        : cleanupOptions_(std::move(cleanupOptions)), cleanupList_(std::move(cleanupList))
    {
    }

    int32_t GetFoundCount(TCleanupOption option) override;
    int64_t GetFoundCapacity(TCleanupOption option) override;
    int32_t GetTotalFoundCount() override;
    int64_t GetTotalFoundCapacity() override;
    void Build() override;
    void FillListView(const std::shared_ptr<IReportListView>& listView) override;
    void SaveToFile(const std::string& fileName) override;
    std::shared_ptr<IScanReportItem> GetItem(int32_t option) override;
    std::shared_ptr<IScanReportItem> GetRow(int32_t option) override;

    // The report's text lines, each without its line end (the first carries its own).
    std::vector<std::string> GetLines() override;
    // "%3.2f" of value with the given decimal separator.
    static std::string FormatQuota(long double value, const std::string& decimalSeparator);

private:
    void BuildIfNeeded();

    std::shared_ptr<ICleanupOptionsList> cleanupOptions_;
    std::shared_ptr<ICleanupList> cleanupList_;
    std::array<std::shared_ptr<IScanReportItem>, 23> rows_;
    bool built_ = false;
};

class TScanFindings {
public:
    // "1 folder could not be read." and the like: the scan's closing status and its report say it.
    static std::string UnreadableText(int64_t folders);
};
