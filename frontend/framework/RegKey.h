// CRegKey: owns an open registry key and closes it in its destructor. Move-only.
#pragma once

#include <windows.h>

class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    CRegKey(CRegKey&& other) noexcept : m_hKey(other.Detach()) {}
    CRegKey& operator=(CRegKey&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_hKey = other.Detach();
        }
        return *this;
    }

    // RegOpenKeyExA; ERROR_SUCCESS when the key is open.
    LONG Open(HKEY parent, const char* subKey, REGSAM access)
    {
        Close();
        HKEY key = nullptr;
        const LONG status = ::RegOpenKeyExA(parent, subKey, 0, access, &key);
        if (status == ERROR_SUCCESS)
            m_hKey = key;
        return status;
    }
    // RegCreateKeyExA; ERROR_SUCCESS when the key is open.
    LONG Create(HKEY parent, const char* subKey, REGSAM access = KEY_READ | KEY_WRITE)
    {
        Close();
        HKEY key = nullptr;
        const LONG status = ::RegCreateKeyExA(parent, subKey, 0, nullptr, 0, access, nullptr, &key, nullptr);
        if (status == ERROR_SUCCESS)
            m_hKey = key;
        return status;
    }
    void Close()
    {
        if (m_hKey) {
            ::RegCloseKey(m_hKey);
            m_hKey = nullptr;
        }
    }
    HKEY Detach() { HKEY key = m_hKey; m_hKey = nullptr; return key; }
    operator HKEY() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};
