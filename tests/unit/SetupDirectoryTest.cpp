#include <gtest/gtest.h>

#include "SetupDirectory.h"

struct SSetupDirCase
{
    const char* pszModulePath;
    const char* pszSetupDir;
};

class SetupDirectoryTest : public testing::TestWithParam<SSetupDirCase>
{
};

TEST_P(SetupDirectoryTest, IsTheProgramsFolderWithTrailingBackslash)
{
    const SSetupDirCase& c = GetParam();
    EXPECT_EQ(c.pszSetupDir, SetupDirFromPath(HelpFilePath(c.pszModulePath)));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SetupDirectoryTest,
    testing::Values(SSetupDirCase{"E:\\Install\\Setup.exe", "E:\\Install\\"},
                    SSetupDirCase{"C:\\SETUP.EXE", "C:\\"},
                    SSetupDirCase{"D:\\Zanto.Demo.v1\\cd.1\\ZantoSetup.exe", "D:\\Zanto.Demo.v1\\cd.1\\"},
                    SSetupDirCase{"\\\\server\\share\\setup\\ZantoSetup.exe", "\\\\server\\share\\setup\\"},
                    SSetupDirCase{"ZantoSetup.exe", ".\\"}));

TEST(HelpFilePathTest, ReplacesOnlyTheExtensionOfTheFileName)
{
    EXPECT_EQ("E:\\Install\\Setup.HLP", HelpFilePath("E:\\Install\\Setup.exe"));
    EXPECT_EQ("E:\\In.stall\\Setup.HLP", HelpFilePath("E:\\In.stall\\Setup"));
}
