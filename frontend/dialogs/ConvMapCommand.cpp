#include "ConvMapCommand.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

bool IsCSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

// The characters of the leading decimal number: sign, digits with at most one
// '.', and an exponent only when digits follow it. Empty when there is no digit.
std::string LeadingDecimalNumber(const char* text)
{
    const char* p = text;
    while (IsCSpace(*p))
        ++p;
    std::string number;
    if (*p == '+' || *p == '-')
        number += *p++;
    bool anyDigit = false;
    while (IsDigit(*p)) {
        number += *p++;
        anyDigit = true;
    }
    if (*p == '.') {
        number += *p++;
        while (IsDigit(*p)) {
            number += *p++;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return std::string();
    if (*p == 'e' || *p == 'E') {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-')
            ++exponent;
        if (IsDigit(*exponent)) {
            number.append(p, exponent);
            for (p = exponent; IsDigit(*p); ++p)
                number += *p;
        }
    }
    return number;
}

char LocaleDecimalPoint()
{
    const std::lconv* conventions = std::localeconv();
    if (conventions && conventions->decimal_point && conventions->decimal_point[0] != '\0')
        return conventions->decimal_point[0];
    return '.';
}

} // namespace

double ParseScale(const CString& text)
{
    std::string number = LeadingDecimalNumber(text.GetString());
    if (number.empty())
        return 0.0;
    // strtod reads the locale's decimal mark; hand it the one it expects.
    const char point = LocaleDecimalPoint();
    for (char& ch : number) {
        if (ch == '.')
            ch = point;
    }
    return std::strtod(number.c_str(), nullptr);
}

CString FormatScale(double value)
{
    CString text;
    text.Format("%f", value);
    const char point = LocaleDecimalPoint();
    std::string result = text.str();
    if (point != '.') {
        for (char& ch : result) {
            if (ch == point)
                ch = '.';
        }
    }
    return CString(result);
}

CString BuildConvMapCommandLine(const ConvMapOptions& options)
{
    CString arguments;
    arguments += " ";
    arguments += options.strWad;
    arguments += " ";
    arguments += options.strLevel;

    if (options.bNoWall)
        arguments += " -nowall";
    if (options.bNoCeil)
        arguments += " -noceil";
    if (options.bNoFloor)
        arguments += " -nofloor";
    if (options.bNoMove)
        arguments += " -nomove";
    if (options.bNoEnt)
        arguments += " -noent";
    if (options.bBound)
        arguments += " -bound";
    if (options.bDirect)
        arguments += " -direct";

    if (!options.strScale.IsEmpty()) {
        arguments += " -scale ";
        arguments += FormatScale(ParseScale(options.strScale));
    }

    if (options.bTexDoom1)
        arguments += " -doom";
    if (options.bTexDoom2)
        arguments += " -doom2";
    if (options.bTexTnt)
        arguments += " -tnt";
    if (options.bTexPlutonia)
        arguments += " -plutonia";
    if (options.bTexCustom)
        arguments += " -custom";

    CString commandLine;
    commandLine.Format("ZarO3.exe %s", arguments.GetString());
    return commandLine;
}

TextureSource ChooseTextureSource(const CString& wadName)
{
    if (wadName.CompareNoCase("doom.wad") == 0 || wadName.CompareNoCase("doom1.wad") == 0)
        return TextureSource::Doom1;
    if (wadName.CompareNoCase("doom2.wad") == 0)
        return TextureSource::Doom2;
    if (wadName.CompareNoCase("tnt.wad") == 0)
        return TextureSource::Tnt;
    if (wadName.CompareNoCase("plutonia.wad") == 0)
        return TextureSource::Plutonia;
    return TextureSource::None;
}
