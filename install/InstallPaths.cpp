#include "InstallPaths.h"

#include <cctype>
#include <cstring>

namespace
{
bool IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices in every folder, with any extension.
bool IsDeviceName(const std::string& strComponent)
{
    std::string strBase = strComponent.substr(0, strComponent.find('.'));
    while (!strBase.empty() && strBase.back() == ' ')
        strBase.pop_back();
    for (char& ch : strBase)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (strBase == "CON" || strBase == "PRN" || strBase == "AUX" || strBase == "NUL")
        return true;
    return strBase.size() == 4 && (strBase.compare(0, 3, "COM") == 0 || strBase.compare(0, 3, "LPT") == 0) &&
           strBase[3] >= '1' && strBase[3] <= '9';
}

bool IsSafeComponent(const std::string& strComponent)
{
    if (strComponent.empty() || strComponent == "." || strComponent == "..")
        return false;
    // Windows drops trailing dots and blanks, so "..." or ".. " would name the parent as well.
    if (strComponent.back() == '.' || strComponent.back() == ' ')
        return false;
    for (const char ch : strComponent)
        if (static_cast<unsigned char>(ch) < 0x20 || std::strchr(":*?\"<>|", ch) != nullptr)
            return false;
    return !IsDeviceName(strComponent);
}
}

bool IsSafeMemberName(const std::string& strName)
{
    size_t nStart = 0;
    for (;;)
    {
        size_t nEnd = nStart;
        while (nEnd < strName.size() && !IsSeparator(strName[nEnd]))
            ++nEnd;
        if (!IsSafeComponent(strName.substr(nStart, nEnd - nStart)))
            return false;
        if (nEnd == strName.size())
            return true;
        nStart = nEnd + 1;
    }
}

bool IsSafeMenuFolder(const std::string& strMenuFolder)
{
    size_t nStart = 0;
    size_t nEnd = strMenuFolder.size();
    if (nEnd > nStart && strMenuFolder[nStart] == '\\')
        ++nStart;
    if (nEnd > nStart && strMenuFolder[nEnd - 1] == '\\')
        --nEnd;
    return nStart == nEnd || IsSafeMemberName(strMenuFolder.substr(nStart, nEnd - nStart));
}

std::string InstallFolderForm(const std::string& strFolder)
{
    std::string strForm = strFolder;
    for (char& ch : strForm)
        if (ch == '/')
            ch = '\\';
    if (strForm.size() > 3 && strForm[1] == ':' && strForm[2] == '\\' && strForm[3] == '\\')
        strForm.erase(3, 1);
    if (strForm.size() > 3 && strForm.back() == '\\')
        strForm.pop_back();
    return strForm;
}

bool IsFullLocalPath(const std::string& strFolder)
{
    const std::string strForm = InstallFolderForm(strFolder);
    const unsigned char chDrive = static_cast<unsigned char>(strForm.empty() ? 0 : strForm[0]);
    const bool bDrive = ((chDrive >= 'A' && chDrive <= 'Z') || (chDrive >= 'a' && chDrive <= 'z'));
    return strForm.size() > 3 && bDrive && strForm[1] == ':' && strForm[2] == '\\' &&
           IsSafeMemberName(strForm.substr(3));
}

std::string TreeDestinationFolder(const std::string& strInstallDir, const std::string& strTreeFolder)
{
    const size_t nTop = strTreeFolder.find('\\');
    return nTop == std::string::npos ? strInstallDir : strInstallDir + strTreeFolder.substr(nTop);
}
