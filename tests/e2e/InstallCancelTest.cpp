#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "InstallRun.h"
#include "MessageBoxDriver.h"
#include "Polling.h"
#include "SetupSession.h"
#include "WindowFinder.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
enum class EStep
{
    LanguageFiles,
    Cabinet,
};

struct SCancelCase
{
    const char* pszName;
    EStep eStep;
    bool bEnglish;
};

const SCancelCase s_aCases[] = {
    {"English, language files", EStep::LanguageFiles, true},
    {"German, language files", EStep::LanguageFiles, false},
    {"English, cabinet", EStep::Cabinet, true},
    {"German, cabinet", EStep::Cabinet, false},
};

const char* TreeName(bool bEnglish)
{
    return bEnglish ? "en" : "ger";
}

// One installation with a cancel queued behind Next, on a medium that makes the cancel land in
// the step of its case: without the language trees the first file written is the cabinet's.
class CCancelledRun
{
public:
    explicit CCancelledRun(const SCancelCase& test)
        : m_test(test)
    {
        if (test.eStep == EStep::Cabinet)
            for (const bool bEnglish : {true, false})
                RemoveFolder(m_session.MediumPath() + "\\" + TreeName(bEnglish));
    }

    CSetupSession& Session() { return m_session; }

    // From the start page to the open cancel question; nullptr when none comes. The status line
    // must name a file of the case's step in the install folder, or the cancel landed elsewhere.
    HWND StartAndCancel(const CWindowDriver& main, CBoxWatch& watch, const CInstallTarget& target)
    {
        if (!WalkToMenuPage(main, target))
            return nullptr;
        StartInstallAndCancel(main);
        const HWND hBox = watch.WaitForBox(CancelQuestion(m_test.bEnglish));
        if (hBox == nullptr)
            return nullptr;

        const std::string strStatus = main.GetText(IDC_STATUS);
        const std::string strPrefix =
            Text(m_test.bEnglish, "Copy file:\n", "Kopiere Datei:\n") + target.InstallDir() + "\\";
        EXPECT_EQ(strPrefix, strStatus.substr(0, strPrefix.size()));
        const std::string strFile = strStatus.substr(std::min(strPrefix.size(), strStatus.size()));
        const std::vector<std::string> stepFiles =
            m_test.eStep == EStep::Cabinet
                ? FilesBelow(HostPath("ZANTO_PAYLOAD"))
                : FilesBelow(HostPath("ZANTO_MEDIUM") + "\\" + TreeName(m_test.bEnglish));
        EXPECT_NE(stepFiles.end(), std::find(stepFiles.begin(), stepFiles.end(), strFile))
            << "\"" << strFile << "\" is not a file of the step";
        return hBox;
    }

    // Answers Yes and waits until the clean-up has led back to the start page, and a little
    // longer: the message of a success or of a failed step would come right after.
    bool ConfirmAndWaitForStart(const CWindowDriver& main, CBoxWatch& watch, HWND hQuestion)
    {
        AnswerMessageBox(hQuestion, IDYES);
        const std::string strInstall = Text(m_test.bEnglish, "Install", "Installieren");
        if (!watch.WaitUntil([&] {
                return !IsWindow(hQuestion) && main.IsVisible(IDC_INSTALL) && main.GetText(IDC_INSTALL) == strInstall;
            }))
            return false;
        watch.Watch(1000);
        Settle(main);
        return true;
    }

private:
    SCancelCase m_test;
    CSetupSession m_session;
};
}

// The install folder is new, and so is its parent or not: what the run made goes, what was there
// before stays.
TEST(InstallCancelTest, YesRemovesWhatTheRunCreatedAndASecondInstallationSucceeds)
{
    for (const SCancelCase& test : s_aCases)
    {
        for (const bool bParentExisted : {false, true})
        {
            SCOPED_TRACE(std::string(test.pszName) + (bParentExisted ? ", parent existed" : ", parent new"));
            CInstallTarget target;
            if (bParentExisted)
            {
                ASSERT_TRUE(CreateDirectoryA(target.InstallParent().c_str(), nullptr));
            }
            CCancelledRun run(test);
            CSetupSession& session = run.Session();
            CWindowDriver main = session.StartInLanguage(test.bEnglish);
            CBoxWatch watch(session);
            const HWND hQuestion = run.StartAndCancel(main, watch, target);
            ASSERT_NE(nullptr, hQuestion) << "no cancel question" << session.Diagnose();
            ASSERT_TRUE(run.ConfirmAndWaitForStart(main, watch, hQuestion)) << session.Diagnose();

            EXPECT_EQ(std::vector<std::string>{CancelQuestion(test.bEnglish)}, watch.Texts());
            ExpectStartPageWithoutInstallation(main, test.bEnglish);
            EXPECT_FALSE(FileExists(target.InstallDir()));
            EXPECT_EQ(bParentExisted, FileExists(target.InstallParent()));
            EXPECT_FALSE(FileExists(target.MenuPath()));
            EXPECT_TRUE(RecordValues().empty());

            // The same process installs again, from the same medium into the same folders.
            InstallThroughWizard(session, main, test.bEnglish, target);
            if (HasFatalFailure())
                return;
            EXPECT_EQ(Text(test.bEnglish, "Deinstall", "Deinstallieren"), main.GetText(IDC_INSTALL));
            EXPECT_TRUE(main.IsEnabled(IDC_PLAY));
            ExpectCompleteInstallation(test.bEnglish, target, test.eStep == EStep::LanguageFiles);
            EXPECT_EQ("", session.Diagnose());
        }
    }
}

