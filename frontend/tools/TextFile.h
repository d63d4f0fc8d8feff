// Writing small text files: the console scripts the game executes.
//
// The file is created, or an existing one replaced whole; there is no append.
// Binary mode writes the bytes of the text unchanged; text mode turns each line
// feed into a carriage return and line feed. Nothing here shows a message.
#pragma once

#include "String.h"

// Writes text (all its characters, no terminator) to path. True only when the
// file could be opened and every byte was written, flushed and the file closed.
bool WriteTextFile(CString path, CString text, bool binary);
