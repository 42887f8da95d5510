#include "ConfigMutator.h"

#include <vector>

namespace
{
std::vector<std::string> SplitLines(const std::string& strText)
{
    std::vector<std::string> lines;
    std::string strLine;
    for (const char ch : strText)
    {
        if (ch == '\n')
        {
            if (!strLine.empty() && strLine.back() == '\r')
                strLine.pop_back();
            lines.push_back(strLine);
            strLine.clear();
        }
        else
            strLine += ch;
    }
    if (!strLine.empty())
        lines.push_back(strLine);
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, const std::string& strBreak, bool bFinalBreak = true)
{
    std::string strText;
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        strText += lines[i];
        if (i + 1 < lines.size() || bFinalBreak)
            strText += strBreak;
    }
    return strText;
}

std::string ToUtf16(const std::string& strText)
{
    std::string strWide = "\xFF\xFE";
    for (const char ch : strText)
    {
        strWide += ch;
        strWide += '\0';
    }
    return strWide;
}

std::string Label(const std::string& strLine)
{
    const std::size_t nColon = strLine.find(':');
    return nColon == std::string::npos ? strLine : strLine.substr(0, nColon + 1);
}

// A few bytes flipped, put in or taken out.
std::string ByteDamage(std::string strText, CRandom& random, std::string& strWhat)
{
    const unsigned nEdits = static_cast<unsigned>(random.Between(1, 8));
    strWhat = std::to_string(nEdits) + " byte edit(s):";
    for (unsigned i = 0; i < nEdits; ++i)
    {
        const std::size_t nAt = random.Below(strText.size() + 1);
        switch (random.Below(3))
        {
        case 0:
            if (nAt < strText.size())
            {
                strText[nAt] = static_cast<char>(strText[nAt] ^ (1 << random.Below(8)));
                strWhat += " flip@" + std::to_string(nAt);
                break;
            }
            [[fallthrough]]; // nothing there to flip: a byte is put in instead
        case 1:
            strText.insert(nAt, 1, static_cast<char>(random.Byte()));
            strWhat += " insert@" + std::to_string(nAt);
            break;
        default:
            if (nAt < strText.size())
                strText.erase(nAt, 1);
            strWhat += " delete@" + std::to_string(nAt);
            break;
        }
    }
    return strText;
}

// The first cases of every file's damage: the file missing, a folder in its place, locked, empty.
constexpr unsigned kFileForms = 4;

SConfigDamage FileFormDamage(unsigned nCase)
{
    static const EFileForm s_aForms[kFileForms] = {EFileForm::Missing, EFileForm::Folder, EFileForm::Locked,
                                                   EFileForm::Content};
    static const char* const s_apszWhat[kFileForms] = {"missing", "a folder", "locked", "empty"};
    SConfigDamage damage;
    damage.eForm = s_aForms[nCase];
    damage.strWhat = s_apszWhat[nCase];
    return damage;
}

const std::vector<std::string>& OddCounts()
{
    static const std::vector<std::string> s_counts = {
        "-1", "0", "1", "4294967295", "4294967296", "99999999999999999999", "18446744073709551616", "0x7fffffff",
        "1e9", " 12", "+5", "12abc", "abc", "-0", "2147483648", "-2147483649", "", "\t\t7", "1048575", "1048576",
        "3145728", "%d%n",
    };
    return s_counts;
}

const std::vector<std::string>& OddFolders()
{
    static const std::vector<std::string> s_folders = {
        "..\\..\\..\\zanto-cfg", "C:\\Windows", "\\\\server\\share", "CON", "", std::string(300, 'f'),
        "*?<>|", "%s%n%s%x", "Zanto\\..\\..", "Zan\tto", "Z\xE4nto \xDF", ".", "..", "Zanto\\", "/",
        std::string(5000, 'g'), "Zanto\\sub\\deeper", " Zanto ", "NUL.txt",
    };
    return s_folders;
}
}

