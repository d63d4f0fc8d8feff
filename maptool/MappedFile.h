// CMappedFile: a whole file opened read-only and mapped into memory, so that the
// scanner reads it in place without copying it into a buffer of its own.
//
// Calling order: Open, GetView, GetSize, then Close (or the destructor). A file
// of zero bytes cannot be mapped, so Open refuses it: an empty input is a file
// that cannot be opened, never an empty map. On Windows the file is shared with
// other readers only while it is open.
//
// Does not check: the content. Ownership: the object owns the file handle, the
// mapping and the view, and releases them in Close and in its destructor; the
// view pointer is borrowed by the caller until then. Not copyable.
#pragma once

#include <cstddef>
#include <cstdint>

class CMappedFile {
public:
    CMappedFile() = default;
    ~CMappedFile() { Close(); }
    CMappedFile(const CMappedFile&) = delete;
    CMappedFile& operator=(const CMappedFile&) = delete;

    // True when the file is open and can be mapped whole. False, changing
    // nothing, when this object already holds a file; false, holding nothing,
    // when the file is missing, unreadable, locked, not a plain file or empty.
    bool Open(const char* pszPath);

    // The first byte of the read-only view of the whole file, mapped on the
    // first call; null when it cannot be mapped. Valid until Close.
    const char* GetView();

    // The file size; 0 when it cannot be read, 0xFFFFFFFF for 4 GiB or more.
    std::uint32_t GetSize() const;

    // Unmaps the view and closes the mapping and the file; does nothing on a
    // closed object.
    void Close();

private:
#ifdef _WIN32
    void* m_hFile = nullptr;     // HANDLE of the open file
    void* m_hMapping = nullptr;  // HANDLE of the read-only mapping
#else
    int m_hFile = -1;              // descriptor of the open file
    std::size_t m_nMapping = 0;    // length to map; POSIX has no mapping object
#endif
    const void* m_pView = nullptr;
};
