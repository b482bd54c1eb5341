#pragma once
// The validators a candidate object must pass before the scanner lists it.
#include "engine/uEngineInterfaces.h"

#include <vector>

class TScannerValidator : public IScannerValidator {
public:
    TScannerValidator(TValidatorType type, const TValidatorParameters& parameters);

    bool IsExplicit() override { return type_ > svInvalidShortcut; }
    TValidatorType GetValidatorType() override { return type_; }
    bool Validate(const std::string& path) override;

    // The contents search reads this much at a time (more for longer search texts).
    static constexpr size_t kContentsChunk = 32768;

private:
    bool ValidateEmptyDirectory();
    bool ValidateInvalidShortcut();
    bool ValidateFileDate();
    bool ValidateFileAttributes();
    bool ValidateFileContents();
    bool ValidateFileSize();

    int64_t IntegerParameter(size_t index) const;
    bool BooleanParameter(size_t index) const;

    TValidatorType type_;
    std::vector<std::string> parameters_;
    std::string path_;
};

class TScannerValidators : public IScannerValidators {
public:
    explicit TScannerValidators(bool ignoreOnImplicit) : ignoreOnImplicit_(ignoreOnImplicit) {}

    TValidatorSet GetExplicitTypes() override;
    void Add(TValidatorType type, const TValidatorParameters& parameters) override;
    bool Validate(TValidatorSet active, const std::string& path) override;

    int32_t GetCount() const { return static_cast<int32_t>(validators_.size()); }

private:
    bool ignoreOnImplicit_;
    std::vector<std::shared_ptr<IScannerValidator>> validators_;
};
