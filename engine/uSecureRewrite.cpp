#include "engine/uSecureRewrite.h"

#include "platform/PlatformFiles.h"

#include <algorithm>
#include <atomic>

namespace {
std::atomic<uint32_t> randomState {0};
}

uint8_t TRewriteRandom::NextByte()
{
    // Only the cleaner's worker draws while a clean runs; the atomic keeps other callers sound.
    uint32_t state = randomState.load(std::memory_order_relaxed);
    uint32_t next;
    do
        next = state * 134775813u + 1u;
    while (!randomState.compare_exchange_weak(state, next, std::memory_order_relaxed));
    return static_cast<uint8_t>(next >> 24);
}

int32_t TSecureRewriteFile::BufferSizeFor(int64_t fileSize)
{
    if (fileSize <= 1048576)
        return 32768;
    if (fileSize <= 10485760)
        return 65536;
    if (fileSize <= 104857600)
        return 131072;
    return 262144;
}

void TSecureRewriteFile::PrepareBuffer()
{
    if (randomPattern_) {
        for (uint8_t& b : buffer_)
            b = TRewriteRandom::NextByte();
    } else if (!bufferPrepared_) {
        std::fill(buffer_.begin(), buffer_.end(), uint8_t {0xFF});
    }
    bufferPrepared_ = true;
}

bool TSecureRewriteFile::Rewrite(const std::string& fileName, uint8_t passes)
{
    platform::FileHandle file(fileName, platform::FileAccess::WriteExisting);
    return file.IsOpen() && Rewrite(file, passes);
}

bool TSecureRewriteFile::Rewrite(platform::FileHandle& file, uint8_t passes)
{
    if (!file.IsOpen())
        return false;
    fileSize_ = file.Size();
    std::vector<std::pair<int64_t, int64_t>> ranges;
    if (fileSize_ <= 0 || !file.AllocatedRanges(ranges))
        return false;
    buffer_.assign(static_cast<size_t>(BufferSizeFor(fileSize_)), 0);
    bufferPrepared_ = false;
    for (unsigned pass = 0; pass < passes; ++pass) {
        PrepareBuffer();
        for (const auto& [offset, length] : ranges) {
            if (!file.Seek(offset))
                return false;
            int64_t written = 0;
            while (written < length) {
                if (stopRequested_ && stopRequested_())
                    return false;
                const int64_t chunk = std::min<int64_t>(static_cast<int64_t>(buffer_.size()), length - written);
                if (file.Write(buffer_.data(), chunk) != chunk)
                    return false;
                written += chunk;
            }
        }
    }
    return true;
}
