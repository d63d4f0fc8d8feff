// CFileDialog: the common open (or save) file dialog.
//
// The filter is given as "description|pattern|...||" and turned into the
// NUL-separated form. DoModal answers IDOK or IDCANCEL; the chosen path is then
// in GetPathName. The full path may be as long as the system allows.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "String.h"

class CFileDialog {
public:
    CFileDialog(bool openFileDialog, const char* defaultExtension, const char* fileName,
                DWORD flags, const char* filter, HWND owner);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    INT_PTR DoModal();
    CString GetPathName() const;
    CString GetFileName() const;

    OPENFILENAMEA m_ofn {};

private:
    bool m_bOpenFileDialog;
    std::vector<char> m_filter;
    std::vector<char> m_file;
    CString m_strDefaultExtension;
};
