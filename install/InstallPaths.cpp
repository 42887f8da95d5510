#include "InstallPaths.h"

#include <algorithm>
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

bool IsFullLocalPath(const std::string& strFolder)
{
    const char chDrive = static_cast<char>(strFolder.empty() ? 0 : strFolder[0] | 0x20);
    if (strFolder.size() < 4 || chDrive < 'a' || chDrive > 'z' || strFolder[1] != ':' || !IsSeparator(strFolder[2]))
        return false;
    // A run of separators counts as one, as in the picker's "C:\\\\Zanto" after a drive root.
    bool bName = false;
    size_t nStart = 3;
    while (nStart < strFolder.size())
    {
        size_t nEnd = nStart;
        while (nEnd < strFolder.size() && !IsSeparator(strFolder[nEnd]))
            ++nEnd;
        if (nEnd > nStart)
        {
            if (!IsSafeComponent(strFolder.substr(nStart, nEnd - nStart)))
                return false;
            bName = true;
        }
        nStart = nEnd + 1;
    }
    return bName;
}

std::string WithBackslashes(const std::string& strPath)
{
    std::string strForm = strPath;
    std::replace(strForm.begin(), strForm.end(), '/', '\\');
    return strForm;
}

std::string InstallFolderForm(const std::string& strFolder)
{
    const std::string strForm = WithBackslashes(strFolder);
    if (!IsFullLocalPath(strForm))
        return strForm;
    std::string strSingle;
    for (const char ch : strForm)
        if (ch != '\\' || strSingle.back() != '\\')
            strSingle += ch;
    if (strSingle.back() == '\\')
        strSingle.pop_back();
    return strSingle;
}

std::string TreeDestinationFolder(const std::string& strInstallDir, const std::string& strTreeFolder)
{
    const size_t nTop = strTreeFolder.find('\\');
    return nTop == std::string::npos ? strInstallDir : strInstallDir + strTreeFolder.substr(nTop);
}
