#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "Folders.h"
#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "SetupSession.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
const char* const kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zanto";

const char* TreeName(bool bEnglish)
{
    return bEnglish ? "en" : "ger";
}

struct SFileState
{
    std::string strContent;
    DWORD dwAttributes;
    FILETIME ftWritten;
};

// Every file below strFolder with its bytes, attributes and last write time.
std::map<std::string, SFileState> FileStates(const std::string& strFolder)
{
    std::map<std::string, SFileState> states;
    for (const std::string& strFile : FilesBelow(strFolder))
    {
        const std::string strPath = strFolder + "\\" + strFile;
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExA(strPath.c_str(), GetFileExInfoStandard, &data);
        states[strFile] = {ReadFileBytes(strPath), data.dwFileAttributes, data.ftLastWriteTime};
    }
    return states;
}

void ExpectSameStates(const std::map<std::string, SFileState>& expected, const std::map<std::string, SFileState>& actual)
{
    std::vector<std::string> expectedNames, actualNames;
    for (const auto& entry : expected)
        expectedNames.push_back(entry.first);
    for (const auto& entry : actual)
        actualNames.push_back(entry.first);
    ASSERT_EQ(expectedNames, actualNames);
    for (const auto& entry : expected)
    {
        SCOPED_TRACE(entry.first);
        const SFileState& state = actual.at(entry.first);
        EXPECT_EQ(entry.second.strContent, state.strContent);
        EXPECT_EQ(entry.second.dwAttributes, state.dwAttributes);
        EXPECT_EQ(0, CompareFileTime(&entry.second.ftWritten, &state.ftWritten));
    }
}

