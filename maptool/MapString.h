// CMapString: the immutable text of one map token (a key, a value, a plane
// number, a texture name), eight bytes wide.
//
// Texts of up to seven bytes live inside the object itself; longer texts live in
// a CTextArena and the object only points at them. Most tokens of a brush map
// are short numbers, so most strings never touch the heap, and copying a string
// is copying eight bytes.
//
// Does not check: the bytes. Any byte value is kept, NUL included; the text is
// not NUL-terminated. Ownership: a string never owns its bytes. A long string
// borrows them from the arena that made it and must not outlive that arena.
// Order: operator< compares byte by byte as unsigned values, case-sensitive,
// then the shorter text first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "CMapString packs short texts behind the low byte of a pointer: little-endian only"
#endif

class CMapString {
public:
    static constexpr std::size_t kInlineMax = 7;

    // The empty text.
    CMapString() noexcept : m_bytes{1} {}

    // A text of at most kInlineMax bytes, held inside the object.
    static CMapString MakeShort(const char* p, std::size_t n) noexcept
    {
        // Assembled in a register: byte stores followed by one wide load of
        // the same bytes would stall on store forwarding.
        std::uint64_t nWord = (static_cast<std::uint64_t>(n) << 1) | 1u;
        for (std::size_t i = 0; i < n; ++i)
            nWord |= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])) << (8 * (i + 1));
        CMapString s;
        std::memcpy(s.m_bytes, &nWord, sizeof nWord);
        return s;
    }

    // A text held by an arena record: a 32-bit length followed by the bytes,
    // at an address aligned to at least 2.
    static CMapString MakeLong(const unsigned char* pRecord) noexcept
    {
        CMapString s;
        std::memcpy(s.m_bytes, &pRecord, sizeof pRecord);
        return s;
    }

    std::size_t GetLength() const noexcept
    {
        if (IsShort())
            return m_bytes[0] >> 1;
        std::uint32_t n;
        std::memcpy(&n, Record(), sizeof n);
        return n;
    }

    // The first byte of the text; valid while this object is unchanged.
    const char* GetData() const noexcept
    {
        if (IsShort())
            return reinterpret_cast<const char*>(m_bytes + 1);
        return reinterpret_cast<const char*>(Record() + sizeof(std::uint32_t));
    }

    bool IsEmpty() const noexcept { return GetLength() == 0; }
    std::string_view View() const noexcept { return {GetData(), GetLength()}; }

    // std::string_view compares through char_traits<char>, which orders bytes
    // as unsigned char.
    friend bool operator<(const CMapString& a, const CMapString& b) noexcept { return a.View() < b.View(); }
    friend bool operator==(const CMapString& a, const CMapString& b) noexcept { return a.View() == b.View(); }
    friend bool operator!=(const CMapString& a, const CMapString& b) noexcept { return !(a == b); }

private:
    bool IsShort() const noexcept { return (m_bytes[0] & 1u) != 0; }
    const unsigned char* Record() const noexcept
    {
        const unsigned char* p;
        std::memcpy(&p, m_bytes, sizeof p);
        return p;
    }

    alignas(8) unsigned char m_bytes[8];
};

static_assert(sizeof(CMapString) == 8, "a map string is one pointer wide");
