// SafeName: a lump or texture name made fit for file names and DOOM 3 tokens.
//
// DOOM names may hold characters such as \ [ ] ^ - that a file system or the
// DOOM 3 lexer (which splits names at punctuation) cannot take. Each such
// character becomes _ and its two hex digits, so the result is the same on
// every run and every tool and keeps the name recognisable.
#pragma once

#include <string>

namespace image {

// `name` with every character outside A-Z, a-z, 0-9 and _ written as _ and two hex digits.
std::string SafeName(const std::string& name);

}  // namespace image
