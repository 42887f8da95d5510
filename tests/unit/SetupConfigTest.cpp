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
