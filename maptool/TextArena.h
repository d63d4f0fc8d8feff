// CTextArena: the owner of every long token text of one map model.
//
// Make copies a token into a CMapString: texts of up to seven bytes go into the
// string itself, longer ones are appended to large chunks that the arena owns
// and frees all at once when it is destroyed. Nothing is freed earlier: a text
// that the model drops (a repeated key's old value) keeps its bytes until then.
//
// Does not check: the bytes, which are copied as they are. Order: none; texts
// are laid down in the order they are made. Ownership: the arena owns the chunks;
// the strings it returns borrow from them and must not outlive it. Not copyable.
#pragma once

#include "MapString.h"

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

class CTextArena {
public:
    CTextArena() = default;
    CTextArena(const CTextArena&) = delete;
    CTextArena& operator=(const CTextArena&) = delete;

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

    std::vector<std::unique_ptr<unsigned char[]>> m_chunks;
    unsigned char* m_pFree = nullptr;
    std::size_t m_nRoom = 0;
    std::size_t m_nNextChunk = 0;
};
