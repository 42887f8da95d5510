#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "CabinetWriter.h"
#include "InstallRun.h"
#include "Polling.h"
#include "SetupSession.h"
#include "WizardPages.h"
#include "resource.h"

namespace
{
const char* const kCabinetFailed = "Error while extracting the cab-file !!\nAborting installation !";

std::string ParentOf(const std::string& strPath)
{
    return strPath.substr(0, strPath.find_last_of('\\'));
}

// Installs from a medium whose cabinet is replaced, expects the extraction to fail and the
// clean-up to leave nothing of the run.
void ExpectCabinetRefused(const std::vector<SCabMember>& members, const SCabOptions& options,
                          const std::vector<std::string>& escapes)
{
    CSetupSession session;
    CInstallTarget target;
    ASSERT_TRUE(WriteCabinet(session.MediumFile("data.cab"), members, options));
    const std::vector<std::string> mediumBefore = FilesBelow(session.MediumPath());
    CWindowDriver main = session.StartInLanguage(true);
    ASSERT_TRUE(StartInstallation(main, target.InstallDir(), target.MenuFolder())) << session.Diagnose();
    AnswerBox(session, kCabinetFailed, IDOK);
    if (testing::Test::HasFatalFailure())
        return;
    ASSERT_TRUE(WaitForEndOfFailedInstallation(main)) << session.Diagnose();
    EXPECT_EQ("Install", main.GetText(IDC_INSTALL));
    EXPECT_FALSE(FileExists(target.InstallDir())) << testing::PrintToString(FilesBelow(target.InstallDir()));
    EXPECT_TRUE(FilesBelow(ParentOf(target.InstallDir())).empty());
    for (const std::string& strEscape : escapes)
        EXPECT_FALSE(FileExists(strEscape)) << strEscape;
    EXPECT_EQ(mediumBefore, FilesBelow(session.MediumPath()));
    EXPECT_TRUE(RecordValues().empty());
    EXPECT_EQ("", session.Diagnose());
}
}

// A member name that would leave the install folder ends the extraction before it is written.
TEST(HostileCabinetTest, NamesThatLeaveTheInstallFolderFailTheExtraction)
{
    char szWindows[MAX_PATH];
    GetWindowsDirectoryA(szWindows, MAX_PATH);
    struct SHostile
    {
        std::string strName;
        std::vector<std::string> escapes;
    };
    // Where the file would have landed, relative to the parent of the install folder.
    const CInstallTarget probe;
    const std::string strParent = ParentOf(probe.InstallDir());
    const std::string strGrandParent = ParentOf(strParent);
    const SHostile aHostile[] = {
        {"..\\evil.txt", {strParent + "\\evil.txt"}},
        {"data\\..\\..\\..\\evil.txt", {strGrandParent + "\\evil.txt"}},
        {"data/../../evil.txt", {strParent + "\\evil.txt"}},
        {"\\abs.txt", {"C:\\abs.txt"}},
        {std::string(szWindows) + "\\evil.dll", {std::string(szWindows) + "\\evil.dll"}},
        {"C:evil.txt", {"C:\\evil.txt"}},
        {"CON", {}},
        {"data\\NUL.txt", {}},
        {"data\\" + std::string(300, 'n') + ".dat", {}},
    };
    for (const SHostile& hostile : aHostile)
    {
        SCOPED_TRACE(hostile.strName);
        ExpectCabinetRefused({{"first.txt", "fine"}, {hostile.strName, "evil"}, {"last.txt", "fine"}}, {},
                             hostile.escapes);
        if (HasFatalFailure())
            return;
    }
}

// A cabinet that continues in another one, or that promises more than it holds, fails cleanly.
TEST(HostileCabinetTest, ContinuedAndOverstatedCabinetsFailTheExtraction)
{
    SCabOptions continued;
    continued.bContinued = true;
    {
        SCOPED_TRACE("continued");
        ExpectCabinetRefused({{"a.txt", "fine"}, {"big.dat", std::string(70000, 'b')}}, continued, {});
    }
    {
        SCOPED_TRACE("huge declared size");
        ExpectCabinetRefused({{"a.txt", "fine"}, {"huge.dat", "ten bytes!", 0xFFFFFFF0u}}, {}, {});
    }
    {
        SCOPED_TRACE("truncated");
        SCabOptions truncated;
        truncated.nTruncateTo = 40000;
        ExpectCabinetRefused({{"a.txt", std::string(30000, 'a')}, {"b.txt", std::string(40000, 'b')}}, truncated, {});
    }
}
