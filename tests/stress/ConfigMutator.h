// Damaged setup configurations (setup_en.ini / setup_ger.ini, three "label:value" lines) and
// licence files (eula_en.txt / eula.txt) for the campaign.
#pragma once

#include <string>

#include "Random.h"

enum class EFileForm
{
    Content,  // the file holds strContent
    Missing,  // the file is deleted
    Folder,   // a folder stands where the file was
    Locked,   // the file stays as it was, opened without sharing while the program runs
};

struct SConfigDamage
{
    std::string strWhat;
    EFileForm eForm = EFileForm::Content;
    std::string strContent;
};

// strOriginal is the medium's own file; the damage is chosen by random alone.
SConfigDamage DamageSetupIni(const std::string& strOriginal, CRandom& random);
SConfigDamage DamageLicence(const std::string& strOriginal, CRandom& random);
