#include "support/VelaRoutines.h"

#include <gtest/gtest.h>

TEST(RoutinesFormatting, CapacitiesRoundTripThroughTheirText)
{
    EXPECT_EQ(TNumberRoutines::BytesToKo(0), 1);
    EXPECT_EQ(TNumberRoutines::BytesToKo(-1), 0);
    EXPECT_EQ(TNumberRoutines::BytesToKo(-5), 0);
    EXPECT_EQ(TNumberRoutines::BytesToKo(1023), 1);
    EXPECT_EQ(TNumberRoutines::BytesToKo(1024), 1);
    EXPECT_EQ(TNumberRoutines::BytesToKo(2047), 1);
    EXPECT_EQ(TNumberRoutines::BytesToKo(2048), 2);
    EXPECT_EQ(TNumberRoutines::BytesToKo(5000000000LL), 4882812);

    const std::pair<int64_t, const char*> cases[] = {
        {0, "0 Ko"}, {1024, "1,024 Ko"}, {1025, "1 Mo"}, {1048576, "1,024 Mo"}, {5000000LL * 1024, "5,000,000 Mo"}};
    for (const auto& [ko, text] : cases)
        EXPECT_EQ(TNumberRoutines::FormatCapacity(ko), text);
    EXPECT_EQ(TNumberRoutines::ParseCapacity("0 Ko"), 0);
    EXPECT_EQ(TNumberRoutines::ParseCapacity("1,024 Ko"), 1024);
    EXPECT_EQ(TNumberRoutines::ParseCapacity("1 Mo"), 1024);
    EXPECT_EQ(TNumberRoutines::ParseCapacity("1,024 Mo"), 1048576);
    // Above 2^31 Ko once multiplied: the product must not wrap.
    EXPECT_EQ(TNumberRoutines::ParseCapacity("5,000,000 Mo"), 5000000LL * 1024);
    EXPECT_EQ(TNumberRoutines::ParseCapacity("12 Go"), 0);
    EXPECT_EQ(TNumberRoutines::ParseCapacity(""), 0);
    EXPECT_THROW(TNumberRoutines::ParseCapacity("abc Ko"), EConvertError);
    EXPECT_THROW(TNumberRoutines::ParseCapacity("Mo"), EConvertError);
    EXPECT_THROW(TNumberRoutines::ParseCapacity("99999999999 Ko"), EConvertError);

    EXPECT_EQ(TNumberRoutines::GroupThousands("12"), "12");
    EXPECT_EQ(TNumberRoutines::GroupThousands("123"), "123");
    EXPECT_EQ(TNumberRoutines::GroupThousands("1234"), "1,234");
    EXPECT_EQ(TNumberRoutines::GroupThousands("123456"), "123,456");
    EXPECT_EQ(TNumberRoutines::GroupThousands("1234567"), "1,234,567");
    EXPECT_EQ(TNumberRoutines::GroupThousands("-123"), "-123");
    EXPECT_EQ(TNumberRoutines::StripThousands("1,234,567"), "1234567");

    EXPECT_EQ(TNumberRoutines::CompareInt64(5, 5), 0);
    EXPECT_EQ(TNumberRoutines::CompareInt64(6, 5), -1);
    EXPECT_EQ(TNumberRoutines::CompareInt64(INT64_MIN, INT64_MAX), 1);
}

