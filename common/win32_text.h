// Text conversions for the Unicode window functions, which show the
// Japanese texts correctly whatever the system code page is.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/ansi_text.h"

namespace kb {

// UTF-16 of `text` read in `codePage` (the program's own texts are UTF-8).
std::wstring widen(std::string_view text, UINT codePage = CP_UTF8);

// UTF-8 of a UTF-16 text.
std::string narrowUtf8(std::wstring_view text);

// IsDBCSLeadByte: whether the byte starts a double-byte character of the
// system's ANSI code page.
bool isAnsiLeadByte(unsigned char byte);

// A path's spellings in the system's ANSI code page (see ansi_text.h); the
// short form is asked for only when the path itself has no exact spelling.
AnsiSpellings ansiSpellings(const std::wstring& path);

}  // namespace kb
