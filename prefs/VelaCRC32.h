#pragma once
#include <cstdint>
#include <memory>
#include <string>

class ICRC32 {
public:
    virtual ~ICRC32() = default;
    // Reflected CRC-32 (IEEE 802.3, zlib) of the text's bytes; 0 for an empty text.
    virtual uint32_t Calculate(const std::string& text) const = 0;
};

class TCRC32 : public ICRC32 {
public:
    TCRC32();
    uint32_t Calculate(const std::string& text) const override;

private:
    uint32_t table_[256];
};

class TCRC32Services {
public:
    static std::shared_ptr<ICRC32> CreateCRC32();
};
