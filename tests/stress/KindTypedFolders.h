// The campaign's kind "typed-folder": install folders typed on the folder page, and product folder
// names of the configuration that go into the preset folders.
#pragma once

#include "Kinds.h"

// The number of cases of a full run: each folder once in English and once in German.
unsigned TypedFolderCaseCount();

void RunTypedFolderCase(SCaseResult& result, const SCampaignOptions& options);
