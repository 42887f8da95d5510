// wizard_walk MEDIUM OUTPUT [en|de]: runs ZantoSetup.exe in the medium folder and walks its wizard,
// in English and then in German unless one language is named, saving a BMP of every step in
// OUTPUT. Exits with 1 and the reason when a step does not come.
#include <cstdio>
#include <string>
#include <vector>

#include "DriverError.h"
#include "WizardWalk.h"

int main(int argc, char* argv[])
{
    const std::string strLanguage = argc == 4 ? argv[3] : "";
    if ((argc != 3 && argc != 4) || (argc == 4 && strLanguage != "en" && strLanguage != "de"))
    {
        std::fprintf(stderr, "usage: wizard_walk MEDIUM_FOLDER OUTPUT_FOLDER [en|de]\n");
        return 2;
    }
    std::vector<bool> vecEnglish;
    if (strLanguage != "de")
        vecEnglish.push_back(true);
    if (strLanguage != "en")
        vecEnglish.push_back(false);

    for (const bool bEnglish : vecEnglish)
    {
        try
        {
            CWizardWalk(argv[1], argv[2], bEnglish).Run();
        }
        catch (const CDriverError& error)
        {
            std::fprintf(stderr, "wizard_walk: the %s walk failed: %s\n", bEnglish ? "English" : "German",
                         error.what());
            return 1;
        }
    }
    return 0;
}
