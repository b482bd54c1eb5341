#pragma once
#include "platform/PlatformFiles.h"

#include <cstdint>
#include <string>

// A plain file stream that tracks its position, so reads can be bounded by the bytes left.
class TFileStream {
public:
    TFileStream(const std::string& path, platform::FileAccess access);
    virtual ~TFileStream() = default;

    bool IsOpen() const { return file_.IsOpen(); }
    int64_t Position() const { return position_; }
    int64_t Size() const { return size_; }
    int64_t Remaining() const { return size_ - position_; }
    // Reads up to count bytes; returns how many arrived.
    int64_t Read(void* buffer, int64_t count);
    void Write(const void* buffer, int64_t count);
    // False once any write failed: the file on disk is incomplete.
    bool WriteFailed() const { return writeFailed_; }
    void Close() { file_.Close(); }

private:
    platform::FileHandle file_;
    int64_t position_ = 0;
    int64_t size_ = 0;
    bool writeFailed_ = false;
};

class TSignedFileStream : public TFileStream {
public:
    using TFileStream::TFileStream;
    // "Vela" followed by the extension in upper case: ".prefs" gives "Vela.PREFS".
    static std::string Signature(const std::string& extension);
};

// Typed little-endian fields. A read that finds too few bytes left leaves its destination unchanged.
class TMarshalFileStream : public TSignedFileStream {
public:
    using TSignedFileStream::TSignedFileStream;

    void ReadBoolean(bool& value);
    void ReadByte(uint8_t& value);
    void ReadInteger(int32_t& value);
    void ReadCardinal(uint32_t& value);
    void ReadDateTime(double& value);
    void ReadString(std::string& value);
    std::string ReadChars(int64_t count);

    void WriteBoolean(bool value);
    void WriteByte(uint8_t value);
    void WriteInteger(int32_t value);
    void WriteCardinal(uint32_t value);
    void WriteDateTime(double value);
    void WriteString(const std::string& value);
    void WriteChars(const std::string& chars);

private:
    bool ReadExactly(void* buffer, int64_t count);
};

class TPreferenceStream : public TMarshalFileStream {
public:
    using TMarshalFileStream::TMarshalFileStream;
};
