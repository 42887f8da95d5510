#include <gtest/gtest.h>

#include "KeyboardLayout.h"

struct SLayoutCase
{
    const char* pszName;
    bool bGerman;
};

class KeyboardLayoutNameTest : public testing::TestWithParam<SLayoutCase>
{
};

TEST_P(KeyboardLayoutNameTest, GermanOnlyForTheFiveGermanLanguages)
{
    EXPECT_EQ(GetParam().bGerman, IsGermanLayoutName(GetParam().pszName)) << GetParam().pszName;
}

INSTANTIATE_TEST_SUITE_P(
    Names, KeyboardLayoutNameTest,
    testing::Values(SLayoutCase{"00000407", true}, SLayoutCase{"00000807", true}, SLayoutCase{"00000c07", true},
                    SLayoutCase{"00001007", true}, SLayoutCase{"00001407", true},
                    // Windows and Wine write the digits in capitals: Austria's layout is "00000C07".
                    SLayoutCase{"00000C07", true}, SLayoutCase{"00000409", false}, SLayoutCase{"0000040C", false},
                    SLayoutCase{"00000C09", false}, SLayoutCase{"00000C0A", false},
                    SLayoutCase{"00010407", true}, SLayoutCase{"0407", true}, SLayoutCase{"407", false},
                    SLayoutCase{"", false}));
