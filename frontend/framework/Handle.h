// CHandle: owns one kernel handle (process, thread, file, event) and closes it
// when it goes out of scope.
//
// Move-only: a handle has exactly one owner, so it is never closed twice.
// Both null and INVALID_HANDLE_VALUE count as "no handle" (the platform uses
// either, depending on the call that produced it). Detach hands ownership back.
#pragma once

#include <windows.h>

class CHandle {
public:
    CHandle() = default;
    explicit CHandle(HANDLE handle) : m_handle(handle) {}
    ~CHandle() { Close(); }

    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    CHandle(CHandle&& other) noexcept : m_handle(other.Detach()) {}
    CHandle& operator=(CHandle&& other) noexcept
    {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }

    HANDLE Get() const { return m_handle; }
    bool IsValid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }

    // Closes the handle held now (if any) and takes ownership of the new one.
    void Attach(HANDLE handle)
    {
        Close();
        m_handle = handle;
    }

    // Gives up ownership without closing; the caller closes the result.
    HANDLE Detach()
    {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

    // Closes the handle now; afterwards the object holds none.
    void Close()
    {
        if (IsValid())
            ::CloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    HANDLE m_handle = nullptr;
};
