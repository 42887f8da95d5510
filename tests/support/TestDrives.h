// The small test volumes that scripts/wine-session.sh mounts where it may (root, tmpfs): S: with
// 5 TiB free (ZANTO_BIG_DRIVE) and T: with 1 MiB (ZANTO_SMALL_DRIVE). Where they cannot be
// mounted, the cases that need them are skipped with their reason printed; under CI=true, where
// they can, a missing drive fails the test instead, so that a skip never passes for a pass.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// The drive letter that the variable names; empty when it is not set.
inline std::string TestDriveLetter(const char* pszVariable)
{
    const char* pszLetter = std::getenv(pszVariable);
    return pszLetter != nullptr ? std::string(pszLetter) : std::string();
}

inline bool TestDrivesRequired()
{
    const char* pszCi = std::getenv("CI");
    return pszCi != nullptr && std::strcmp(pszCi, "true") == 0;
}

inline std::string MissingTestDrivesReason()
{
    return "the test drives S: and T: are not mounted (ZANTO_BIG_DRIVE and ZANTO_SMALL_DRIVE are unset): "
           "scripts/run-tests.sh mounts them as tmpfs when it may mount, so run it as root (in a container, "
           "one that allows mount)";
}

// True when both drives are there. Otherwise fails the test under CI=true, else prints why the
// part of the test that needs them does not run.
inline bool HaveTestDrivesOrSay()
{
    if (!TestDriveLetter("ZANTO_BIG_DRIVE").empty() && !TestDriveLetter("ZANTO_SMALL_DRIVE").empty())
        return true;
    if (TestDrivesRequired())
        ADD_FAILURE() << MissingTestDrivesReason() << "; CI=true, where they can be mounted";
    else
        std::printf("[  SKIPPED ] the cases on test drives: %s\n", MissingTestDrivesReason().c_str());
    return false;
}

// At the start of a test that needs both drives: fails under CI=true, else skips with the reason.
#define REQUIRE_TEST_DRIVES()                                                                          \
    do                                                                                                 \
    {                                                                                                  \
        if (TestDriveLetter("ZANTO_BIG_DRIVE").empty() || TestDriveLetter("ZANTO_SMALL_DRIVE").empty()) \
        {                                                                                              \
            if (TestDrivesRequired())                                                                  \
                FAIL() << MissingTestDrivesReason() << "; CI=true, where they can be mounted";         \
            GTEST_SKIP() << MissingTestDrivesReason();                                                 \
        }                                                                                              \
    } while (false)
