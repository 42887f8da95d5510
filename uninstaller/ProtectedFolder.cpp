#include "ProtectedFolder.h"

#include <windows.h>
#include <ntsecapi.h>
#include <sddl.h>

namespace
{
constexpr size_t kRandomBytes = 8;
constexpr int kNameAttempts = 10;

// The security descriptor of kProtectedFolderSddl, freed with the holder.
class CFolderSecurity
{
public:
    CFolderSecurity()
    {
        ConvertStringSecurityDescriptorToSecurityDescriptorA(kProtectedFolderSddl, SDDL_REVISION_1, &m_pDescriptor,
                                                             nullptr);
    }
    ~CFolderSecurity()
    {
        if (m_pDescriptor != nullptr)
            LocalFree(m_pDescriptor);
    }
    CFolderSecurity(const CFolderSecurity&) = delete;
    CFolderSecurity& operator=(const CFolderSecurity&) = delete;

    PSECURITY_DESCRIPTOR Get() const { return m_pDescriptor; }

private:
    PSECURITY_DESCRIPTOR m_pDescriptor = nullptr;
};
}

std::string ProtectedFolderName(const unsigned char* pbRandom, size_t nBytes)
{
    static const char s_szDigits[] = "0123456789abcdef";
    std::string strName = "ZantoUninstall-";
    for (size_t nByte = 0; nByte < nBytes; ++nByte)
    {
        strName += s_szDigits[pbRandom[nByte] >> 4];
        strName += s_szDigits[pbRandom[nByte] & 0x0F];
    }
    return strName;
}

std::string MakeProtectedFolder(const std::string& strParent)
{
    CFolderSecurity security;
    if (security.Get() == nullptr)
        return std::string();
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), security.Get(), FALSE};
    for (int nAttempt = 0; nAttempt < kNameAttempts; ++nAttempt)
    {
        unsigned char abRandom[kRandomBytes];
        if (!RtlGenRandom(abRandom, sizeof(abRandom)))
            return std::string();
        // A new folder only: one that somebody made under the same name beforehand is theirs.
        const std::string strFolder = strParent + ProtectedFolderName(abRandom, sizeof(abRandom));
        if (CreateDirectoryA(strFolder.c_str(), &attributes))
            return strFolder + "\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return std::string();
    }
    return std::string();
}
