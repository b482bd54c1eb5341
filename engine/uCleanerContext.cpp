#include "engine/uCleanerContext.h"

#include "engine/uEngineImplementation.h"

std::shared_ptr<ICleanerContext> TEngineServices::CreateCleanerContext(
    const std::shared_ptr<IBroadcastParameters>& broadcastParameters, const std::shared_ptr<ICleanupList>& cleanupList,
    TCleanupOptionSet selectedOptions, const std::vector<std::string>& tempDirectories, bool secureDelete,
    uint8_t secureDeletePasses, bool randomPattern, const std::shared_ptr<ICleanReport>& cleanReport,
    const std::vector<std::string>& targets, bool confirmations, uint32_t diskSpaceGain, uint32_t programRuns, bool recycle)
{
    return std::make_shared<TCleanerContext>(broadcastParameters, cleanupList, selectedOptions, tempDirectories,
                                             secureDelete, secureDeletePasses, randomPattern, cleanReport, targets,
                                             confirmations, diskSpaceGain, programRuns, recycle);
}
