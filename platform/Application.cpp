#include "Application.h"

#include <commctrl.h>

#include "Dialog.h"

CApplication* CApplication::s_pInstance = nullptr;

CApplication::CApplication()
{
    s_pInstance = this;
}

CApplication::~CApplication()
{
    s_pInstance = nullptr;
}

void EnableDialogEnvironment()
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
}

std::string ModuleFilePath()
{
    std::string strPath(MAX_PATH, '\0');
    for (;;)
    {
        const DWORD nLength = GetModuleFileNameA(nullptr, &strPath[0], static_cast<DWORD>(strPath.size()));
        if (nLength < strPath.size())
        {
            strPath.resize(nLength);
            return strPath;
        }
        strPath.resize(strPath.size() * 2);
    }
}

const std::string& AppTitle()
{
    static const std::string strTitle = [] {
        std::string strName = ModuleFilePath();
        const size_t nSlash = strName.find_last_of("\\/");
        if (nSlash != std::string::npos)
            strName.erase(0, nSlash + 1);
        const size_t nDot = strName.rfind('.');
        if (nDot != std::string::npos)
            strName.erase(nDot);
        return strName;
    }();
    return strTitle;
}

HWND AppMainWindow()
{
    const CApplication* pApp = CApplication::Instance();
    if (pApp == nullptr || pApp->m_pMainWnd == nullptr)
        return nullptr;
    return pApp->m_pMainWnd->GetSafeHwnd();
}