// An install folder that holds, before the run, a file of the user's under every name that the
// installation writes, read-only, hidden or plain, of a day long ago, and a save game of its own.
class CUsersFolder
{
public:
    CUsersFolder(const CInstallTarget& target, const CSetupSession& session, bool bEnglish)
        : m_strDir(target.InstallDir())
    {
        CreateDirectoryA(target.InstallParent().c_str(), nullptr);
        CreateDirectoryA(m_strDir.c_str(), nullptr);
        std::vector<std::string> names = FilesBelow(session.MediumFile(TreeName(bEnglish)));
        for (const std::string& strName : FilesBelow(HostPath("ZANTO_PAYLOAD")))
            names.push_back(strName);
        names.push_back("savegame.sav");
        static const DWORD s_adwAttributes[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_ARCHIVE};
        SYSTEMTIME st = {2001, 2, 6, 3, 4, 5, 6, 0};
        FILETIME ft;
        SystemTimeToFileTime(&st, &ft);
        for (size_t nName = 0; nName < names.size(); ++nName)
        {
            const std::string strPath = m_strDir + "\\" + names[nName];
            const size_t nSlash = strPath.find_last_of('\\');
            for (size_t nPos = m_strDir.size(); nPos < nSlash; nPos = strPath.find('\\', nPos + 1))
                CreateDirectoryA(strPath.substr(0, strPath.find('\\', nPos + 1)).c_str(), nullptr);
            WriteTextFile(strPath, "the user's own " + names[nName]);
            HANDLE hFile = CreateFileA(strPath.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            SetFileTime(hFile, nullptr, nullptr, &ft);
            CloseHandle(hFile);
            SetFileAttributesA(strPath.c_str(), s_adwAttributes[nName % 3]);
        }
        m_before = FileStates(m_strDir);
    }
    ~CUsersFolder()
    {
        for (const std::string& strFile : FilesBelow(m_strDir))
            SetFileAttributesA((m_strDir + "\\" + strFile).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    CUsersFolder(const CUsersFolder&) = delete;
    CUsersFolder& operator=(const CUsersFolder&) = delete;

    void ExpectAsBefore() const { ExpectSameStates(m_before, FileStates(m_strDir)); }
    const std::map<std::string, SFileState>& Before() const { return m_before; }

private:
    std::string m_strDir;
    std::map<std::string, SFileState> m_before;
};

enum class EOutcome
{
    Cancel,
    Failure,
    Success,
};

struct SUsersFilesCase
{
    const char* pszName;
    EOutcome eOutcome;
    bool bEnglish;
};

class UsersFilesTest : public testing::TestWithParam<SUsersFilesCase>
{
};

std::string StepTwoMessage(bool bEnglish)
{
    return Text(bEnglish, "Error while extracting the cab-file !!\nAborting installation !",
                "Fehler beim extrahieren der CAB-Datei !!\nInstallation abgebrochen !");
}
}

// A run into a folder of the user's: a cancel or a failure leaves every file of the user's as it
// was, to the byte, attribute and time; after success the installed files stand in their places,
// nothing kept aside stays, and Deinstall leaves what the installation did not bring.
TEST_P(UsersFilesTest, TheUsersFilesComeBackOrMakeWayForGood)
{
    const SUsersFilesCase& test = GetParam();
    CSetupSession session;
    CInstallTarget target;
    CUsersFolder folder(target, session, test.bEnglish);
    if (test.eOutcome == EOutcome::Failure)
        WriteTextFile(session.MediumFile("data.cab"), "MSCF? no.");
    CWindowDriver main = session.StartInLanguage(test.bEnglish);
    ASSERT_TRUE(WalkToMenuPage(main, target)) << session.Diagnose();
    switch (test.eOutcome)
    {
    case EOutcome::Cancel:
        StartInstallAndCancel(main);
        AnswerBox(session, CancelQuestion(test.bEnglish), IDYES);
        ASSERT_TRUE(WaitForInstallOffered(main, test.bEnglish)) << session.Diagnose();
        break;
    case EOutcome::Failure:
        main.Click(IDC_NEXT);
        AnswerBox(session, StepTwoMessage(test.bEnglish), IDOK);
        ASSERT_TRUE(WaitForEndOfFailedInstallation(main)) << session.Diagnose();
        break;
    case EOutcome::Success:
        main.Click(IDC_NEXT);
        AnswerBox(session, SuccessMessage(test.bEnglish), IDOK);
        ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
        break;
    }
    if (HasFatalFailure())
        return;
    EXPECT_EQ("", session.Diagnose());
    if (test.eOutcome != EOutcome::Success)
    {
        folder.ExpectAsBefore();
        EXPECT_FALSE(FileExists(target.MenuPath()));
        EXPECT_TRUE(RecordValues().empty());
        return;
    }

    std::vector<std::string> installed = FilesBelow(target.InstallDir());
    std::vector<std::string> expected;
    for (const auto& entry : folder.Before())
        expected.push_back(entry.first);
    expected.push_back("uninstall.dat");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, installed) << "no kept file stays beside the installed ones";
    const std::string strReadme = std::string(TreeName(test.bEnglish)) + (test.bEnglish ? "\\readme.txt" : "\\liesmich.txt");
    EXPECT_EQ(ReadFileBytes(session.MediumFile(strReadme.c_str())),
              ReadFileBytes(target.InstallDir() + strReadme.substr(strReadme.find('\\'))));

    Deinstall(session, main, test.bEnglish);
    ASSERT_TRUE(WaitForInstallOffered(main, test.bEnglish)) << session.Diagnose();
    EXPECT_EQ(std::vector<std::string>{"savegame.sav"}, FilesBelow(target.InstallDir()));
    EXPECT_FALSE(FileExists(target.MenuPath()));
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, UsersFilesTest,
    testing::Values(SUsersFilesCase{"EnglishCancel", EOutcome::Cancel, true},
                    SUsersFilesCase{"GermanCancel", EOutcome::Cancel, false},
                    SUsersFilesCase{"EnglishFailure", EOutcome::Failure, true},
                    SUsersFilesCase{"GermanFailure", EOutcome::Failure, false},
                    SUsersFilesCase{"EnglishSuccess", EOutcome::Success, true},
                    SUsersFilesCase{"GermanSuccess", EOutcome::Success, false}),
    [](const testing::TestParamInfo<SUsersFilesCase>& info) { return info.param.pszName; });

// What a run wrote stays reachable: a clean-up stopped by a file it cannot delete, or a process
// ended in the middle of the run, leaves the list, and the next run into the folder takes it over,
// kept files included: its cancel leaves the folder of the user's as it was.
TEST(UnfinishedRunTest, TheNextRunTakesOverWhatAnUnfinishedOneLeft)
{
    enum class EEnd
    {
        CleanUpStopped,
        ProcessEnded,
    };
    for (const bool bEnglish : {true, false})
        for (const EEnd eEnd : {EEnd::CleanUpStopped, EEnd::ProcessEnded})
        {
            SCOPED_TRACE(std::string(bEnglish ? "English, " : "German, ") +
                         (eEnd == EEnd::CleanUpStopped ? "clean-up stopped" : "process ended"));
            CSetupSession session;
            CInstallTarget target;
            CUsersFolder folder(target, session, bEnglish);
            CWindowDriver main = session.StartInLanguage(bEnglish);
            ASSERT_TRUE(WalkToMenuPage(main, target)) << session.Diagnose();
            StartInstallAndCancel(main);
            const HWND hQuestion = WaitForMessageBoxText(session.Process().GetPid(), CancelQuestion(bEnglish));
            ASSERT_NE(nullptr, hQuestion) << session.Diagnose();
            if (eEnd == EEnd::ProcessEnded)
            {
                session.Process().Terminate();
            }
            else
            {
                // An installed file that the clean-up cannot delete: read-only, as the user may make it.
                std::string strStuck;
                for (const auto& entry : folder.Before())
                    if (ReadFileBytes(target.InstallDir() + "\\" + entry.first) != entry.second.strContent)
                        strStuck = target.InstallDir() + "\\" + entry.first;
                ASSERT_FALSE(strStuck.empty()) << "the run wrote nothing before the cancel";
                ASSERT_TRUE(SetFileAttributesA(strStuck.c_str(), FILE_ATTRIBUTE_READONLY));
                AnswerMessageBox(hQuestion, IDYES);
                const HWND hError = WaitForMessageBoxText(session.Process().GetPid(), "Zugriff auf " + strStuck,
                                                          ETextMatch::Contains);
                ASSERT_NE(nullptr, hError) << session.Diagnose();
                AnswerMessageBox(hError, IDOK);
                ASSERT_TRUE(WaitForInstallOffered(main, bEnglish)) << session.Diagnose();
                SetFileAttributesA(strStuck.c_str(), FILE_ATTRIBUTE_NORMAL);
                session.Process().Terminate();
            }
            EXPECT_TRUE(FileExists(target.InstallDir() + "\\uninstall.dat"));
            EXPECT_TRUE(RecordValues().empty());

            main = session.StartInLanguage(bEnglish);
            ASSERT_TRUE(WalkToMenuPage(main, target)) << session.Diagnose();
            StartInstallAndCancel(main);
            AnswerBox(session, CancelQuestion(bEnglish), IDYES);
            ASSERT_TRUE(WaitForInstallOffered(main, bEnglish)) << session.Diagnose();
            folder.ExpectAsBefore();
            EXPECT_FALSE(FileExists(target.MenuPath()));
            EXPECT_EQ("", session.Diagnose());
        }
}

// A run ended in the middle leaves nothing behind for good: the next run into the same new folder
// completes, and its Deinstall takes away the folder and its parent that the first run made.
TEST(UnfinishedRunTest, AfterAnEndedRunTheNextInstallationAndDeinstallLeaveNothing)
{
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CInstallTarget target;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        ASSERT_TRUE(WalkToMenuPage(main, target)) << session.Diagnose();
        StartInstallAndCancel(main);
        ASSERT_NE(nullptr, WaitForMessageBoxText(session.Process().GetPid(), CancelQuestion(bEnglish)))
            << session.Diagnose();
        session.Process().Terminate();
        ASSERT_TRUE(FileExists(target.InstallDir() + "\\uninstall.dat"));

        main = session.StartInLanguage(bEnglish);
        InstallThroughWizard(session, main, bEnglish, target.InstallDir(), target.MenuFolder());
        if (HasFatalFailure())
            return;
        Deinstall(session, main, bEnglish);
        ASSERT_TRUE(WaitForInstallOffered(main, bEnglish)) << session.Diagnose();
        EXPECT_FALSE(FileExists(target.InstallParent())) << testing::PrintToString(FilesBelow(target.InstallParent()));
        EXPECT_FALSE(FileExists(target.MenuPath()));
        EXPECT_TRUE(RecordValues().empty());
    }
}

