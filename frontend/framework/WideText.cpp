#include "WideText.h"

CString NarrowFromWide(const wchar_t* text, int length, UINT codePage)
{
    if (!text || length == 0)
        return CString();
    const int size = ::WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return CString();
    std::string narrow(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, 0, text, length, &narrow[0], size, nullptr, nullptr);
    if (length < 0)
        narrow.resize(static_cast<size_t>(size) - 1);  // the converted NUL
    return CString(narrow);
}

std::wstring WideFromNarrow(const char* text, UINT codePage)
{
    if (!text || !*text)
        return std::wstring();
    const int size = ::MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (size <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(codePage, 0, text, -1, &wide[0], size);
    wide.resize(static_cast<size_t>(size) - 1);
    return wide;
}
