#pragma once
#include <string>

enum TTranscodeDirection { Encode = 0, Decode = 1 };

// The preferences file's string scrambling: ASCII bytes are stored 0x7F higher.
class TStringCryptography {
public:
    static std::string Transcode(const std::string& text, TTranscodeDirection direction);
    // True when the text survives Encode then Decode: only characters 0x01 to 0x7F.
    static bool IsTranscodable(const std::string& text);
};
