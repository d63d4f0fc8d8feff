#include "String.h"

#include <cstdio>
#include <vector>

namespace {

bool IsLeadByte(UINT codePage, unsigned char byte)
{
    return byte >= 0x80 && IsDBCSLeadByteEx(codePage, byte);
}

unsigned char FoldAscii(unsigned char byte)
{
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

} // namespace

int FindLastCharInCodePage(const char* text, char ch, UINT codePage)
{
    int last = -1;
    for (int i = 0; text[i] != '\0';) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(codePage, byte) && text[i + 1] != '\0') {
            i += 2;
            continue;
        }
        if (text[i] == ch)
            last = i;
        ++i;
    }
    return last;
}

int FindCharInCodePage(const char* text, char ch, int start, UINT codePage)
{
    for (int i = 0; text[i] != '\0';) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(codePage, byte) && text[i + 1] != '\0') {
            i += 2;
            continue;
        }
        if (i >= start && text[i] == ch)
            return i;
        ++i;
    }
    return -1;
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length < 0) {
        m_text.clear();
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    m_text.assign(buffer.data(), static_cast<size_t>(length));
}

bool CString::LoadString(UINT id)
{
    // A string resource may be up to 4097 characters; grow until it fits.
    std::vector<char> buffer(256);
    for (;;) {
        const int copied = ::LoadStringA(GetModuleHandleA(nullptr), id, buffer.data(), static_cast<int>(buffer.size()));
        if (copied <= 0) {
            m_text.clear();
            return false;
        }
        if (static_cast<size_t>(copied) < buffer.size() - 1) {
            m_text.assign(buffer.data(), static_cast<size_t>(copied));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

int CString::Find(char ch, int start) const
{
    if (start < 0 || start > GetLength())
        return -1;
    return FindCharInCodePage(m_text.c_str(), ch, start, CP_ACP);
}

int CString::Find(const char* sub, int start) const
{
    if (start < 0 || start > GetLength() || !sub)
        return -1;
    const size_t found = m_text.find(sub, static_cast<size_t>(start));
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

int CString::ReverseFind(char ch) const
{
    return FindLastCharInCodePage(m_text.c_str(), ch, CP_ACP);
}

CString CString::Left(int count) const
{
    if (count <= 0)
        return CString();
    return CString(m_text.substr(0, static_cast<size_t>(count)));
}

CString CString::Mid(int first) const
{
    if (first < 0)
        first = 0;
    if (first >= GetLength())
        return CString();
    return CString(m_text.substr(static_cast<size_t>(first)));
}

CString CString::Mid(int first, int count) const
{
    if (first < 0)
        first = 0;
    if (first >= GetLength() || count <= 0)
        return CString();
    return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

int CString::CompareNoCase(const char* other) const
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_text.c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(other ? other : "");
    for (;;) {
        const bool leadA = IsLeadByte(CP_ACP, *a) && a[1] != 0;
        const bool leadB = IsLeadByte(CP_ACP, *b) && b[1] != 0;
        if (leadA || leadB) {
            // Double-byte characters compare exactly, lead byte high.
            const unsigned unitA = leadA ? (a[0] << 8 | a[1]) : FoldAscii(*a);
            const unsigned unitB = leadB ? (b[0] << 8 | b[1]) : FoldAscii(*b);
            if (unitA != unitB)
                return unitA < unitB ? -1 : 1;
            a += leadA ? 2 : 1;
            b += leadB ? 2 : 1;
            continue;
        }
        const unsigned char foldedA = FoldAscii(*a);
        const unsigned char foldedB = FoldAscii(*b);
        if (foldedA != foldedB)
            return foldedA < foldedB ? -1 : 1;
        if (foldedA == 0)
            return 0;
        ++a;
        ++b;
    }
}

void CString::MakeUpper()
{
    for (size_t i = 0; i < m_text.size();) {
        const unsigned char byte = static_cast<unsigned char>(m_text[i]);
        if (IsLeadByte(CP_ACP, byte) && i + 1 < m_text.size()) {
            i += 2;
            continue;
        }
        if (byte >= 'a' && byte <= 'z')
            m_text[i] = static_cast<char>(byte - 'a' + 'A');
        ++i;
    }
}
