#include "engine/uScannerContext.h"

#include "engine/uEngineImplementation.h"
#include "support/VelaRoutines.h"

TScannerContext::TScannerContext(std::shared_ptr<IBroadcastParameters> broadcastParameters,
                                 std::shared_ptr<ICleanupOptionsList> cleanupOptions,
                                 std::shared_ptr<ICleanupList> cleanupList, TCleanupOptionSet selectedOptions,
                                 std::vector<std::string> targets, std::vector<std::string> excludeFiles,
                                 std::vector<std::string> excludeDirectories, bool ignoreSymbolicLinks,
                                 std::shared_ptr<IScannerValidators> validators)
    : broadcastParameters_(std::move(broadcastParameters)), cleanupOptions_(std::move(cleanupOptions)),
      cleanupList_(std::move(cleanupList)), selectedOptions_(selectedOptions), targets_(std::move(targets)),
      excludeFiles_(std::move(excludeFiles)), excludeDirectories_(std::move(excludeDirectories)),
      ignoreSymbolicLinks_(ignoreSymbolicLinks), validators_(std::move(validators))
{
}

std::shared_ptr<IScannerContext> TEngineServices::CreateScannerContext(
    const std::shared_ptr<IBroadcastParameters>& broadcastParameters,
    const std::shared_ptr<ICleanupOptionsList>& cleanupOptions, const std::shared_ptr<ICleanupList>& cleanupList,
    TCleanupOptionSet selectedOptions, const std::string& targets, const std::string& excludeFiles,
    const std::string& excludeDirectories, bool ignoreSymbolicLinks,
    const std::shared_ptr<IScannerValidators>& validators)
{
    return std::make_shared<TScannerContext>(broadcastParameters, cleanupOptions, cleanupList, selectedOptions,
                                             TStringRoutines::SplitString(targets, ';'),
                                             TStringRoutines::SplitString(excludeFiles, ';'),
                                             TStringRoutines::SplitString(excludeDirectories, ';'),
                                             ignoreSymbolicLinks, validators);
}

std::shared_ptr<IScanContext> TEngineServices::CreateScanContext(TCleanupOption option, TObjectKind kind)
{
    return std::make_shared<TScanContext>(option, kind);
}
