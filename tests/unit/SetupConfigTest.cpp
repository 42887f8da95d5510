#include <gtest/gtest.h>

#include "SetupConfig.h"

struct SValueCase
{
    const char* pszLine;
    const char* pszValue;
};

class ConfigValueTest : public testing::TestWithParam<SValueCase>
{
};

TEST_P(ConfigValueTest, IsEverythingAfterTheFirstColon)
{
    EXPECT_EQ(GetParam().pszValue, ConfigValue(GetParam().pszLine));
}

INSTANTIATE_TEST_SUITE_P(Lines, ConfigValueTest,
                         testing::Values(SValueCase{"Name:Game", "Game"}, SValueCase{"Name: Game", " Game"},
                                         SValueCase{"x:a:b", "a:b"}, SValueCase{"NoColon", "NoColon"},
                                         SValueCase{"Name:", ""}, SValueCase{"", ""}, SValueCase{":", ""},
                                         SValueCase{"Name:Game \t", "Game \t"}));

struct SCountCase
{
    const char* pszValue;
    DWORD nCount;
};

class ParseByteCountTest : public testing::TestWithParam<SCountCase>
{
};

TEST_P(ParseByteCountTest, ReadsLeadingDecimalDigits)
{
    EXPECT_EQ(GetParam().nCount, ParseByteCount(GetParam().pszValue)) << GetParam().pszValue;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ParseByteCountTest,
    testing::Values(SCountCase{"1048576", 1048576}, SCountCase{" 1048576", 1048576}, SCountCase{"\t+42", 42},
                    SCountCase{"12abc", 12}, SCountCase{"abc", 0}, SCountCase{"", 0}, SCountCase{"- 5", 0},
                    SCountCase{"3000000000", 3000000000u}, SCountCase{"4294967295", 4294967295u},
                    // Beyond 32 bits: the largest count, so that the free-space check refuses it.
                    SCountCase{"4294967296", MAXDWORD}, SCountCase{"99999999999999999999999999", MAXDWORD},
                    SCountCase{"-1", 0}, SCountCase{"-99999999999", 0}));

struct SLicenseLineCase
{
    const char* pszWhat;
    std::string strLine;
    std::string strText;
};

class AppendLicenseLineTest : public testing::TestWithParam<SLicenseLineCase>
{
};

TEST_P(AppendLicenseLineTest, KeepsEveryCharacterAndBreaksOnlyOverlongLines)
{
    std::string strText = "before\r\n";
    AppendLicenseLine(strText, GetParam().strLine);
    EXPECT_EQ("before\r\n" + GetParam().strText, strText) << GetParam().pszWhat;
}

const std::string s_strWords = std::string(1000, 'a') + " " + std::string(30, 'b') + " " + std::string(5, 'c');

INSTANTIATE_TEST_SUITE_P(
    Lines, AppendLicenseLineTest,
    testing::Values(SLicenseLineCase{"empty", "", "\r\n"}, SLicenseLineCase{"short", "Lizenz", "Lizenz\r\n"},
                    SLicenseLineCase{"at the limit", std::string(1024, 'x'), std::string(1024, 'x') + "\r\n"},
                    SLicenseLineCase{"one beyond, no blank", std::string(1025, 'x'),
                                     std::string(1024, 'x') + "\r\nx\r\n"},
                    SLicenseLineCase{"broken after the last blank within the limit", s_strWords,
                                     std::string(1000, 'a') + " \r\n" + std::string(30, 'b') + " " +
                                         std::string(5, 'c') + "\r\n"},
                    SLicenseLineCase{"a blank only beyond the limit", std::string(2000, 'x') + " y",
                                     std::string(1024, 'x') + "\r\n" + std::string(976, 'x') + " y\r\n"},
                    SLicenseLineCase{"three rows of a long line", std::string(2049, 'x'),
                                     std::string(1024, 'x') + "\r\n" + std::string(1024, 'x') + "\r\nx\r\n"}));
