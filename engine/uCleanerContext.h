#pragma once
// Everything one clean needs, fixed when the clean starts.
#include "engine/uEngineInterfaces.h"

class TCleanerContext : public ICleanerContext {
public:
    TCleanerContext(std::shared_ptr<IBroadcastParameters> broadcastParameters, std::shared_ptr<ICleanupList> cleanupList,
                    TCleanupOptionSet selectedOptions, std::vector<std::string> tempDirectories, bool secureDelete,
                    uint8_t secureDeletePasses, bool randomPattern, std::shared_ptr<ICleanReport> cleanReport,
                    std::vector<std::string> targets, bool confirmations, uint32_t diskSpaceGain, uint32_t programRuns,
                    bool recycle)
        : broadcastParameters_(std::move(broadcastParameters)), cleanupList_(std::move(cleanupList)),
          selectedOptions_(selectedOptions), tempDirectories_(std::move(tempDirectories)), secureDelete_(secureDelete),
          secureDeletePasses_(secureDeletePasses), randomPattern_(randomPattern), cleanReport_(std::move(cleanReport)),
          targets_(std::move(targets)), confirmations_(confirmations), diskSpaceGain_(diskSpaceGain),
          programRuns_(programRuns), recycle_(recycle)
    {
    }

    std::shared_ptr<IBroadcastParameters> GetBroadcastParameters() override { return broadcastParameters_; }
    std::shared_ptr<ICleanupList> GetCleanupList() override { return cleanupList_; }
    TCleanupOptionSet GetSelectedOptions() override { return selectedOptions_; }
    const std::vector<std::string>& GetTempDirectories() override { return tempDirectories_; }
    bool GetSecureDelete() override { return secureDelete_; }
    uint8_t GetSecureDeletePasses() override { return secureDeletePasses_; }
    bool GetRandomPattern() override { return randomPattern_; }
    std::shared_ptr<ICleanReport> GetCleanReport() override { return cleanReport_; }
    const std::vector<std::string>& GetTargets() override { return targets_; }
    bool GetConfirmations() override { return confirmations_; }
    uint32_t GetDiskSpaceGain() override { return diskSpaceGain_; }
    uint32_t GetProgramRuns() override { return programRuns_; }
    bool GetRecycle() override { return recycle_; }

private:
    const std::shared_ptr<IBroadcastParameters> broadcastParameters_;
    const std::shared_ptr<ICleanupList> cleanupList_;
    const TCleanupOptionSet selectedOptions_;
    const std::vector<std::string> tempDirectories_;
    const bool secureDelete_;
    const uint8_t secureDeletePasses_;
    const bool randomPattern_;
    const std::shared_ptr<ICleanReport> cleanReport_;
    const std::vector<std::string> targets_;
    const bool confirmations_;
    const uint32_t diskSpaceGain_;
    const uint32_t programRuns_;
    const bool recycle_;
};