TEST(InstallCancelTest, NoLetsTheInstallationFinish)
{
    for (const SCancelCase& test : s_aCases)
    {
        SCOPED_TRACE(test.pszName);
        CInstallTarget target;
        CCancelledRun run(test);
        CSetupSession& session = run.Session();
        CWindowDriver main = session.StartInLanguage(test.bEnglish);
        CBoxWatch watch(session);
        const HWND hQuestion = run.StartAndCancel(main, watch, target);
        ASSERT_NE(nullptr, hQuestion) << "no cancel question" << session.Diagnose();
        AnswerMessageBox(hQuestion, IDNO);

        const HWND hSuccess = watch.WaitForBox(SuccessMessage(test.bEnglish));
        ASSERT_NE(nullptr, hSuccess) << "no success message" << session.Diagnose();
        AnswerMessageBox(hSuccess, IDOK);
        ASSERT_TRUE(watch.WaitUntil([&] { return !IsWindow(hSuccess) && PageOf(main) == 0; })) << session.Diagnose();
        watch.Watch(500);
        Settle(main);

        const std::vector<std::string> expectedBoxes = {CancelQuestion(test.bEnglish), SuccessMessage(test.bEnglish)};
        EXPECT_EQ(expectedBoxes, watch.Texts());
        EXPECT_EQ(Text(test.bEnglish, "Deinstall", "Deinstallieren"), main.GetText(IDC_INSTALL));
        EXPECT_TRUE(main.IsEnabled(IDC_PLAY));
        EXPECT_EQ(Text(test.bEnglish, "Quit", "Beenden"), main.GetText(IDCANCEL));
        ExpectCompleteInstallation(test.bEnglish, target, test.eStep == EStep::LanguageFiles);
    }
}

// The install folder was there before with a file of the user's: a confirmed cancel takes away
// what the run added to it, and the folder and that file stay as they were.
TEST(InstallCancelTest, YesKeepsAFolderThatExistedAndTheUsersFileInIt)
{
    const std::string strUserContent = "level 7, 1200 points\r\n";
    for (const SCancelCase& test : s_aCases)
    {
        SCOPED_TRACE(test.pszName);
        CInstallTarget target;
        ASSERT_TRUE(CreateDirectoryA(target.InstallParent().c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(target.InstallDir().c_str(), nullptr));
        WriteTextFile(target.InstallDir() + "\\savegame.sav", strUserContent);

        CCancelledRun run(test);
        CSetupSession& session = run.Session();
        CWindowDriver main = session.StartInLanguage(test.bEnglish);
        CBoxWatch watch(session);
        const HWND hQuestion = run.StartAndCancel(main, watch, target);
        ASSERT_NE(nullptr, hQuestion) << "no cancel question" << session.Diagnose();
        ASSERT_TRUE(run.ConfirmAndWaitForStart(main, watch, hQuestion)) << session.Diagnose();

        EXPECT_EQ(std::vector<std::string>{CancelQuestion(test.bEnglish)}, watch.Texts());
        ExpectStartPageWithoutInstallation(main, test.bEnglish);
        EXPECT_EQ(std::vector<std::string>{"savegame.sav"}, FilesBelow(target.InstallDir()));
        EXPECT_EQ(strUserContent, ReadFileBytes(target.InstallDir() + "\\savegame.sav"));
        EXPECT_EQ(std::vector<std::string>{}, FoldersBelow(target.InstallDir()));
        EXPECT_FALSE(FileExists(target.MenuPath()));
        EXPECT_TRUE(RecordValues().empty());
    }
}
