#pragma once
// The inputs of one scan, fixed at creation, and the option being scanned.
#include "engine/uEngineInterfaces.h"

class TScannerContext : public IScannerContext {
public:
    TScannerContext(std::shared_ptr<IBroadcastParameters> broadcastParameters,
                    std::shared_ptr<ICleanupOptionsList> cleanupOptions, std::shared_ptr<ICleanupList> cleanupList,
                    TCleanupOptionSet selectedOptions, std::vector<std::string> targets,
                    std::vector<std::string> excludeFiles, std::vector<std::string> excludeDirectories,
                    bool ignoreSymbolicLinks, std::shared_ptr<IScannerValidators> validators);

    std::shared_ptr<IBroadcastParameters> GetBroadcastParameters() override { return broadcastParameters_; }
    std::shared_ptr<ICleanupOptionsList> GetCleanupOptions() override { return cleanupOptions_; }
    std::shared_ptr<ICleanupList> GetCleanupList() override { return cleanupList_; }
    TCleanupOptionSet GetSelectedOptions() override { return selectedOptions_; }
    const std::vector<std::string>& GetTargets() override { return targets_; }
    const std::vector<std::string>& GetExcludeFiles() override { return excludeFiles_; }
    const std::vector<std::string>& GetExcludeDirectories() override { return excludeDirectories_; }
    bool GetIgnoreSymbolicLinks() override { return ignoreSymbolicLinks_; }
    std::shared_ptr<IScannerValidators> GetValidators() override { return validators_; }

private:
    std::shared_ptr<IBroadcastParameters> broadcastParameters_;
    std::shared_ptr<ICleanupOptionsList> cleanupOptions_;
    std::shared_ptr<ICleanupList> cleanupList_;
    TCleanupOptionSet selectedOptions_;
    std::vector<std::string> targets_;
    std::vector<std::string> excludeFiles_;
    std::vector<std::string> excludeDirectories_;
    bool ignoreSymbolicLinks_;
    std::shared_ptr<IScannerValidators> validators_;
};

class TScanContext : public IScanContext {
public:
    TScanContext(TCleanupOption option, TObjectKind kind) : option_(option), kind_(kind) {}

    TCleanupOption GetOption() override { return option_; }
    TObjectKind GetObjectKind() override { return kind_; }

private:
    TCleanupOption option_;
    TObjectKind kind_;
};
