#include "RecentFileList.h"

#include "WideText.h"

namespace {

// Closes a registry key opened with the W calls.
class ScopedKey {
public:
    ScopedKey() = default;
    ~ScopedKey()
    {
        if (m_key)
            ::RegCloseKey(m_key);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    HKEY* Receive() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

std::wstring ValueName(size_t index)
{
    return L"File" + std::to_wstring(index + 1);
}

}  // namespace

void CRecentFileList::Add(const char* pathName)
{
    if (!pathName || !*pathName || m_nSize == 0)
        return;
    for (auto it = m_files.begin(); it != m_files.end(); ++it) {
        if (it->CompareNoCase(pathName) == 0) {
            m_files.erase(it);
            break;
        }
    }
    m_files.insert(m_files.begin(), CString(pathName));
    if (m_files.size() > m_nSize)
        m_files.resize(m_nSize);
    m_bChanged = true;
}

void CRecentFileList::ReadList()
{
    m_files.clear();
    m_bChanged = false;
    ScopedKey key;
    if (m_keyPath.empty() || ::RegOpenKeyExW(HKEY_CURRENT_USER, m_keyPath.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return;
    for (size_t index = 0; index < m_nSize; ++index) {
        wchar_t buffer[MAX_PATH + 1] = {};
        DWORD type = 0;
        DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
        if (::RegQueryValueExW(key.Get(), ValueName(index).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS
            || type != REG_SZ)
            continue;
        const CString path = NarrowFromWide(buffer);
        if (!path.IsEmpty())
            m_files.push_back(path);
    }
}

bool CRecentFileList::WriteList()
{
    if (!m_bChanged)
        return true;
    if (m_keyPath.empty())
        return false;
    ScopedKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_keyPath.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                          key.Receive(), nullptr) != ERROR_SUCCESS)
        return false;
    for (size_t index = 0; index < m_nSize; ++index) {
        const std::wstring name = ValueName(index);
        if (index < m_files.size()) {
            const std::wstring path = WideFromNarrow(m_files[index]);
            ::RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                             static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
        } else {
            ::RegDeleteValueW(key.Get(), name.c_str());
        }
    }
    m_bChanged = false;
    return true;
}
