#pragma once
// The validators a candidate object must pass before the scanner lists it.
#include "engine/uEngineInterfaces.h"
#include "platform/PlatformFiles.h"

#include <vector>

class TScannerValidator : public IScannerValidator {
public:
    TScannerValidator(TValidatorType type, const TValidatorParameters& parameters);

    bool IsExplicit() override { return type_ > svInvalidShortcut; }
    TValidatorType GetValidatorType() override { return type_; }
    bool Validate(const std::string& path) override;
    void SetStopRequest(std::function<bool()> stopRequested) { stopRequested_ = std::move(stopRequested); }

    // The contents search reads this much at a time (more for longer search texts).
    static constexpr size_t kContentsChunk = 32768;

private:
    bool ValidateEmptyDirectory();
    bool ValidateInvalidShortcut();
    bool ValidateFileDate();
    bool ValidateFileAttributes();
    bool ValidateFileContents();
    bool RangeHoldsText(platform::FileHandle& file, int64_t position, int64_t remaining, const std::string& text,
                        bool caseSensitive);
    bool ValidateFileSize();

    int64_t IntegerParameter(size_t index) const;
    bool BooleanParameter(size_t index) const;

    TValidatorType type_;
    std::vector<std::string> parameters_;
    std::string path_;
    std::function<bool()> stopRequested_;
};

class TScannerValidators : public IScannerValidators {
public:
    explicit TScannerValidators(bool ignoreOnImplicit) : ignoreOnImplicit_(ignoreOnImplicit) {}

    TValidatorSet GetExplicitTypes() override;
    void Add(TValidatorType type, const TValidatorParameters& parameters) override;
    bool Validate(TValidatorSet active, const std::string& path) override;
    void SetStopRequest(std::function<bool()> stopRequested) override;

    int32_t GetCount() const { return static_cast<int32_t>(validators_.size()); }

private:
    bool ignoreOnImplicit_;
    std::function<bool()> stopRequested_;
    std::vector<std::shared_ptr<TScannerValidator>> validators_;
};
