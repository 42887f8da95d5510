#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "InstallRun.h"
#include "Polling.h"
#include "SetupSession.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
struct SExpectedLink
{
    const char* pszName;
    std::string strTarget;
};

std::vector<SExpectedLink> ExpectedLinks(bool bEnglish, const std::string& strInstallDir)
{
    const std::string strHomepage = bEnglish ? "http://www.grindlow-software.com/en/games/zanto/"
                                             : "http://www.grindlow-software.com/de/spiele/zanto/";
    if (bEnglish)
        return {{"Deinstall Zanto.lnk", strInstallDir + "\\uninstall.exe"},
                {"Play Zanto.lnk", strInstallDir + "\\Zanto Demo.exe"},
                {"Readme.txt.lnk", strInstallDir + "\\readme.txt"},
                {"Homepage.lnk", strHomepage},
                {"Options.lnk", strInstallDir + "\\settings.exe"}};
    return {{"Zanto deinstallieren.lnk", strInstallDir + "\\uninstall.exe"},
            {"Zanto spielen.lnk", strInstallDir + "\\Zanto Demo.exe"},
            {"Liesmich.txt.lnk", strInstallDir + "\\liesmich.txt"},
            {"Homepage.lnk", strHomepage},
            {"Einstellungen.lnk", strInstallDir + "\\settings.exe"}};
}

// Wine's shell link takes every target for a file: a URL comes back as a path below the current
// folder, with its slashes turned into backslashes. Windows keeps it as given.
std::string WithoutWineUrlMangling(const std::string& strTarget)
{
    const size_t nUrl = strTarget.find("\\http:\\");
    if (nUrl == std::string::npos)
        return strTarget;
    std::string strUrl = strTarget.substr(nUrl + 1);
    for (char& ch : strUrl)
        if (ch == '\\')
            ch = '/';
    return strUrl.replace(0, 6, "http://");
}

// What the demo medium installs: the language tree without its top folder, the cabinet's files
// and the list that Deinstall reads; never the source tree.
std::vector<std::string> ExpectedFiles(bool bEnglish)
{
    std::vector<std::string> files = FilesBelow(HostPath("ZANTO_PAYLOAD"));
    for (const std::string& strFile : FilesBelow(HostPath("ZANTO_MEDIUM") + (bEnglish ? "\\en" : "\\ger")))
        files.push_back(strFile);
    files.push_back("uninstall.dat");
    std::sort(files.begin(), files.end());
    return files;
}
}

TEST(InstallTest, InstallsRecordsAndRemovesAgainInBothLanguages)
{
    for (const bool bEnglish : {true, false})
    {
        SCOPED_TRACE(bEnglish ? "English" : "German");
        CSetupSession session;
        CInstallTarget target;
        CWindowDriver main = session.StartInLanguage(bEnglish);
        InstallThroughWizard(session, main, bEnglish, target);
        if (HasFatalFailure())
            return;

        EXPECT_EQ(Text(bEnglish, "Deinstall", "Deinstallieren"), main.GetText(IDC_INSTALL));
        EXPECT_TRUE(main.IsEnabled(IDC_PLAY));
        EXPECT_EQ(ExpectedFiles(bEnglish), FilesBelow(target.InstallDir()));
        EXPECT_FALSE(FileExists(target.InstallDir() + "\\building.txt")) << "the source tree is not installed";

        const std::vector<SExpectedLink> links = ExpectedLinks(bEnglish, target.InstallDir());
        std::vector<std::string> linkNames;
        for (const SExpectedLink& link : links)
        {
            linkNames.push_back(link.pszName);
            SCOPED_TRACE(link.pszName);
            const SLinkInfo info = ReadLink(target.MenuPath() + "\\" + link.pszName);
            EXPECT_EQ(link.strTarget, WithoutWineUrlMangling(info.strTarget));
            EXPECT_EQ(target.InstallDir(), info.strWorkingDir);
            EXPECT_EQ(target.InstallDir(), info.strDescription);
        }
        std::sort(linkNames.begin(), linkNames.end());
        EXPECT_EQ(linkNames, FilesBelow(target.MenuPath()));

        const std::map<std::string, std::string> expectedRecord = {
            {"DisplayName", "Zanto Demo"},
            {"UninstallString", target.InstallDir() + "\\uninstall.exe"},
            {"Publisher", "Grindlow Software"},
            {"URLInfoAbout", links[3].strTarget},
            {"InstallLocation", target.InstallDir()},
            {"Startmenu", target.MenuPath()},
        };
        EXPECT_EQ(expectedRecord, RecordValues());

        // A new start finds the installation and offers its removal.
        main.Click(IDCANCEL);
        ASSERT_TRUE(session.Process().WaitForExit()) << session.Diagnose();
        main = session.StartInLanguage(bEnglish);
        ASSERT_TRUE(WaitForPage(main, 0)) << session.Diagnose();
        EXPECT_EQ(Text(bEnglish, "Deinstall", "Deinstallieren"), main.GetText(IDC_INSTALL));
        EXPECT_TRUE(main.IsEnabled(IDC_PLAY));

        const std::string strQuestion =
            Text(bEnglish, "Do you really want to deinstall this game ?", "Wollen Sie Zanto wirklich Deinstallieren ?");
        main.Click(IDC_INSTALL);
        AnswerBox(session, strQuestion, IDNO);
        if (HasFatalFailure())
            return;
        Settle(main);
        EXPECT_EQ(ExpectedFiles(bEnglish), FilesBelow(target.InstallDir()));
        EXPECT_EQ(6u, RecordValues().size());
        EXPECT_EQ(Text(bEnglish, "Deinstall", "Deinstallieren"), main.GetText(IDC_INSTALL));

        main.Click(IDC_INSTALL);
        AnswerBox(session, strQuestion, IDYES);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(WaitUntil([&] { return main.GetText(IDC_INSTALL) == Text(bEnglish, "Install", "Installieren"); }))
            << session.Diagnose();
        EXPECT_FALSE(FileExists(target.InstallDir()));
        EXPECT_FALSE(FileExists(target.MenuPath()));
        EXPECT_TRUE(RecordValues().empty());
        EXPECT_FALSE(main.IsEnabled(IDC_PLAY));
        EXPECT_TRUE(main.IsEnabled(IDCANCEL));
        EXPECT_EQ("", session.Diagnose());
    }
}
