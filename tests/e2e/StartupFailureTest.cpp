#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "MessageBoxDriver.h"
#include "MessageBoxIcon.h"
#include "Polling.h"
#include "ScopedHandle.h"
#include "SetupSession.h"
#include "WindowFinder.h"
#include "resource.h"

namespace
{
// The process ends right after the message; a slow Wine start must not count against it.
constexpr DWORD kBoxTimeoutMs = 20000;

bool IsMainWindow(HWND hWnd)
{
    char szTitle[64] = {};
    GetWindowTextA(hWnd, szTitle, sizeof(szTitle));
    // Before the start finishes the main window still has the template's title.
    return std::string(szTitle) == "Zanto Demo Setup" || GetDlgItem(hWnd, IDC_LICENSE_TEXT) != nullptr;
}

// Notes whether the process ever shows its main window while the test waits for something else.
class CMainWindowWatch
{
public:
    explicit CMainWindowWatch(DWORD dwPid) : m_dwPid(dwPid) {}

    bool WaitUntil(const std::function<bool()>& fnDone, DWORD dwTimeoutMs)
    {
        return ::WaitUntil(
            [&] {
                m_bSeen = m_bSeen || FindProcessWindow(m_dwPid, IsMainWindow) != nullptr;
                return fnDone();
            },
            dwTimeoutMs);
    }

