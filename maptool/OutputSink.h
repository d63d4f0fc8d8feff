// COutputSink: a buffered byte stream that the map writer fills and a subclass
// drains (into a file, into a string).
//
// Bytes pass through unchanged and in order; line-end translation, if any, is
// the draining subclass's business. Does not check: the bytes. Errors: a drain
// that fails marks the sink failed; later bytes are dropped and Flush reports
// false, so a writer can run to the end and the caller checks once. Ownership:
// the sink owns its buffer. Not copyable.
#pragma once

#include "MapString.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

class COutputSink {
public:
    COutputSink(const COutputSink&) = delete;
    COutputSink& operator=(const COutputSink&) = delete;

    void Put(const char* p, std::size_t n)
    {
        if (n <= m_nRoom) {
            std::memcpy(m_pFree, p, n);
            m_pFree += n;
            m_nRoom -= n;
        } else {
            PutSlow(p, n);
        }
    }
    void Put(const CMapString& s)
    {
        // Most tokens are short numbers: copy the short form's whole payload,
        // a fixed size the compiler inlines, and keep the text's length of it.
        const std::size_t n = s.GetLength();
        if (n <= CMapString::kInlineMax && m_nRoom >= CMapString::kInlineMax) {
            std::memcpy(m_pFree, s.GetData(), CMapString::kInlineMax);
            m_pFree += n;
            m_nRoom -= n;
        } else {
            Put(s.GetData(), n);
        }
    }
    template <std::size_t N>
    void Put(const char (&literal)[N]) { Put(literal, N - 1); }

    // Drains the buffered bytes; true when every drain so far succeeded.
    bool Flush();

protected:
    COutputSink();
    virtual ~COutputSink();

    // Takes n bytes in order; false on a write error.
    virtual bool Drain(const char* p, std::size_t n) = 0;

private:
    void PutSlow(const char* p, std::size_t n);

    std::unique_ptr<char[]> m_buffer;
    char* m_pFree;
    std::size_t m_nRoom;
    bool m_bFailed = false;
};

// A sink that collects everything in a string.
class CStringSink : public COutputSink {
public:
    // Flushes and returns all bytes put so far.
    const std::string& Text()
    {
        Flush();
        return m_strText;
    }

private:
    bool Drain(const char* p, std::size_t n) override
    {
        m_strText.append(p, n);
        return true;
    }

    std::string m_strText;
};
