#include "TextFile.h"

#include <cstdio>

bool WriteTextFile(CString path, CString text, bool binary)
{
    std::FILE* file = std::fopen(path.GetString(), binary ? "wb" : "wt");
    if (!file)
        return false;

    // A short write, a failed flush or a failed close all leave an incomplete
    // file behind, so each of them is a failure; the file is closed regardless.
    const size_t length = static_cast<size_t>(text.GetLength());
    bool written = std::fwrite(text.GetString(), 1, length, file) == length;
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    return written;
}
