#include "engine/uCleanReport.h"

#include "engine/uEngineImplementation.h"
#include "platform/PlatformError.h"
#include "platform/PlatformFiles.h"

void TCleanReport::SaveToFile(const std::string& fileName)
{
    std::string text;
    for (const std::string& line : lines_)
        text.append(line).append("\r\n");
    platform::FileHandle file(fileName, platform::FileAccess::CreateTruncate);
    if (!file.IsOpen())
        throw EOSError(file.ErrorCode(), "Cannot create \"" + fileName + "\": " + platform::SystemErrorMessage(file.ErrorCode()));
    if (file.Write(text.data(), static_cast<int64_t>(text.size())) != static_cast<int64_t>(text.size()))
        throw EOSError(file.ErrorCode(), "Cannot write \"" + fileName + "\": " + platform::SystemErrorMessage(file.ErrorCode()));
}

std::shared_ptr<ICleanReport> TEngineServices::CreateCleanReport()
{
    return std::make_shared<TCleanReport>();
}
