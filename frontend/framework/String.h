// CString: the front-end's narrow (ANSI, active code page) string.
//
// Value semantics over std::string; copies are cheap enough for the short paths
// and command lines the front-end handles. Searches for a single character step
// by characters of a multi-byte code page, so the trail byte of a double-byte
// character never matches (a backslash is a valid trail byte in code page 932).
// Case-insensitive comparison and upper-casing are multi-byte aware as well.
// Nothing here shows anything to the user.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(const char* text, int length) : m_text(text ? std::string(text, static_cast<size_t>(length)) : std::string()) {}
    CString(const std::string& text) : m_text(text) {}
    CString(char ch, int repeat) : m_text(static_cast<size_t>(repeat), ch) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    const char* GetString() const { return m_text.c_str(); }
    operator const char*() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }
    char GetAt(int index) const { return m_text[static_cast<size_t>(index)]; }

    CString& operator=(const char* text) { m_text = text ? text : ""; return *this; }
    CString& operator+=(const CString& other) { m_text += other.m_text; return *this; }
    CString& operator+=(const char* text) { if (text) m_text += text; return *this; }
    CString& operator+=(char ch) { m_text += ch; return *this; }

    // printf-style formatting; replaces the content.
    void Format(const char* format, ...);
    void FormatV(const char* format, va_list args);

    // Loads a string resource of the running program; false when absent.
    bool LoadString(UINT id);

    // Index of the first ch at or after start (byte index), or -1. Multi-byte aware.
    int Find(char ch, int start = 0) const;
    // Index of the first occurrence of a substring at or after start, or -1.
    int Find(const char* sub, int start = 0) const;
    // Index of the last ch, or -1. Multi-byte aware in the active code page.
    int ReverseFind(char ch) const;

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    // Case-insensitive comparison, multi-byte aware: <0, 0 or >0.
    int CompareNoCase(const char* other) const;
    // Byte-wise comparison: <0, 0 or >0.
    int Compare(const char* other) const { return m_text.compare(other ? other : ""); }
    // Upper-cases in place, leaving double-byte characters intact.
    void MakeUpper();

    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == (b ? b : ""); }
    friend bool operator==(const char* a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }
    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_text + b.m_text); }
    friend CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
    friend CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
    friend CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }

private:
    std::string m_text;
};

// Index of the last occurrence of ch in text, stepping by characters of the given
// code page (CP_ACP for the active one), or -1. A byte that is the trail byte of a
// double-byte character never counts.
int FindLastCharInCodePage(const char* text, char ch, UINT codePage);

// Index of the first occurrence of ch at or after start, stepping by characters of
// the given code page, or -1.
int FindCharInCodePage(const char* text, char ch, int start, UINT codePage);
