// Conversions between the front-end's narrow strings (active code page) and the
// UTF-16 text that COM, the browser control and the registry's W calls use.
//
// Characters that the target code page cannot hold become the system's default
// character; nothing fails loudly. Null input gives empty output.
#pragma once

#include <windows.h>

#include <string>

#include "String.h"

// UTF-16 text (length -1: up to the terminating NUL) as a narrow string in the
// given code page.
CString NarrowFromWide(const wchar_t* text, int length = -1, UINT codePage = CP_ACP);

// A narrow string of the given code page as UTF-16.
std::wstring WideFromNarrow(const char* text, UINT codePage = CP_ACP);
