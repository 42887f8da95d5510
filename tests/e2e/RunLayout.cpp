// Each CTest run of these tests names the keyboard layout it is meant to have (ZANTO_LAYOUT, set
// with the locale that makes Wine choose it). A host that gives another layout would repeat another
// run's checks under this run's name, so no test runs then.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace
{
class CRunLayout : public testing::Environment
{
public:
    void SetUp() override
    {
        const char* pszWanted = std::getenv("ZANTO_LAYOUT");
        if (pszWanted == nullptr)
            return;
        char szName[KL_NAMELENGTH] = {};
        ASSERT_TRUE(GetKeyboardLayoutNameA(szName)) << "the keyboard layout of this run cannot be read";
        ASSERT_TRUE(_stricmp(szName, pszWanted) == 0)
            << "this run is meant for the keyboard layout " << pszWanted << " but Wine gives " << szName
            << ": Wine takes the layout from LC_ALL (now \"" << (std::getenv("LC_ALL") ? std::getenv("LC_ALL") : "")
            << "\"); check that this Wine maps that locale to the layout, and that nothing else sets the layout";
    }
};

testing::Environment* const g_pRunLayout = testing::AddGlobalTestEnvironment(new CRunLayout);
}
