#pragma once
// The clean report: the lines the cleaner writes, shown and saved as they are.
#include "engine/uEngineInterfaces.h"

class TCleanReport : public ICleanReport {
public:
    std::vector<std::string>& GetLines() override { return lines_; }
    // Each line followed by CR LF; raises EOSError when the file cannot be written.
    void SaveToFile(const std::string& fileName) override;

private:
    std::vector<std::string> lines_;
};
