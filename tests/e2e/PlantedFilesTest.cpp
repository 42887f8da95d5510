// Files that a stranger can leave where the programs look, run with the administrator's rights:
// libraries beside the setup program or in the folder it is started from, libraries and commands in
// the temporary folder that the uninstall program works below, a program at the first blank of the
// record's command line, and list lines that reach behind a folder link.
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include <string>
#include <vector>

#include "FolderLink.h"
#include "Folders.h"
#include "InstallRun.h"
#include "Planted.h"
#include "SetupSession.h"
#include "UninstallRun.h"
#include "WizardPages.h"

namespace
{
struct SLanguageCase
{
    const char* pszName;
    bool bEnglish;
};

const SLanguageCase s_aLanguages[] = {{"English", true}, {"German", false}};

std::string LanguageName(const testing::TestParamInfo<SLanguageCase>& info)
{
    return info.param.pszName;
}

std::string TempFolder()
{
    char szTemp[MAX_PATH];
    const DWORD nLength = GetTempPathA(MAX_PATH, szTemp);
    return std::string(szTemp, nLength > 0 ? nLength - 1 : 0);
}

std::string Joined(const std::vector<std::string>& paths)
{
    std::string strText;
    for (const std::string& strPath : paths)
        strText += "\n  " + strPath;
    return strText;
}

// The folders the uninstall program's copies work in, below the temporary folder.
std::vector<std::string> CopyFolders()
{
    std::vector<std::string> folders;
    WIN32_FIND_DATAA data;
    const HANDLE hFind = FindFirstFileA((TempFolder() + "\\ZantoUninstall-*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return folders;
    do
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            folders.push_back(TempFolder() + "\\" + data.cFileName);
    while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    return folders;
}

// What of a folder's access list lets one of the groups that every user is in write or delete.
std::string WritableByUsers(const std::string& strFolder)
{
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    PACL pDacl = nullptr;
    if (GetNamedSecurityInfoA(strFolder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &pDacl,
                              nullptr, &pDescriptor) != ERROR_SUCCESS)
        return "the access list cannot be read";
    std::string strFound;
    if (pDacl == nullptr)
        strFound = "no access list: everybody may do everything";
    const struct
    {
        const char* pszName;
        WELL_KNOWN_SID_TYPE eType;
    } aGroups[] = {{"Everyone", WinWorldSid},
                   {"Users", WinBuiltinUsersSid},
                   {"Authenticated Users", WinAuthenticatedUserSid},
                   {"CREATOR OWNER", WinCreatorOwnerSid}};
    constexpr ACCESS_MASK kWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                         FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                         GENERIC_ALL;
    for (DWORD nAce = 0; pDacl != nullptr && nAce < pDacl->AceCount; ++nAce)
    {
        ACCESS_ALLOWED_ACE* pAce = nullptr;
        if (!GetAce(pDacl, nAce, reinterpret_cast<void**>(&pAce)) || pAce->Header.AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        for (const auto& group : aGroups)
        {
            BYTE abSid[SECURITY_MAX_SID_SIZE];
            DWORD nSid = sizeof(abSid);
            if (CreateWellKnownSid(group.eType, nullptr, abSid, &nSid) && EqualSid(abSid, &pAce->SidStart) &&
                (pAce->Mask & kWriteRights) != 0)
                strFound += std::string(strFound.empty() ? "" : ", ") + group.pszName + " may write";
        }
    }
    LocalFree(pDescriptor);
    return strFound;
}

// uninstall.exe started as the list of programs starts it, its question answered Yes and its
// closing message OK; its copy must go.
void RemoveFromRecord(bool bEnglish)
{
    CUninstallRun run;
    run.StartFromRecord();
    if (testing::Test::HasFatalFailure())
        return;
    run.AnswerBox(DeinstallQuestion(bEnglish), IDYES);
    run.AnswerBox(RemovedMessage(bEnglish), IDOK);
    EXPECT_TRUE(run.WaitForCopyGone()) << "the copy or its folder stayed";
}

class PlantedFilesTest : public testing::TestWithParam<SLanguageCase>
{
protected:
    CSetupSession m_session;
};

// Started by its full name from another folder that holds a stranger's medium files and libraries,
// with more of them beside the program, the setup program installs from its own medium and
// removes again, and none of the stranger's files runs or is read.
TEST_P(PlantedFilesTest, StartedFromAnotherFolderTheSetupProgramUsesOnlyItsOwnMedium)
{
    const bool bEnglish = GetParam().bEnglish;
    CScopedFolder start(UniqueTempPath("zst"));
    // Read from here, they would name another product folder or fail the configuration.
    for (const char* pszName : {"setup_en.ini", "setup_ger.ini", "eula.txt", "eula_en.txt"})
        WriteTextFile(start.Path() + "\\" + pszName, "not the medium's\r\n");
    CPlantedFiles beside(m_session.MediumPath(), false);
    CPlantedFiles inStart(start.Path(), false);
    m_session.SetStartFolder(start.Path());

    CInstallTarget target;
    CWindowDriver main = m_session.StartInLanguage(bEnglish);
    InstallThroughWizard(m_session, main, bEnglish, target.InstallDir(), target.MenuFolder());
    if (HasFatalFailure())
        return;
    ExpectCompleteInstallation(bEnglish, target);
    Deinstall(m_session, main, bEnglish);
    ASSERT_TRUE(WaitForInstallOffered(main, bEnglish)) << m_session.Diagnose();
    EXPECT_FALSE(FileExists(target.InstallDir()));
    main.Click(IDCANCEL);
    ASSERT_TRUE(m_session.Process().WaitForExit()) << m_session.Diagnose();

    EXPECT_TRUE(beside.Ran().empty()) << "ran beside the program:" << Joined(beside.Ran());
    EXPECT_TRUE(inStart.Ran().empty()) << "ran in the start folder:" << Joined(inStart.Ran());
}

// The uninstall program's copy works in a folder of its own that only the administrators may
// write: a stranger's libraries and commands in the temporary folder never run, and the folder
// goes with the copy.
TEST_P(PlantedFilesTest, NothingInTheTemporaryFolderRunsWithTheUninstallProgram)
{
    const bool bEnglish = GetParam().bEnglish;
    CInstallTarget target;
    InstallAndQuit(m_session, bEnglish, target);
    if (HasFatalFailure())
        return;
    CPlantedFiles inTemp(TempFolder(), true);

    CUninstallRun run;
    run.Start(EUninstallStart::Record, bEnglish, target);
    if (HasFatalFailure())
        return;
    ASSERT_NE(nullptr, run.WaitForBox(DeinstallQuestion(bEnglish))) << run.Diagnose();
    const std::vector<std::string> folders = CopyFolders();
    ASSERT_EQ(1u, folders.size()) << "the copy's folders:" << Joined(folders);
    EXPECT_TRUE(FileExists(folders[0] + "\\ZantoUninstall.exe"));
    EXPECT_EQ("", WritableByUsers(folders[0]));

    run.AnswerBox(DeinstallQuestion(bEnglish), IDYES);
    run.AnswerBox(RemovedMessage(bEnglish), IDOK);
    EXPECT_TRUE(run.WaitForCopyGone()) << "the copy or its folder stayed";
    EXPECT_FALSE(FileExists(target.InstallDir()));
    EXPECT_TRUE(RecordValues().empty());
    EXPECT_TRUE(inTemp.Ran().empty()) << "ran in the temporary folder:" << Joined(inTemp.Ran());
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, PlantedFilesTest, testing::ValuesIn(s_aLanguages), LanguageName);

// The list of programs hands the record's UninstallString to CreateProcess as a command line: for
// an install folder below "C:\Program Files", an unquoted one would start "C:\Program.exe".
TEST(PlantedProgramTest, TheRecordsCommandStartsTheUninstallProgramAndNoOther)
{
    CSetupSession session;
    char szProgramFiles[MAX_PATH];
    ASSERT_TRUE(ExpandEnvironmentStringsA("%ProgramFiles%", szProgramFiles, MAX_PATH));
    ASSERT_NE(std::string::npos, std::string(szProgramFiles).find(' '));
    const std::string strFirstWord = std::string(szProgramFiles).substr(0, std::string(szProgramFiles).find(' '));
    CPlantedFiles program(strFirstWord + ".exe");
    CInstallTarget target(szProgramFiles);
    InstallAndQuit(session, true, target);
    if (HasFatalFailure())
        return;

    RemoveFromRecord(true);
    EXPECT_FALSE(FileExists(target.InstallDir()));
    EXPECT_TRUE(program.Ran().empty()) << strFirstWord << ".exe ran";
}

// A list line that reaches behind a folder link with "/", or names a kept file that the program
// never keeps files under, makes the list damaged: both ways of removal then take the record and
// the shortcuts, and nothing in the install folder nor behind the link.
struct SListCase
{
    const char* pszName;
    // The line, from the install folder and the folder link "j" in it, which points to a folder
    // outside that holds precious.txt.
    std::string (*pfnLine)(const std::string& strInstallDir);
    bool bUninstallProgram;
};

std::string SlashedFileBehindLink(const std::string& strDir)
{
    return "F " + strDir + "/j/precious.txt";
}

std::string SlashedFolderBehindLink(const std::string& strDir)
{
    return "D " + strDir + "/j/inner";
}

std::string KeptFileBehindLink(const std::string& strDir)
{
    return "K " + strDir + "\\readme.txt\t" + strDir + "/j/precious.txt";
}

std::string KeptUnderAForeignName(const std::string& strDir)
{
    return "K " + strDir + "\\readme.txt\t" + strDir + "\\settings.exe";
}

const SListCase s_aListCases[] = {
    {"SlashedFileBehindLinkByDeinstall", SlashedFileBehindLink, false},
    {"SlashedFileBehindLinkByUninstallProgram", SlashedFileBehindLink, true},
    {"SlashedFolderBehindLinkByDeinstall", SlashedFolderBehindLink, false},
    {"SlashedFolderBehindLinkByUninstallProgram", SlashedFolderBehindLink, true},
    {"KeptFileBehindLinkByDeinstall", KeptFileBehindLink, false},
    {"KeptFileBehindLinkByUninstallProgram", KeptFileBehindLink, true},
    {"KeptUnderAForeignNameByDeinstall", KeptUnderAForeignName, false},
    {"KeptUnderAForeignNameByUninstallProgram", KeptUnderAForeignName, true},
};

class PlantedListTest : public testing::TestWithParam<SListCase>
{
};

TEST_P(PlantedListTest, ADamagedListTouchesNothingBehindTheLinkNorInTheInstallFolder)
{
    const SListCase& test = GetParam();
    CSetupSession session;
    CInstallTarget target;
    CScopedFolder outside(UniqueTempPath("zpl"));
    ASSERT_TRUE(CreateDirectoryA((outside.Path() + "\\inner").c_str(), nullptr));
    WriteTextFile(outside.Path() + "\\precious.txt", "keep me");
    WriteTextFile(outside.Path() + "\\inner\\precious.txt", "keep me too");
    InstallAndQuit(session, true, target);
    if (HasFatalFailure())
        return;
    const std::string strList = target.InstallDir() + "\\uninstall.dat";
    WriteTextFile(strList, ReadFileBytes(strList) + test.pfnLine(target.InstallDir()) + "\r\n");
    ASSERT_TRUE(MakeFolderLink(target.InstallDir() + "\\j", outside.Path()));
    const std::vector<std::string> files = FilesBelow(target.InstallDir());

    if (test.bUninstallProgram)
    {
        // Without a list it can read, the uninstall program speaks the keyboard layout's language.
        RemoveFromRecord(!IsGermanLayoutRun());
    }
    else
    {
        CWindowDriver main = session.StartInLanguage(true);
        Deinstall(session, main, true);
        ASSERT_TRUE(WaitForInstallOffered(main, true)) << session.Diagnose();
        main.Click(IDCANCEL);
        ASSERT_TRUE(session.Process().WaitForExit()) << session.Diagnose();
    }
    EXPECT_EQ("keep me", ReadFileBytes(outside.Path() + "\\precious.txt"));
    EXPECT_EQ("keep me too", ReadFileBytes(outside.Path() + "\\inner\\precious.txt"));
    EXPECT_EQ(files, FilesBelow(target.InstallDir()));
    EXPECT_TRUE(RecordValues().empty());
    EXPECT_FALSE(FileExists(target.MenuPath()));
    RemoveFolderLink(target.InstallDir() + "\\j");
}

INSTANTIATE_TEST_SUITE_P(DamagedLists, PlantedListTest, testing::ValuesIn(s_aListCases),
                         [](const testing::TestParamInfo<SListCase>& info) { return std::string(info.param.pszName); });
}