    bool HasSeenMainWindow() const { return m_bSeen; }

private:
    DWORD m_dwPid;
    bool m_bSeen = false;
};

enum class EDamage
{
    Missing,
    Folder,
    Locked,
    LongFolderName, // a product folder name as long as a whole path, of digits
};

struct SFailureCase
{
    const char* pszName;
    bool bEnglish;
    EDamage eDamage;
    const char* pszFile;
    const char* pszAlsoMissing;
    const char* pszMessage;
};

const SFailureCase s_aFailureCases[] = {
    {"EnglishIniMissing", true, EDamage::Missing, "setup_en.ini", nullptr, "INI-File not found"},
    {"EnglishIniAndLicenceMissing", true, EDamage::Missing, "setup_en.ini", "eula_en.txt", "INI-File not found"},
    {"EnglishIniIsAFolder", true, EDamage::Folder, "setup_en.ini", nullptr, "INI-File not found"},
    {"EnglishIniLocked", true, EDamage::Locked, "setup_en.ini", nullptr, "INI-File not found"},
    {"EnglishIniFolderNameAsLongAsAPath", true, EDamage::LongFolderName, "setup_en.ini", nullptr, "INI-File not found"},
    {"EnglishLicenceMissing", true, EDamage::Missing, "eula_en.txt", nullptr, "eule_en.txt not found"},
    {"EnglishLicenceIsAFolder", true, EDamage::Folder, "eula_en.txt", nullptr, "eule_en.txt not found"},
    {"EnglishLicenceLocked", true, EDamage::Locked, "eula_en.txt", nullptr, "eule_en.txt not found"},
    {"GermanIniMissing", false, EDamage::Missing, "setup_ger.ini", nullptr, "INI-Datei nicht gefunden"},
    {"GermanIniAndLicenceMissing", false, EDamage::Missing, "setup_ger.ini", "eula.txt", "INI-Datei nicht gefunden"},
    {"GermanIniIsAFolder", false, EDamage::Folder, "setup_ger.ini", nullptr, "INI-Datei nicht gefunden"},
    {"GermanIniLocked", false, EDamage::Locked, "setup_ger.ini", nullptr, "INI-Datei nicht gefunden"},
    {"GermanIniFolderNameLongerThanAPath", false, EDamage::LongFolderName, "setup_ger.ini", nullptr,
     "INI-Datei nicht gefunden"},
    {"GermanLicenceMissing", false, EDamage::Missing, "eula.txt", nullptr, "eula.txt nicht gefunden"},
    {"GermanLicenceIsAFolder", false, EDamage::Folder, "eula.txt", nullptr, "eula.txt nicht gefunden"},
    {"GermanLicenceLocked", false, EDamage::Locked, "eula.txt", nullptr, "eula.txt nicht gefunden"},
};

void PrintTo(const SFailureCase& c, std::ostream* pStream)
{
    *pStream << c.pszName;
}

// A locked file stays locked as long as hLock lives.
void Damage(const CSetupSession& session, const SFailureCase& c, CScopedHandle& hLock)
{
    const std::string strPath = session.MediumFile(c.pszFile);
    if (c.pszAlsoMissing != nullptr)
    {
        ASSERT_TRUE(DeleteFileA(session.MediumFile(c.pszAlsoMissing).c_str()));
    }
    switch (c.eDamage)
    {
    case EDamage::Missing:
        ASSERT_TRUE(DeleteFileA(strPath.c_str()));
        break;
    case EDamage::Folder:
        ASSERT_TRUE(DeleteFileA(strPath.c_str()));
        ASSERT_TRUE(CreateDirectoryA(strPath.c_str(), nullptr));
        break;
    case EDamage::Locked:
        hLock.Reset(CreateFileA(strPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(hLock.IsValid());
        break;
    case EDamage::LongFolderName:
        WriteTextFile(strPath, "Folder:" + std::string(c.bEnglish ? MAX_PATH : 600000, '7') + "\r\nSize:1\r\nLanguageSize:1\r\n");
        break;
    }
}
}

class StartupFailureTest : public testing::TestWithParam<SFailureCase>
{
};

TEST_P(StartupFailureTest, MessageThenTheEndWithoutMainWindow)
{
    const SFailureCase& c = GetParam();
    CSetupSession session;
    CScopedHandle hLock;
    Damage(session, c, hLock);
    ASSERT_FALSE(HasFatalFailure());
    session.ChooseLanguage(c.bEnglish);

    const DWORD dwPid = session.Process().GetPid();
    CMainWindowWatch watch(dwPid);
    HWND hBox = nullptr;
    watch.WaitUntil(
        [&] { return (hBox = FindProcessWindow(dwPid, IsMessageBox)) != nullptr || watch.HasSeenMainWindow(); },
        kBoxTimeoutMs);
    ASSERT_FALSE(watch.HasSeenMainWindow()) << "the main window came instead of the message";
    ASSERT_NE(nullptr, hBox) << "no message";
    EXPECT_EQ(c.pszMessage, ReadMessageBoxText(hBox));
    EXPECT_EQ("ZantoSetup", ReadMessageBoxCaption(hBox));
    EXPECT_NE(nullptr, GetDlgItem(hBox, IDOK));
    for (const int nButton : {IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE})
        EXPECT_EQ(nullptr, GetDlgItem(hBox, nButton)) << "button " << nButton;

    AnswerMessageBox(hBox, IDOK);
    ASSERT_TRUE(watch.WaitUntil([&] { return !session.Process().IsRunning(); }, kDefaultTimeoutMs))
        << "still running after the message" << session.Diagnose();
    // A run that could not start says so to the script that started it.
    EXPECT_EQ(1u, session.Process().GetExitCode());
    EXPECT_FALSE(watch.HasSeenMainWindow());
}

INSTANTIATE_TEST_SUITE_P(Media, StartupFailureTest, testing::ValuesIn(s_aFailureCases),
                         [](const testing::TestParamInfo<SFailureCase>& info) { return info.param.pszName; });

TEST(StartupFailureIconTest, MessageShowsTheExclamationIcon)
{
    CSetupSession session;
    ASSERT_TRUE(DeleteFileA(session.MediumFile("setup_en.ini").c_str()));
    session.ChooseLanguage(true);
    const HWND hBox = WaitForMessageBox(session.Process().GetPid(), kBoxTimeoutMs);
    ASSERT_NE(nullptr, hBox) << session.Diagnose();
    EXPECT_EQ(EMessageBoxIcon::Exclamation, ReadMessageBoxIcon(hBox));
    AnswerMessageBox(hBox, IDOK);
    EXPECT_TRUE(session.Process().WaitForExit());
}

// The other language's files are never read: their absence must not stop this one. The chosen
// language's own folder name and licence show that its files were the ones read.
TEST(StartupFilesTest, OtherLanguagesFilesMayBeMissing)
{
    struct SLanguageCase
    {
        bool bEnglish;
        const char* pszIni;
        const char* pszLicence;
        const char* pszOtherIni;
        const char* pszOtherLicence;
    };
    const SLanguageCase aCases[] = {
        {true, "setup_en.ini", "eula_en.txt", "setup_ger.ini", "eula.txt"},
        {false, "setup_ger.ini", "eula.txt", "setup_en.ini", "eula_en.txt"},
    };
    for (const SLanguageCase& c : aCases)
    {
        SCOPED_TRACE(c.bEnglish ? "English" : "German");
        CSetupSession session;
        ASSERT_TRUE(DeleteFileA(session.MediumFile(c.pszOtherIni).c_str()));
        ASSERT_TRUE(DeleteFileA(session.MediumFile(c.pszOtherLicence).c_str()));
        WriteTextFile(session.MediumFile(c.pszIni),
                      std::string("Folder:Read ") + c.pszIni + "\r\nSize:1\r\nLanguageSize:1\r\n");
        WriteTextFile(session.MediumFile(c.pszLicence), std::string("Licence from ") + c.pszLicence + "\r\n");

        CWindowDriver main = session.StartInLanguage(c.bEnglish);
        EXPECT_EQ(c.bEnglish ? "Quit" : "Beenden", main.GetText(IDCANCEL));
        EXPECT_EQ(std::string("\\Read ") + c.pszIni, main.GetText(IDC_MENU_FOLDER));
        EXPECT_EQ(std::string("Licence from ") + c.pszLicence + "\r\n", main.GetText(IDC_LICENSE_TEXT));
        EXPECT_TRUE(session.Process().IsRunning());
    }
}

namespace
{
struct SOddIniCase
{
    const char* pszName;
    std::string strContent;
};

// Every byte value but Ctrl+Z, which would end the text before the rest is read.
std::string EveryByte()
{
    std::string strBytes;
    for (int n = 0; n < 256; ++n)
    {
        if (n != 0x1A)
            strBytes += static_cast<char>(n);
    }
    return strBytes + strBytes;
}

void PrintTo(const SOddIniCase& c, std::ostream* pStream)
{
    *pStream << c.pszName;
}
}

class OddSetupIniTest : public testing::TestWithParam<SOddIniCase>
{
};

TEST_P(OddSetupIniTest, MainWindowStillComes)
{
    CSetupSession session;
    WriteTextFile(session.MediumFile("setup_en.ini"), GetParam().strContent);
    CWindowDriver main = session.StartInLanguage(true);
    EXPECT_EQ("Zanto Demo Setup", main.GetTitle());
    EXPECT_EQ("Quit", main.GetText(IDCANCEL));
    EXPECT_TRUE(session.Process().IsRunning());
}

INSTANTIATE_TEST_SUITE_P(
    Media, OddSetupIniTest,
    testing::Values(SOddIniCase{"OneLineWithoutBreak", "Folder:Zanto"},
                    SOddIniCase{"BinaryBytes", EveryByte()},
                    SOddIniCase{"FolderNameJustShorterThanAPath",
                                "Folder:" + std::string(MAX_PATH - 1, '7') + "\r\nSize:1\r\nLanguageSize:1\r\n"},
                    SOddIniCase{"CountsOutOfRange",
                                "Folder:Zanto\r\nSize:-5\r\nLanguageSize:99999999999999999999\r\n"}),
    [](const testing::TestParamInfo<SOddIniCase>& info) { return info.param.pszName; });
