#include <gtest/gtest.h>

#include <windows.h>

#include "FileError.h"

struct SFileErrorCase
{
    DWORD dwError;
    const char* pszText;
};

class FileErrorTextTest : public testing::TestWithParam<SFileErrorCase>
{
};

TEST_P(FileErrorTextTest, NamesTheFileInTheMessageOfItsCause)
{
    EXPECT_EQ(GetParam().pszText, FileErrorText(GetParam().dwError, "C:\\Spiele\\Zanto\\a.dat"));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FileErrorTextTest,
    testing::Values(
        SFileErrorCase{ERROR_ACCESS_DENIED, "Zugriff auf C:\\Spiele\\Zanto\\a.dat wurde verwehrt."},
        SFileErrorCase{ERROR_SHARING_VIOLATION,
                       "Eine Zugriffsverletzung ist w\xE4hrend des Zugriffs auf C:\\Spiele\\Zanto\\a.dat aufgetreten."},
        SFileErrorCase{ERROR_LOCK_VIOLATION,
                       "Eine Sperrverletzung ist w\xE4hrend des Zugriffs auf C:\\Spiele\\Zanto\\a.dat aufgetreten."},
        SFileErrorCase{ERROR_FILE_NOT_FOUND, "C:\\Spiele\\Zanto\\a.dat wurde nicht gefunden."},
        SFileErrorCase{ERROR_PATH_NOT_FOUND, "C:\\Spiele\\Zanto\\a.dat enth\xE4lt eine ung\xFCltige Pfadangabe."},
        SFileErrorCase{ERROR_DISK_FULL,
                       "Ein unbekannter Fehler ist beim Zugriff auf C:\\Spiele\\Zanto\\a.dat aufgetreten."}));

TEST(FileErrorTextTest, KeepsAPercentSignInTheFileName)
{
    EXPECT_EQ("%1 wurde nicht gefunden.", FileErrorText(ERROR_FILE_NOT_FOUND, "%1"));
}
