#pragma once
// Overwrites a file in place before the cleaner deletes it.
#include "platform/PlatformFiles.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class ISecureRewriteFile {
public:
    virtual ~ISecureRewriteFile() = default;
    // True when every pass covered the whole file; false for an empty file, one that cannot be
    // opened for writing, or a write that failed.
    virtual bool Rewrite(const std::string& fileName, uint8_t passes) = 0;
    // The same on a file already opened for writing in place. Only the ranges that hold data are
    // written, so a sparse file never grows on the disk; a failed write leaves its size as it was.
    virtual bool Rewrite(platform::FileHandle& file, uint8_t passes) = 0;
};

class TSecureRewriteFile : public ISecureRewriteFile {
public:
    explicit TSecureRewriteFile(bool randomPattern) : randomPattern_(randomPattern) {}
    bool Rewrite(const std::string& fileName, uint8_t passes) override;
    bool Rewrite(platform::FileHandle& file, uint8_t passes) override;
    // Asked between writes: a stop leaves the rewrite unfinished and reported as failed.
    void SetStopRequest(std::function<bool()> stopRequested) { stopRequested_ = std::move(stopRequested); }

    // The fill buffer grows with the file so that large files take few large writes.
    static int32_t BufferSizeFor(int64_t fileSize);

private:
    void PrepareBuffer();

    bool randomPattern_;
    std::function<bool()> stopRequested_;
    int64_t fileSize_ = 0;
    std::vector<uint8_t> buffer_;
    bool bufferPrepared_ = false;
};

// The program-wide pseudo-random byte source: a 32-bit linear congruential generator that starts
// at 0 with every run and is never reseeded, so a run's random pattern is the same in every run.
class TRewriteRandom {
public:
    static uint8_t NextByte();
};