SConfigDamage DamageSetupIni(const std::string& strOriginal, CRandom& random)
{
    SConfigDamage damage;
    std::vector<std::string> lines = SplitLines(strOriginal);
    while (lines.size() < 3)
        lines.push_back("");
    const unsigned nCase = static_cast<unsigned>(random.Below(24));
    if (nCase < kFileForms)
        return FileFormDamage(nCase);
    switch (nCase)
    {
    case 4:
    {
        const std::size_t nKeep = random.Below(3);
        lines.resize(nKeep);
        damage.strContent = JoinLines(lines, "\r\n", random.Chance(50));
        damage.strWhat = "only " + std::to_string(nKeep) + " line(s)";
        return damage;
    }
    case 5:
        std::swap(lines[random.Below(3)], lines[random.Below(3)]);
        std::swap(lines[0], lines[2]);
        damage.strWhat = "lines in another order";
        break;
    case 6:
    {
        const std::size_t nLine = random.Below(3);
        std::string& strLine = lines[nLine];
        const std::size_t nColon = strLine.find(':');
        if (nColon != std::string::npos)
            strLine.erase(nColon, 1);
        damage.strWhat = "line " + std::to_string(nLine + 1) + " without colon";
        break;
    }
    case 7:
        lines[random.Below(3)] += ":more:and:more";
        damage.strWhat = "several colons";
        break;
    case 8:
        for (std::string& strLine : lines)
            if (random.Chance(70))
                strLine = Label(strLine);
        damage.strWhat = "empty values";
        break;
    case 9:
        for (std::string& strLine : lines)
        {
            const std::string strLabel = Label(strLine);
            strLine = " \t" + strLabel + " \t" + strLine.substr(strLabel.size()) + " \t ";
        }
        damage.strWhat = "blanks around labels and values";
        break;
    case 10:
    {
        static const std::vector<std::string> s_breaks = {"\r", "\n", "\n\r", "\r\r\n", "\r\n\r\n"};
        const std::string& strBreak = random.Pick(s_breaks);
        damage.strContent = JoinLines(lines, strBreak, random.Chance(50));
        damage.strWhat = "line breaks of " + std::to_string(strBreak.size()) + " byte(s)";
        return damage;
    }
    case 11:
    {
        std::string strText = JoinLines(lines, "\r\n");
        const std::size_t nAt = random.Below(strText.size() + 1);
        strText.insert(nAt, 1, '\x1A');
        damage.strContent = strText;
        damage.strWhat = "Ctrl+Z at " + std::to_string(nAt);
        return damage;
    }
    case 12:
    {
        std::string strText = JoinLines(lines, "\r\n");
        const std::size_t nAt = random.Below(strText.size() + 1);
        strText.insert(nAt, std::string(static_cast<std::size_t>(random.Between(1, 4)), '\0'));
        damage.strContent = strText;
        damage.strWhat = "NUL bytes at " + std::to_string(nAt);
        return damage;
    }
    case 13:
        damage.strContent = "\xEF\xBB\xBF" + JoinLines(lines, "\r\n");
        damage.strWhat = "UTF-8 byte order mark";
        return damage;
    case 14:
        damage.strContent = ToUtf16(JoinLines(lines, "\r\n"));
        damage.strWhat = "UTF-16";
        return damage;
    case 15:
    {
        const std::size_t nLength = static_cast<std::size_t>(random.Between(1000, 1000000));
        const std::size_t nLine = random.Below(3);
        lines[nLine] = Label(lines[nLine]) + std::string(nLength, static_cast<char>('0' + random.Below(10)));
        damage.strWhat = "line " + std::to_string(nLine + 1) + " of " + std::to_string(nLength) + " characters";
        break;
    }
    case 16:
        damage.strContent = random.Bytes(static_cast<std::size_t>(random.Between(1, 4096)));
        damage.strWhat = "random bytes (" + std::to_string(damage.strContent.size()) + ")";
        return damage;
    case 17:
    case 18:
    {
        const std::string& strSize = random.Pick(OddCounts());
        const std::string& strExtra = random.Pick(OddCounts());
        lines[1] = Label(lines[1]) + strSize;
        lines[2] = Label(lines[2]) + strExtra;
        damage.strWhat = "sizes \"" + strSize + "\" and \"" + strExtra + "\"";
        break;
    }
    case 19:
    case 20:
    {
        const std::string& strFolder = random.Pick(OddFolders());
        lines[0] = Label(lines[0]) + strFolder;
        damage.strWhat = "folder \"" + strFolder.substr(0, 40) + "\" (" + std::to_string(strFolder.size()) + ")";
        break;
    }
    case 21:
    {
        std::string strWhat;
        damage.strContent = ByteDamage(JoinLines(lines, "\r\n"), random, strWhat);
        damage.strWhat = strWhat;
        return damage;
    }
    case 22:
        for (unsigned i = 0; i < 2000; ++i)
            lines.push_back("Extra" + std::to_string(i) + ":" + std::to_string(i));
        damage.strWhat = "2000 more lines";
        break;
    default:
        for (std::string& strLine : lines)
            strLine = "    " + strLine;
        damage.strWhat = "indented lines";
        break;
    }
    damage.strContent = JoinLines(lines, "\r\n");
    return damage;
}