TEST(RoutinesFormatting, DigitsListsAndHexText)
{
    EXPECT_EQ(TStringRoutines::ExtractDigits("1,234 object(s)"), "1234");
    EXPECT_EQ(TStringRoutines::ExtractDigits("-5-3"), "-53");
    EXPECT_EQ(TStringRoutines::ExtractDigits("abc"), "");
    EXPECT_EQ(TStringRoutines::ExtractDigits(""), "0");
    EXPECT_EQ(TStringRoutines::DigitsToInt("1,234 object(s)"), 1234);
    EXPECT_EQ(TGeneralRoutines::DigitsToInt("x-42"), -42);
    EXPECT_EQ(TStringRoutines::DigitsToInt(""), 0);
    EXPECT_THROW(TStringRoutines::DigitsToInt("abc"), EConvertError);
    EXPECT_THROW(TStringRoutines::DigitsToInt("-"), EConvertError);
    EXPECT_EQ(TStringRoutines::DigitsToIntDef("abc"), 0);
    EXPECT_EQ(TStringRoutines::DigitsToIntDef("99999999999999999999"), 0);

    EXPECT_EQ(TStringRoutines::AppendDelimited("", "a", ';'), "a");
    EXPECT_EQ(TStringRoutines::AppendDelimited("a", "", ';'), "a");
    EXPECT_EQ(TStringRoutines::AppendDelimited("a", "b", ';'), "a;b");
    EXPECT_TRUE(TStringRoutines::SplitString("").empty());
    EXPECT_EQ(TStringRoutines::SplitString(";a;;b c;"), (TStringList{"a", "b c"}));
    EXPECT_EQ(TStringRoutines::JoinStrings({"a", "", "b"}), "a;b");
    EXPECT_EQ(TStringRoutines::PosChar('c', "abc"), 3);
    EXPECT_EQ(TStringRoutines::PosChar('z', "abc"), 0);
    EXPECT_EQ(TGeneralRoutines::IntToData(-1), nullptr);
    // Only control characters go: blanks, "~" and the bytes of UTF-8 names stay.
    EXPECT_EQ(TStringRoutines::PrintableText(std::string("a\tb\r\n\x1f\x7f ~\xC3\xA9\0z", 13)), "a?b???? ~\xC3\xA9?z");

    EXPECT_TRUE(TStringRoutines::IsHexText("09afAF"));
    EXPECT_FALSE(TStringRoutines::IsHexText(""));
    EXPECT_FALSE(TStringRoutines::IsHexText("0A 1B"));
    EXPECT_TRUE(TStringRoutines::IsHexText("0A 1B", true));
    EXPECT_FALSE(TStringRoutines::IsHexText("0G"));
    // Serials come with the characters of each pair swapped.
    EXPECT_EQ(TStringRoutines::DecodeSwappedHex("445731322d33"), "WD213-");
    EXPECT_EQ(TStringRoutines::DecodeSwappedHex("57442d313233"), "DW1-32");
    EXPECT_EQ(TStringRoutines::DecodeSwappedHex("414"), "");
    EXPECT_EQ(TStringRoutines::DecodeSwappedHex("41zz"), "");
    EXPECT_EQ(TStringRoutines::DecodeSwappedHex("41"), "A");

    EXPECT_EQ(TAPIRoutines::ApplyProgramFilesFixup("x"), "x");
}

TEST(RoutinesFormatting, TextsOrderWithOnlyAToZFolded)
{
    EXPECT_EQ(0, TStringRoutines::CompareIgnoringCase("Temp\\FILE.tmp", "temp\\file.TMP"));
    EXPECT_LT(TStringRoutines::CompareIgnoringCase("b", "_"), 0) << "'B' is below '_'";
    EXPECT_LT(TStringRoutines::CompareIgnoringCase("aab", "a_b"), 0) << "the same order in every list";
    EXPECT_NE(0, TStringRoutines::CompareIgnoringCase("\xC3\xA9", "\xC3\x89")) << "accented letters by byte";
    EXPECT_LT(TStringRoutines::CompareIgnoringCase("abc", "ABCD"), 0);
}

TEST(RoutinesFormatting, MasksMatchWholeNamesIgnoringCase)
{
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    };
    const Case cases[] = {
        {"report.TMP", "*.tmp", true},     {"report.tmpx", "*.tmp", false}, {"a.tmp.bak", "*.tmp", false},
        {"anything", "*", true},           {"", "*", true},                 {"", "?", false},
        {"abc", "a?c", true},              {"ac", "a?c", false},            {"~WRL0001.tmp", "~*.tmp", true},
        {"file1.log", "file[0-9].log", true}, {"fileA.log", "file[0-9].log", false},
        {"fileA.log", "file[!0-9].log", true}, {"file5.log", "file[!0-9].log", false},
        {"b", "[abc]", true},              {"B", "[a-c]", true},            {"d", "[a-c]", false},
        {"thumbs.db", "THUMBS.DB", true},  {"aXbXc", "*x*x*", true},        {"aXb", "*x*x*", false},
        {"mississippi", "*iss*ppi", true}, {"mississippi", "m*ss?ppi", true}, {"noname", "noname?", false},
        // "?" takes a whole character, not a byte of it.
        {"caf\xC3\xA9", "caf?", true},     {"\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9", true},
        {".hidden", "*", true},            {"a.b", "*.*", true},            {"ab", "*.*", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TStringRoutines::MatchesMask(c.name, c.mask), c.matches) << c.name << " against " << c.mask;

    for (const char* bad : {"[abc", "file[-z].log", "[a-]", "[]", "x[!]"})
        EXPECT_THROW(TStringRoutines::MatchesMask("x", bad), EMaskError) << bad;
    std::string many;
    for (int i = 0; i < 30; ++i)
        many += "*a";
    EXPECT_NO_THROW(TStringRoutines::MatchesMask("aaa", many));
    EXPECT_THROW(TStringRoutines::MatchesMask("aaa", many + "*b"), EMaskError);
    EXPECT_TRUE(TStringRoutines::IsValidMask("**a**"));
    EXPECT_FALSE(TStringRoutines::IsValidMask("["));
}
