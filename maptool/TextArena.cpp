#include "TextArena.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

CMapString CTextArena::MakeLong(const char* p, std::size_t n)
{
    // Long tokens repeat a lot (a brush's texture name on every plane, numbers
    // such as 0.500000): a small cache of recent texts, indexed by length and a
    // few bytes, hands out the same text again instead of another copy.
    const auto byte = [p](std::size_t i) { return static_cast<std::size_t>(static_cast<unsigned char>(p[i])); };
    CMapString& cached = m_recent[(n * 31 + byte(0) + byte(n / 2) * 7 + byte(n - 1) * 13) % kRecentTexts];
    if (n == cached.GetLength() && std::memcmp(p, cached.GetData(), n) == 0)
        return cached;
    if (n > UINT32_MAX)
        throw std::length_error("map token of 4 GiB or more");
    // The record is a 32-bit length and the bytes; its alignment keeps the low
    // address bit clear for CMapString's tag.
    const std::uint32_t nLength = static_cast<std::uint32_t>(n);
    auto* pRecord = static_cast<unsigned char*>(m_memory.allocate(sizeof nLength + n, alignof(std::uint32_t)));
    std::memcpy(pRecord, &nLength, sizeof nLength);
    std::memcpy(pRecord + sizeof nLength, p, n);
    cached = CMapString::MakeLong(pRecord);
    return cached;
}
