#include "Document.h"

namespace {

// Closes the document file when the reading is done.
class ScopedFile {
public:
    explicit ScopedFile(HANDLE handle) : m_handle(handle) {}
    ~ScopedFile()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_handle);
    }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

}  // namespace

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(false);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const char* pathName)
{
    if (!pathName || !*pathName)
        return FALSE;
    const ScopedFile file(::CreateFileA(pathName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return FALSE;
    DeleteContents();
    Serialize(file.Get(), false);
    SetModifiedFlag(false);
    return TRUE;
}

void CDocument::Serialize(HANDLE, bool)
{
}

void CDocument::SetPathName(const char* pathName)
{
    m_strPathName = pathName;
    const int slash = FindLastCharInCodePage(m_strPathName, '\\', CP_ACP);
    m_strTitle = slash >= 0 ? m_strPathName.Mid(slash + 1) : m_strPathName;
}