SConfigDamage DamageLicence(const std::string& strOriginal, CRandom& random)
{
    SConfigDamage damage;
    const unsigned nCase = static_cast<unsigned>(random.Below(18));
    if (nCase < kFileForms)
        return FileFormDamage(nCase);
    switch (nCase)
    {
    case 4:
    {
        const unsigned nCopies = static_cast<unsigned>(random.Between(100, 3000));
        for (unsigned i = 0; i < nCopies; ++i)
            damage.strContent += strOriginal;
        damage.strWhat = std::to_string(damage.strContent.size()) + " bytes of text";
        return damage;
    }
    case 5:
    {
        const std::size_t nLength = static_cast<std::size_t>(random.Between(30000, 1000000));
        damage.strContent = std::string(nLength, 'w');
        damage.strWhat = "one line of " + std::to_string(nLength) + " characters, no break";
        return damage;
    }
    case 6:
        damage.strContent = random.Bytes(static_cast<std::size_t>(random.Between(1, 65536)));
        damage.strWhat = "random bytes (" + std::to_string(damage.strContent.size()) + ")";
        return damage;
    case 7:
    {
        damage.strContent = strOriginal;
        const unsigned nCount = static_cast<unsigned>(random.Between(1, 10));
        for (unsigned i = 0; i < nCount; ++i)
            damage.strContent.insert(random.Below(damage.strContent.size() + 1), 1, '\0');
        damage.strWhat = std::to_string(nCount) + " NUL bytes";
        return damage;
    }
    case 8:
    {
        damage.strContent = strOriginal;
        const std::size_t nAt = random.Chance(30) ? 0 : random.Below(strOriginal.size() + 1);
        damage.strContent.insert(nAt, 1, '\x1A');
        damage.strWhat = "Ctrl+Z at " + std::to_string(nAt);
        return damage;
    }
    case 9:
        damage.strContent = "\xEF\xBB\xBF" + strOriginal;
        damage.strWhat = "UTF-8 byte order mark";
        return damage;
    case 10:
        damage.strContent = ToUtf16(strOriginal);
        damage.strWhat = "UTF-16";
        return damage;
    case 11:
    {
        const bool bCarriage = random.Chance(50);
        damage.strContent = JoinLines(SplitLines(strOriginal), bCarriage ? "\r" : "\n");
        damage.strWhat = bCarriage ? "CR line breaks" : "LF line breaks";
        return damage;
    }
    case 12:
    {
        const std::size_t nLines = static_cast<std::size_t>(random.Between(10000, 200000));
        damage.strContent = std::string(nLines * 2, '\n');
        for (std::size_t i = 0; i < nLines; ++i)
            damage.strContent[2 * i] = '\r';
        damage.strWhat = std::to_string(nLines) + " empty lines";
        return damage;
    }
    case 13:
        damage.strContent = "%s%s%s%n%n%p%x\r\n%1 %2 %%\r\n" + strOriginal + "&&&\t\\\\\r\n";
        damage.strWhat = "format and escape characters";
        return damage;
    case 14:
    {
        std::string strWhat;
        damage.strContent = ByteDamage(strOriginal, random, strWhat);
        damage.strWhat = strWhat;
        return damage;
    }
    case 15:
    {
        for (int n = 1; n < 256; ++n)
            if (n != 0x1A)
                damage.strContent += static_cast<char>(n);
        damage.strWhat = "every byte value";
        return damage;
    }
    case 16:
    {
        const unsigned nLines = static_cast<unsigned>(random.Between(2, 40));
        for (unsigned i = 0; i < nLines; ++i)
            damage.strContent += std::string(70000, static_cast<char>('a' + i % 26)) + "\r\n";
        damage.strWhat = std::to_string(nLines) + " lines of 70000 characters";
        return damage;
    }
    default:
        damage.strContent = strOriginal.substr(0, random.Below(strOriginal.size() + 1));
        damage.strWhat = "cut to " + std::to_string(damage.strContent.size()) + " bytes";
        return damage;
    }
}