// A record whose install folder cannot be read, or names a folder without a list, loses the
// shortcuts and itself to Deinstall, and no install folder loses anything.
TEST(DamagedRecordTest, DeinstallActsOnlyWhereTheRecordAndTheListAgree)
{
    struct SDamage
    {
        const char* pszName;
        DWORD dwType;
        bool bOtherFolder;
    };
    const SDamage aDamages[] = {
        {"missing", REG_NONE, false},
        {"a number", REG_DWORD, false},
        {"empty", REG_SZ, false},
        {"another folder", REG_SZ, true},
    };
    for (const bool bEnglish : {true, false})
        for (const SDamage& damage : aDamages)
        {
            SCOPED_TRACE(std::string(bEnglish ? "English, " : "German, ") + damage.pszName);
            CSetupSession session;
            CInstallTarget target;
            CInstallTarget other;
            CUsersFolder otherFolder(other, session, bEnglish);
            CWindowDriver main = session.StartInLanguage(bEnglish);
            InstallThroughWizard(session, main, bEnglish, target.InstallDir(), target.MenuFolder());
            if (HasFatalFailure())
                return;
            const std::vector<std::string> installed = FilesBelow(target.InstallDir());
            session.Process().Terminate();

            HKEY hKey;
            ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_ALL_ACCESS, &hKey));
            if (damage.dwType == REG_NONE)
                RegDeleteValueA(hKey, "InstallLocation");
            else if (damage.dwType == REG_DWORD)
            {
                const DWORD dwValue = 7;
                RegSetValueExA(hKey, "InstallLocation", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), 4);
            }
            else
            {
                const std::string strValue = damage.bOtherFolder ? other.InstallDir() : std::string();
                RegSetValueExA(hKey, "InstallLocation", 0, REG_SZ, reinterpret_cast<const BYTE*>(strValue.c_str()),
                               static_cast<DWORD>(strValue.size() + 1));
            }
            RegCloseKey(hKey);

            main = session.StartInLanguage(bEnglish);
            ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
            Deinstall(session, main, bEnglish);
            ASSERT_TRUE(WaitForInstallOffered(main, bEnglish)) << session.Diagnose();
            EXPECT_TRUE(RecordValues().empty());
            EXPECT_FALSE(FileExists(target.MenuPath()));
            EXPECT_EQ(installed, FilesBelow(target.InstallDir()));
            otherFolder.ExpectAsBefore();
            EXPECT_EQ("", session.Diagnose());
        }
}
