#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "RegistryKey.h"

namespace
{
const char* const kTestKey = "SOFTWARE\\ZantoSetupTests\\RegistryKey";

class RegistryKeyTest : public testing::Test
{
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZantoSetupTests"); }
    void TearDown() override { RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZantoSetupTests"); }

    static bool KeyExists(const char* pszPath)
    {
        HKEY hKey;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return false;
        RegCloseKey(hKey);
        return true;
    }

    static void SetRaw(const char* pszName, DWORD dwType, const void* pData, DWORD nSize)
    {
        HKEY hKey;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &hKey, nullptr));
        RegSetValueExA(hKey, pszName, 0, dwType, static_cast<const BYTE*>(pData), nSize);
        RegCloseKey(hKey);
    }
};
}

TEST_F(RegistryKeyTest, WrittenStringReadsBackWithItsTerminatingZeroCounted)
{
    CRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_LOCAL_MACHINE, kTestKey));
    key.SetString("C:\\Spiele\\Zanto", "InstallLocation");
    key.Close();

    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, kTestKey, KEY_ALL_ACCESS));
    char szBuffer[64];
    DWORD nSize = sizeof(szBuffer);
    EXPECT_EQ(ERROR_SUCCESS, key.QueryString(szBuffer, "InstallLocation", nSize));
    EXPECT_STREQ("C:\\Spiele\\Zanto", szBuffer);
    EXPECT_EQ(std::strlen("C:\\Spiele\\Zanto") + 1, nSize);
}

TEST_F(RegistryKeyTest, AcceptsTheThreeStringTypes)
{
    SetRaw("sz", REG_SZ, "a", 2);
    SetRaw("expand", REG_EXPAND_SZ, "%TEMP%", 7);
    SetRaw("multi", REG_MULTI_SZ, "x\0y\0", 5);
    CRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, kTestKey, KEY_ALL_ACCESS));
    for (const char* pszName : {"sz", "expand", "multi"})
    {
        char szBuffer[32];
        DWORD nSize = sizeof(szBuffer);
        EXPECT_EQ(ERROR_SUCCESS, key.QueryString(szBuffer, pszName, nSize)) << pszName;
        EXPECT_NE(0u, nSize) << pszName;
    }
    char szBuffer[32];
    DWORD nSize = sizeof(szBuffer);
    key.QueryString(szBuffer, "expand", nSize);
    EXPECT_STREQ("%TEMP%", szBuffer) << "not expanded";
}

TEST_F(RegistryKeyTest, UnreadableValuesGiveSizeZeroAndAnEmptyBuffer)
{
    const DWORD dwNumber = 7;
    SetRaw("number", REG_DWORD, &dwNumber, sizeof(dwNumber));
    SetRaw("long", REG_SZ, "0123456789ABCDEF", 17);
    SetRaw("unterminated", REG_SZ, "0123456789", 10);
    CRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, kTestKey, KEY_ALL_ACCESS));

    struct SCase
    {
        const char* pszName;
        DWORD nBufferSize;
    };
    // A value exactly as long as the buffer, but without its zero, cannot be terminated in it.
    for (const SCase& c : {SCase{"missing", 16}, SCase{"number", 16}, SCase{"long", 16}, SCase{"unterminated", 10}})
    {
        char szBuffer[32];
        std::memset(szBuffer, 'x', sizeof(szBuffer));
        DWORD nSize = c.nBufferSize;
        EXPECT_NE(ERROR_SUCCESS, key.QueryString(szBuffer, c.pszName, nSize)) << c.pszName;
        EXPECT_EQ(0u, nSize) << c.pszName;
        EXPECT_EQ('\0', szBuffer[0]) << c.pszName;
        EXPECT_EQ('x', szBuffer[c.nBufferSize]) << c.pszName << ": wrote past the buffer";
    }
}

TEST_F(RegistryKeyTest, UnterminatedValueGetsItsZeroWhenThereIsRoom)
{
    SetRaw("unterminated", REG_SZ, "0123456789", 10);
    CRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, kTestKey, KEY_ALL_ACCESS));
    char szBuffer[11];
    DWORD nSize = sizeof(szBuffer);
    EXPECT_EQ(ERROR_SUCCESS, key.QueryString(szBuffer, "unterminated", nSize));
    EXPECT_STREQ("0123456789", szBuffer);
    EXPECT_EQ(11u, nSize);
}

TEST_F(RegistryKeyTest, FailedOpenHoldsNoKey)
{
    CRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_LOCAL_MACHINE, kTestKey));
    key.SetString("v", "name");
    EXPECT_NE(ERROR_SUCCESS, key.Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZantoSetupTests\\Missing", KEY_ALL_ACCESS));

    char szBuffer[16];
    DWORD nSize = sizeof(szBuffer);
    EXPECT_NE(ERROR_SUCCESS, key.QueryString(szBuffer, "name", nSize));
    EXPECT_EQ(0u, nSize);
    EXPECT_NE(ERROR_SUCCESS, key.SetString("w", "other"));
}

TEST_F(RegistryKeyTest, DeleteTreeRemovesSubkeysAndKeepsTheParent)
{
    CRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_LOCAL_MACHINE, (std::string(kTestKey) + "\\a\\b\\c").c_str()));
    key.Create(HKEY_LOCAL_MACHINE, (std::string(kTestKey) + "\\d").c_str());
    key.SetString("v", "name");
    key.Close();

    EXPECT_EQ(ERROR_SUCCESS, CRegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kTestKey));
    EXPECT_FALSE(KeyExists(kTestKey));
    EXPECT_TRUE(KeyExists("SOFTWARE\\ZantoSetupTests"));
    EXPECT_NE(ERROR_SUCCESS, CRegistryKey::DeleteTree(HKEY_LOCAL_MACHINE, kTestKey));
}

TEST_F(RegistryKeyTest, DeleteTreeRefusesAnEmptyPath)
{
    CRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_LOCAL_MACHINE, kTestKey));
    key.Close();
    HKEY hParent;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, KEY_ALL_ACCESS, &hParent));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, CRegistryKey::DeleteTree(hParent, ""));
    RegCloseKey(hParent);
    EXPECT_TRUE(KeyExists(kTestKey));
}
