// ScanCursor: the text that the scanner walks, as a start, a read position and
// an end.
//
// The text is not NUL-terminated: nEnd alone bounds every read, and no byte at or
// beyond nEnd is ever touched. Invariant: nPos never exceeds nEnd; the scanner
// only moves nPos forward. Ownership: the cursor does not own pBuffer (normally
// the mapped view of CMappedFile); the entry routine owns the cursor and the
// scanner only points to it.
#pragma once

#include <cstdint>

struct ScanCursor {
    const char* pBuffer = nullptr;  // first byte of the text
    std::uint32_t nPos = 0;         // offset of the next byte to read
    std::uint32_t nEnd = 0;         // number of bytes in the text
};
