#include "prefs/VelaCrypto.h"

std::string TStringCryptography::Transcode(const std::string& text, TTranscodeDirection direction)
{
    std::string result = text;
    for (char& c : result) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (direction == Encode && b <= 0x7F)
            c = static_cast<char>(b + 0x7F);
        else if (direction == Decode && b >= 0x80)
            c = static_cast<char>(b - 0x7F);
    }
    return result;
}

bool TStringCryptography::IsTranscodable(const std::string& text)
{
    for (char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b == 0 || b > 0x7F)
            return false;
    }
    return true;
}
