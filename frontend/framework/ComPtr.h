// CComPtr<T>: owns one reference to a COM interface and releases it in its
// destructor.
//
// Move-only, like every owning handle of the framework: a second reference is
// taken explicitly (CopyTo, or constructing from a raw pointer, which adds one).
// Attach adopts a reference the caller already holds; Detach hands it back.
#pragma once

#include <windows.h>
#include <unknwn.h>

template <class T>
class CComPtr {
public:
    CComPtr() = default;
    // Takes a reference of its own on the pointer (AddRef).
    explicit CComPtr(T* pointer) : m_p(pointer) { if (m_p) m_p->AddRef(); }
    ~CComPtr() { Release(); }
    CComPtr(const CComPtr&) = delete;
    CComPtr& operator=(const CComPtr&) = delete;
    CComPtr(CComPtr&& other) noexcept : m_p(other.Detach()) {}
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        if (this != &other) {
            Release();
            m_p = other.Detach();
        }
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // For out parameters: releases what is held and gives the slot to fill.
    T** Receive() { Release(); return &m_p; }

    void Attach(T* pointer) { Release(); m_p = pointer; }
    T* Detach() { T* pointer = m_p; m_p = nullptr; return pointer; }
    void Release()
    {
        if (m_p) {
            T* pointer = m_p;
            m_p = nullptr;
            pointer->Release();
        }
    }
    // Hands out a new reference (AddRef) through an out pointer.
    HRESULT CopyTo(T** out) const
    {
        if (!out)
            return E_POINTER;
        *out = m_p;
        if (m_p)
            m_p->AddRef();
        return S_OK;
    }
    // Asks the held object for another interface.
    template <class Q>
    HRESULT QueryInterface(REFIID iid, CComPtr<Q>& result) const
    {
        if (!m_p)
            return E_POINTER;
        return m_p->QueryInterface(iid, reinterpret_cast<void**>(result.Receive()));
    }

private:
    T* m_p = nullptr;
};
