#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommandLine.h"

struct SCommandLineCase
{
    const char* pszArguments;
    bool bValid;
    ESilence eSilence;
    bool bHelp;
    const char* pszLanguage;
    const char* pszDir;
    const char* pszGroup;
    const char* pszLog;
};

class CommandLineTest : public testing::TestWithParam<SCommandLineCase>
{
};

TEST_P(CommandLineTest, ReadsEverySwitchOrRefusesTheLine)
{
    const SCommandLineCase& c = GetParam();
    SSetupOptions options;
    EXPECT_EQ(c.bValid, ParseSetupArguments(c.pszArguments, options));
    // The silence is known also for a line that is refused: such a silent run shows nothing.
    EXPECT_EQ(c.eSilence, options.eSilence);
    if (!c.bValid)
        return;
    EXPECT_EQ(c.bHelp, options.bHelp);
    EXPECT_EQ(c.pszLanguage, options.strLanguage);
    EXPECT_EQ(c.pszDir, options.strDir);
    EXPECT_EQ(c.pszGroup, options.strGroup);
    EXPECT_EQ(c.pszLog, options.strLog);
}

constexpr ESilence kNone = ESilence::None;
constexpr ESilence kSilent = ESilence::Silent;
constexpr ESilence kVery = ESilence::VerySilent;

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineTest,
    testing::Values(
        SCommandLineCase{"", true, kNone, false, "", "", "", ""},
        SCommandLineCase{"   \t ", true, kNone, false, "", "", "", ""},
        SCommandLineCase{"/SILENT", true, kSilent, false, "", "", "", ""},
        SCommandLineCase{"/silent", true, kSilent, false, "", "", "", ""},
        SCommandLineCase{"/VerySilent", true, kVery, false, "", "", "", ""},
        // The stronger silence wins in either order.
        SCommandLineCase{"/VERYSILENT /SILENT", true, kVery, false, "", "", "", ""},
        SCommandLineCase{"/SILENT /VERYSILENT", true, kVery, false, "", "", "", ""},
        SCommandLineCase{"/?", true, kNone, true, "", "", "", ""},
        SCommandLineCase{"/help", true, kNone, true, "", "", "", ""},
        // Passed by habit, and changing nothing.
        SCommandLineCase{"/SP- /SUPPRESSMSGBOXES /NORESTART", true, kNone, false, "", "", "", ""},
        SCommandLineCase{"/LANG=en", true, kNone, false, "en", "", "", ""},
        SCommandLineCase{"/lang=DE", true, kNone, false, "de", "", "", ""},
        SCommandLineCase{"/DIR=\"C:\\Program Files\\Zanto\" /GROUP=\"Games\\Zanto\" /LOG=\"C:\\a b.log\"", true,
                         kNone, false, "", "C:\\Program Files\\Zanto", "Games\\Zanto", "C:\\a b.log"},
        // Quotes around the whole switch, as a program that quotes every argument passes it.
        SCommandLineCase{"\"/DIR=C:\\My Games\\Zanto\" /VERYSILENT", true, kVery, false, "", "C:\\My Games\\Zanto",
                         "", ""},
        SCommandLineCase{"/DIR=D:\\Zanto /DIR=E:\\Zanto", true, kNone, false, "", "E:\\Zanto", "", ""},
        // A value may hold "=".
        SCommandLineCase{"/LOG=C:\\a=b.log", true, kNone, false, "", "", "", "C:\\a=b.log"},
        // Unknown switches, and words that are no switch.
        SCommandLineCase{"/SILENT /QUIET", false, kSilent, false, "", "", "", ""},
        SCommandLineCase{"/S", false, kNone, false, "", "", "", ""},
        SCommandLineCase{"SILENT", false, kNone, false, "", "", "", ""},
        SCommandLineCase{"/", false, kNone, false, "", "", "", ""},
        SCommandLineCase{"/VERYSILENT -q", false, kVery, false, "", "", "", ""},
        // A value that is missing, empty, not allowed, or given to a switch without one.
        SCommandLineCase{"/DIR", false, kNone, false, "", "", "", ""},
        SCommandLineCase{"/DIR= /SILENT", false, kSilent, false, "", "", "", ""},
        SCommandLineCase{"/DIR=\"\"", false, kNone, false, "", "", "", ""},
        SCommandLineCase{"/LANG=fr", false, kNone, false, "", "", "", ""},
        SCommandLineCase{"/LANG=english", false, kNone, false, "", "", "", ""},
        SCommandLineCase{"/SILENT=1", false, kNone, false, "", "", "", ""},
        // A path with blanks that is not quoted leaves a word that is no switch.
        SCommandLineCase{"/VERYSILENT /DIR=C:\\Program Files\\Zanto", false, kVery, false, "", "", "", ""},
        // A quote that is never closed.
        SCommandLineCase{"/VERYSILENT /DIR=\"C:\\Zanto", false, kVery, false, "", "", "", ""}));

TEST(CommandLineTest, TheProgramsNameIsPassedOverQuotedOrNot)
{
    EXPECT_EQ(" /SILENT", ArgumentsAfterProgram("\"C:\\Setup Disc\\ZantoSetup.exe\" /SILENT"));
    EXPECT_EQ(" /SILENT /DIR=\"C:\\a\"", ArgumentsAfterProgram("ZantoSetup.exe /SILENT /DIR=\"C:\\a\""));
    EXPECT_EQ("", ArgumentsAfterProgram("\"C:\\Setup Disc\\ZantoSetup.exe\""));
    EXPECT_EQ(" /?", ArgumentsAfterProgram("  ZantoSetup /?"));
}

TEST(CommandLineTest, SplitsAtBlanksOutsideQuotesAndKeepsAnEmptyQuotedArgument)
{
    std::vector<std::string> arguments;
    ASSERT_TRUE(SplitArguments("a \"b c\"\td\"e f\" \"\"", arguments));
    EXPECT_EQ((std::vector<std::string>{"a", "b c", "de f", ""}), arguments);
    EXPECT_FALSE(SplitArguments("a \"b", arguments));
}

TEST(CommandLineTest, AStartMenuGroupTakesTheFormOfTheStartMenuPage)
{
    EXPECT_EQ("\\Zanto", MenuFolderForm("Zanto"));
    EXPECT_EQ("\\Zanto", MenuFolderForm("\\Zanto"));
    EXPECT_EQ("\\Games\\Zanto", MenuFolderForm("Games/Zanto"));
    EXPECT_EQ("\\Games\\Zanto", MenuFolderForm("/Games/Zanto"));
}
