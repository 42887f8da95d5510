#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "CopyArguments.h"
#include "InstallationLanguage.h"

// The copy finds the original's handle again in what the original wrote, whatever its value.
TEST(CopyArgumentsTest, TheHandleComesBackFromTheArguments)
{
    for (const std::uintptr_t nHandle : {std::uintptr_t{4}, std::uintptr_t{1234567}, UINTPTR_MAX})
    {
        std::uintptr_t nRead = 0;
        EXPECT_TRUE(ParseCopyArguments(CopyArguments(nHandle).c_str(), nRead)) << nHandle;
        EXPECT_EQ(nHandle, nRead);
    }
}

// Windows starts the program with no arguments; anything else that is not exactly the copy's
// form makes no copy either, so that a damaged command line never skips the hand-over.
TEST(CopyArgumentsTest, AnythingElseIsNoCopy)
{
    const char* const apszArguments[] = {
        "", "   ", "/removal-copy", "/removal-copy ", "/removal-copy 0", "/removal-copy 12x", "/removal-copy -12",
        "/removal-copy 12 13", "/REMOVAL-COPY 12", "/removal-copy 999999999999999999999999999", "12",
    };
    for (const char* pszArguments : apszArguments)
    {
        std::uintptr_t nRead = 77;
        EXPECT_FALSE(ParseCopyArguments(pszArguments, nRead)) << pszArguments;
        EXPECT_EQ(77u, nRead) << pszArguments;
    }
    std::uintptr_t nRead = 0;
    EXPECT_TRUE(ParseCopyArguments("  /removal-copy 12  ", nRead));
    EXPECT_EQ(12u, nRead);
}

// The list's language wins over the keyboard; without one, a German layout speaks German.
TEST(InstallationLanguageTest, TheListDecidesAndTheLayoutOnlyWithoutIt)
{
    struct SCase
    {
        const char* pszList;
        bool bGermanLayout;
        bool bEnglish;
    };
    const SCase aCases[] = {
        {"en", true, true}, {"en", false, true}, {"de", false, false}, {"de", true, false},
        {"", true, false},  {"", false, true},   {"fr", true, false},  {"EN", false, true},
    };
    for (const SCase& test : aCases)
        EXPECT_EQ(test.bEnglish, SpeaksEnglish(test.pszList, test.bGermanLayout))
            << test.pszList << (test.bGermanLayout ? " German layout" : " other layout");
}
