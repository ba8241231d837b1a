// Text conversions for the Unicode window functions, which show the
// Japanese texts correctly whatever the system code page is.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kb {

// UTF-16 of `text` read in `codePage` (the program's own texts are UTF-8).
std::wstring widen(std::string_view text, UINT codePage = CP_UTF8);

// UTF-8 of a UTF-16 text.
std::string narrowUtf8(std::wstring_view text);

}  // namespace kb
