// CBstr: owns one BSTR and frees it in its destructor. Move-only.
//
// Built from narrow text (active code page); a null text gives a null BSTR,
// which COM treats as the empty string.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "WideText.h"

class CBstr {
public:
    CBstr() = default;
    explicit CBstr(const char* text)
    {
        if (text) {
            const std::wstring wide = WideFromNarrow(text);
            m_bstr = ::SysAllocStringLen(wide.c_str(), static_cast<UINT>(wide.size()));
        }
    }
    ~CBstr() { Free(); }
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    CBstr(CBstr&& other) noexcept : m_bstr(other.Detach()) {}
    CBstr& operator=(CBstr&& other) noexcept
    {
        if (this != &other) {
            Free();
            m_bstr = other.Detach();
        }
        return *this;
    }

    BSTR Get() const { return m_bstr; }
    BSTR Detach() { BSTR bstr = m_bstr; m_bstr = nullptr; return bstr; }
    void Free()
    {
        if (m_bstr) {
            ::SysFreeString(m_bstr);
            m_bstr = nullptr;
        }
    }

private:
    BSTR m_bstr = nullptr;
};
