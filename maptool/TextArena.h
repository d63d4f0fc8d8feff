// CTextArena: the memory of one map model, and the maker of its strings.
//
// All memory comes from one monotonic resource: allocation is a pointer bump and
// nothing is given back before the arena is destroyed, when everything goes at
// once. The model's containers allocate from Memory(); Make copies a token into a
// CMapString, keeping texts of up to seven bytes inside the string itself and
// appending longer ones to the arena; a long text equal to one made lately
// shares its bytes. A text that the model drops (a repeated key's old
// value) keeps its bytes until the end.
//
// Does not check: the bytes, which are copied as they are. Order: none. Ownership:
// the arena owns all of it; strings and containers that use it borrow from it and
// must not outlive it. Not copyable.
#pragma once

#include "MapString.h"

#include <cstddef>
#include <memory_resource>
#include <string_view>

class CTextArena {
public:
    CTextArena() = default;
    CTextArena(const CTextArena&) = delete;
    CTextArena& operator=(const CTextArena&) = delete;

    // The resource for the containers of the model.
    std::pmr::memory_resource* Memory() { return &m_memory; }

    // A string holding a copy of the n bytes at p. Throws std::bad_alloc when
    // memory runs out and std::length_error for a text of 4 GiB or more.
    CMapString Make(const char* p, std::size_t n)
    {
        if (n <= CMapString::kInlineMax)
            return CMapString::MakeShort(p, n);
        return MakeLong(p, n);
    }
    CMapString Make(std::string_view text) { return Make(text.data(), text.size()); }

private:
    CMapString MakeLong(const char* p, std::size_t n);

    static constexpr std::size_t kRecentTexts = 64;

    std::pmr::monotonic_buffer_resource m_memory;
    CMapString m_recent[kRecentTexts];  // long texts made lately, for sharing
};
