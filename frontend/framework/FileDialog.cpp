#include "FileDialog.h"

#include <cstring>

namespace {

// Room for the longest path the system allows, so a long choice is never cut.
const size_t kFileBufferChars = 32768;

} // namespace

CFileDialog::CFileDialog(bool openFileDialog, const char* defaultExtension, const char* fileName,
                         DWORD flags, const char* filter, HWND owner)
    : m_bOpenFileDialog(openFileDialog), m_file(kFileBufferChars, '\0'),
      m_strDefaultExtension(defaultExtension)
{
    if (filter && *filter) {
        // "a|b||" becomes "a\0b\0\0": every bar ends one string.
        m_filter.assign(filter, filter + std::strlen(filter));
        for (char& ch : m_filter) {
            if (ch == '|')
                ch = '\0';
        }
        m_filter.push_back('\0');
        m_filter.push_back('\0');
    }
    if (fileName) {
        const size_t length = std::strlen(fileName);
        if (length < m_file.size())
            std::memcpy(m_file.data(), fileName, length);
    }

    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = owner;
    m_ofn.hInstance = ::GetModuleHandleA(nullptr);
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.data();
    m_ofn.nFilterIndex = m_filter.empty() ? 0 : 1;
    m_ofn.lpstrFile = m_file.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_file.size());
    m_ofn.lpstrDefExt = m_strDefaultExtension.IsEmpty() ? nullptr : m_strDefaultExtension.GetString();
    m_ofn.Flags = flags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal()
{
    const BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    return CString(m_file.data());
}

CString CFileDialog::GetFileName() const
{
    const CString path = GetPathName();
    if (m_ofn.nFileOffset > 0 && m_ofn.nFileOffset < path.GetLength())
        return path.Mid(m_ofn.nFileOffset);
    const int separator = path.ReverseFind('\\');
    return separator >= 0 ? path.Mid(separator + 1) : path;
}
