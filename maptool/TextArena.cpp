#include "TextArena.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

CMapString CTextArena::MakeLong(const char* p, std::size_t n)
{
    if (n > UINT32_MAX)
        throw std::length_error("map token of 4 GiB or more");
    // The record is a 32-bit length and the bytes; its alignment keeps the low
    // address bit clear for CMapString's tag.
    const std::uint32_t nLength = static_cast<std::uint32_t>(n);
    auto* pRecord = static_cast<unsigned char*>(m_memory.allocate(sizeof nLength + n, alignof(std::uint32_t)));
    std::memcpy(pRecord, &nLength, sizeof nLength);
    std::memcpy(pRecord + sizeof nLength, p, n);
    return CMapString::MakeLong(pRecord);
}
