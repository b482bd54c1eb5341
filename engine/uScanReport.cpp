#include "engine/uScanReport.h"

#include "engine/uEngineConstants.h"
#include "engine/uEngineImplementation.h"
#include "platform/PlatformError.h"
#include "platform/PlatformFiles.h"
#include "platform/PlatformNumberFormat.h"
#include "support/VelaDetect.h"
#include "support/VelaRoutines.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

std::string TScanFindings::UnreadableText(int64_t folders)
{
    return TNumberRoutines::GroupThousands(folders) + (folders == 1 ? " folder" : " folders") + " could not be read.";
}

std::string TScanReportItem::GetFoundCountText()
{
    return TNumberRoutines::GroupThousands(static_cast<int64_t>(count_));
}

std::string TScanReportItem::GetFoundCapacityText()
{
    return TNumberRoutines::FormatCapacity(capacity_);
}

int32_t TScanReport::GetFoundCount(TCleanupOption option)
{
    int32_t count = 0;
    if (!cleanupList_)
        return count;
    const int32_t total = cleanupList_->GetCount();
    for (int32_t i = 0; i < total; ++i) {
        const auto item = cleanupList_->GetItem(i);
        if (item && item->GetOption() == option)
            ++count;
    }
    return count;
}

int64_t TScanReport::GetFoundCapacity(TCleanupOption option)
{
    int64_t capacity = 0;
    if (!cleanupList_)
        return capacity;
    const int32_t total = cleanupList_->GetCount();
    for (int32_t i = 0; i < total; ++i) {
        const auto item = cleanupList_->GetItem(i);
        if (item && item->GetOption() == option)
            capacity += item->GetSize();
    }
    return capacity;
}

int32_t TScanReport::GetTotalFoundCount()
{
    return cleanupList_ ? cleanupList_->GetCount() : 0;
}

int64_t TScanReport::GetTotalFoundCapacity()
{
    return cleanupList_ ? cleanupList_->GetTotalSize() : 0;
}

void TScanReport::Build()
{
    for (int index = 0; index < CleanupOptionCount; ++index) {
        const auto option = cleanupOptions_ ? cleanupOptions_->GetItem(index) : nullptr;
        const auto key = static_cast<TCleanupOption>(index);
        // A control character in a name would start or rewrite a line of the saved report.
        rows_[static_cast<size_t>(index)] = std::make_shared<TScanReportItem>(
            key, GetFoundCapacity(key), GetFoundCount(key),
            option ? TStringRoutines::PrintableText(option->GetName()) : std::string());
    }
    built_ = true;
}

void TScanReport::BuildIfNeeded()
{
    // Rows that were never built would make an empty report look like a real one.
    if (!built_)
        Build();
}

void TScanReport::FillListView(const std::shared_ptr<IReportListView>& listView)
{
    if (!listView)
        return;
    BuildIfNeeded();
    for (int index = 0; index < CleanupOptionCount; ++index) {
        const auto& row = rows_[static_cast<size_t>(index)];
        const auto option = cleanupOptions_ ? cleanupOptions_->GetItem(index) : nullptr;
        listView->AppendRow(index, option ? option->GetSafetyIndex() : 0, row->GetName(),
                            {row->GetFoundCountText(), row->GetFoundCapacityText()});
    }
}

std::string TScanReport::FormatQuota(long double value, const std::string& decimalSeparator)
{
    // Built by hand: the C library's own separator depends on a process-wide locale setting.
    const auto hundredths = static_cast<long long>(std::llround(value * 100.0L));
    const long long whole = hundredths / 100;
    const long long fraction = (hundredths < 0 ? -hundredths : hundredths) % 100;
    std::string text = (hundredths < 0 && whole == 0 ? "-" : "") + std::to_string(whole) + decimalSeparator;
    if (fraction < 10)
        text += '0';
    return text + std::to_string(fraction);
}

std::vector<std::string> TScanReport::GetLines()
{
    BuildIfNeeded();
    std::vector<std::string> lines;
    lines.push_back("Quillsweep " + TDetect::GetProgramVersion() + " Report\r\n");
    const int64_t total = GetTotalFoundCapacity();
    const std::string separator = platform::DecimalSeparator();
    for (int index = 0; index < CleanupOptionCount; ++index) {
        const auto& row = rows_[static_cast<size_t>(index)];
        const int64_t capacity = row->GetFoundCapacity();
        long double quota = 0;
        if (total > 0 && capacity > 0)
            quota = static_cast<long double>(capacity) / static_cast<long double>(total) * 100.0L;
        lines.push_back(row->GetName() + ", " + row->GetFoundCountText() + " found count, " +
                        row->GetFoundCapacityText() + " found capacity, " + FormatQuota(quota, separator) +
                        "% quota");
    }
    // A scan that missed folders says so: the figures above leave out what lies in them.
    const int64_t unreadable = cleanupList_ ? cleanupList_->GetUnreadableFolders() : 0;
    if (unreadable > 0)
        lines.push_back(TScanFindings::UnreadableText(unreadable));
    return lines;
}

void TScanReport::SaveToFile(const std::string& fileName)
{
    std::string text;
    for (const std::string& line : GetLines())
        text += line + "\r\n";
    platform::FileHandle file(fileName, platform::FileAccess::CreateTruncate);
    if (!file.IsOpen())
        throw EOSError(file.ErrorCode(), "Cannot create \"" + fileName + "\": " +
                                             platform::SystemErrorMessage(file.ErrorCode()));
    const auto length = static_cast<int64_t>(text.size());
    if (file.Write(text.data(), length) != length) {
        const int code = platform::LastErrorCode();
        throw EOSError(code, "Cannot write \"" + fileName + "\": " + platform::SystemErrorMessage(code));
    }
}

std::shared_ptr<IScanReportItem> TScanReport::GetItem(int32_t option)
{
    return GetRow(option & 0x7F);
}

std::shared_ptr<IScanReportItem> TScanReport::GetRow(int32_t option)
{
    if (option < 0 || option >= CleanupOptionCount)
        return nullptr;
    return rows_[static_cast<size_t>(option)];
}

std::shared_ptr<IScanReport> TEngineServices::CreateScanReport(const std::shared_ptr<ICleanupOptionsList>& cleanupOptions,
                                                               const std::shared_ptr<ICleanupList>& cleanupList)
{
    return std::make_shared<TScanReport>(cleanupOptions, cleanupList);
}
