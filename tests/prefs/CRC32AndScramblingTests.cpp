#include "prefs/VelaCRC32.h"
#include "prefs/VelaCrypto.h"
#include "prefs/VelaStreams.h"

#include <gtest/gtest.h>

TEST(CRC32, MatchesTheStandardCheckValues)
{
    const auto crc = TCRC32Services::CreateCRC32();
    EXPECT_EQ(0xCBF43926u, crc->Calculate("123456789"));
    EXPECT_EQ(0u, crc->Calculate(""));
    EXPECT_EQ(0xE8B7BE43u, crc->Calculate("a"));
    // UTF-8 bytes are hashed as they are: "é" is C3 A9.
    EXPECT_EQ(0x0E048D3Eu, crc->Calculate("\xC3\xA9"));
    EXPECT_NE(crc->Calculate("C:\\a"), crc->Calculate("C:\\A"));
}

TEST(Transcode, ShiftsAsciiBy127AndBack)
{
    const std::string encoded = TStringCryptography::Transcode("desktop.ini;index.dat", Encode);
    ASSERT_EQ(21u, encoded.size());
    EXPECT_EQ(static_cast<char>(0xE3), encoded[0]);
    for (char c : encoded)
        EXPECT_GE(static_cast<unsigned char>(c), 0x80);
    EXPECT_EQ("desktop.ini;index.dat", TStringCryptography::Transcode(encoded, Decode));
    EXPECT_EQ(static_cast<char>(0xFE), TStringCryptography::Transcode("\x7F", Encode)[0]);
    EXPECT_EQ(std::string("\x7F", 1), TStringCryptography::Transcode(std::string(1, '\0'), Encode));

    // What cannot survive the file: 0x00 and bytes from 0x80 up.
    EXPECT_TRUE(TStringCryptography::IsTranscodable("C:\\Temp;*.tmp"));
    EXPECT_FALSE(TStringCryptography::IsTranscodable("caf\xC3\xA9"));
    EXPECT_FALSE(TStringCryptography::IsTranscodable(std::string("a\0b", 3)));
    EXPECT_NE("caf\xC3\xA9", TStringCryptography::Transcode(TStringCryptography::Transcode("caf\xC3\xA9", Encode), Decode));
}

TEST(Signature, IsVelaAndTheUpperCaseExtension)
{
    EXPECT_EQ("Vela.PREFS", TSignedFileStream::Signature(".prefs"));
    EXPECT_EQ("Vela.LOG", TSignedFileStream::Signature(".Log"));
}
