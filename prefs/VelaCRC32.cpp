#include "prefs/VelaCRC32.h"

TCRC32::TCRC32()
{
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
        table_[i] = value;
    }
}

uint32_t TCRC32::Calculate(const std::string& text) const
{
    if (text.empty())
        return 0;
    uint32_t value = 0xFFFFFFFFu;
    for (unsigned char b : text)
        value = table_[(value ^ b) & 0xFF] ^ (value >> 8);
    return ~value;
}

std::shared_ptr<ICRC32> TCRC32Services::CreateCRC32() { return std::make_shared<TCRC32>(); }
