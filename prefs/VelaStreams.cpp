#include "prefs/VelaStreams.h"

#include <cctype>
#include <cstring>

TFileStream::TFileStream(const std::string& path, platform::FileAccess access) : file_(path, access)
{
    if (file_.IsOpen() && access == platform::FileAccess::ReadShared)
        size_ = file_.Size() < 0 ? 0 : file_.Size();
}

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    if (count <= 0 || !file_.IsOpen())
        return 0;
    const int64_t n = file_.Read(buffer, count);
    if (n <= 0)
        return 0;
    position_ += n;
    return n;
}

void TFileStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return;
    if (!file_.IsOpen() || file_.Write(buffer, count) != count) {
        writeFailed_ = true;
        return;
    }
    position_ += count;
    if (position_ > size_)
        size_ = position_;
}

std::string TSignedFileStream::Signature(const std::string& extension)
{
    std::string result = "Vela";
    for (char c : extension)
        result += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

bool TMarshalFileStream::ReadExactly(void* buffer, int64_t count)
{
    if (Remaining() < count)
        return false;
    return Read(buffer, count) == count;
}

namespace {
uint32_t FromLittleEndian(const unsigned char* b)
{
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}
void ToLittleEndian(uint32_t v, unsigned char* b)
{
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<unsigned char>(v >> (8 * i));
}
} // namespace

void TMarshalFileStream::ReadBoolean(bool& value)
{
    uint8_t b = 0;
    if (ReadExactly(&b, 1))
        value = b != 0;
}

void TMarshalFileStream::ReadByte(uint8_t& value)
{
    uint8_t b = 0;
    if (ReadExactly(&b, 1))
        value = b;
}

void TMarshalFileStream::ReadCardinal(uint32_t& value)
{
    unsigned char b[4];
    if (ReadExactly(b, 4))
        value = FromLittleEndian(b);
}

void TMarshalFileStream::ReadInteger(int32_t& value)
{
    uint32_t raw = static_cast<uint32_t>(value);
    ReadCardinal(raw);
    value = static_cast<int32_t>(raw);
}

void TMarshalFileStream::ReadDateTime(double& value)
{
    unsigned char b[8];
    if (!ReadExactly(b, 8))
        return;
    uint64_t bits = FromLittleEndian(b) | static_cast<uint64_t>(FromLittleEndian(b + 4)) << 32;
    std::memcpy(&value, &bits, sizeof value);
}

void TMarshalFileStream::ReadString(std::string& value)
{
    unsigned char b[4];
    if (!ReadExactly(b, 4))
        return;
    if (Remaining() == 0)
        return; // the count was the last thing in the file
    const int32_t count = static_cast<int32_t>(FromLittleEndian(b));
    // A lying count never reads past the file nor allocates for it: negative gives empty,
    // too large keeps the bytes that are there.
    const int64_t available = count <= 0 ? 0 : (count < Remaining() ? count : Remaining());
    value.assign(static_cast<size_t>(available), '\0');
    if (available > 0)
        value.resize(static_cast<size_t>(Read(&value[0], available)));
}

std::string TMarshalFileStream::ReadChars(int64_t count)
{
    const int64_t available = count < Remaining() ? count : Remaining();
    std::string result(static_cast<size_t>(available > 0 ? available : 0), '\0');
    if (!result.empty())
        result.resize(static_cast<size_t>(Read(&result[0], static_cast<int64_t>(result.size()))));
    return result;
}

void TMarshalFileStream::WriteBoolean(bool value) { WriteByte(value ? 1 : 0); }

void TMarshalFileStream::WriteByte(uint8_t value) { Write(&value, 1); }

void TMarshalFileStream::WriteCardinal(uint32_t value)
{
    unsigned char b[4];
    ToLittleEndian(value, b);
    Write(b, 4);
}

void TMarshalFileStream::WriteInteger(int32_t value) { WriteCardinal(static_cast<uint32_t>(value)); }

void TMarshalFileStream::WriteDateTime(double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    unsigned char b[8];
    ToLittleEndian(static_cast<uint32_t>(bits), b);
    ToLittleEndian(static_cast<uint32_t>(bits >> 32), b + 4);
    Write(b, 8);
}

void TMarshalFileStream::WriteString(const std::string& value)
{
    WriteInteger(static_cast<int32_t>(value.size()));
    Write(value.data(), static_cast<int64_t>(value.size()));
}

void TMarshalFileStream::WriteChars(const std::string& chars)
{
    Write(chars.data(), static_cast<int64_t>(chars.size()));
}
