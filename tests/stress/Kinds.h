// The kinds of cases of the campaign and how each case of a kind is made and run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CaseRun.h"

struct SCampaignOptions
{
    std::uint64_t nSeed = 1;
    DWORD dwCaseLimitMs = 240000;
    // The drive letter of a test volume for the disk cases (4 MiB or more gives every fill
    // point); empty leaves the disk cases out.
    std::string strDrive;
};

struct SKind
{
    const char* pszName;
    const char* pszTitle; // for the report
    unsigned nFullCount;  // cases of a full campaign
    std::vector<unsigned> slice; // the case numbers of the CI slice
    std::function<void(SCaseResult&, const SCampaignOptions&)> fnRun;
};

const std::vector<SKind>& CampaignKinds();

// The kinds that prove the promises about the user's files, each in a file of its own.
void RunUsersFolderCase(SCaseResult& result, const SCampaignOptions& options);
void RunEndedCase(SCaseResult& result, const SCampaignOptions& options);
void RunDamagedRecordCase(SCaseResult& result, const SCampaignOptions& options);
void RunTypedFolderCase(SCaseResult& result, const SCampaignOptions& options);
void RunPlantedCase(SCaseResult& result, const SCampaignOptions& options);
// The silent variants, through ZantoSetup.exe /VERYSILENT and uninstall.exe /SILENT.
void RunSilentCabinetCase(SCaseResult& result, const SCampaignOptions& options);
void RunSilentDiskCase(SCaseResult& result, const SCampaignOptions& options);
void RunSilentReadOnlyCase(SCaseResult& result, const SCampaignOptions& options);
