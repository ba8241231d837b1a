// The screensaver command line: the argument text, its mode letter and the
// preview window handle, and what the program does for each mode.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/ansi_text.h"

namespace kb {

// The text after the program name in a full Windows command line (as
// GetCommandLineA gives it), without the blanks that separate the two. The
// program name may be quoted, and a quoted name may hold blanks. An unquoted
// name ends at the first blank, unless the line begins with one of
// `programPaths` (the program's own full path, long and short, compared
// without regard to ASCII case) followed by a blank or the end: Windows may
// pass "C:\Program Files\x.scr /s" unquoted (CreateProcess, Microsoft Learn:
// the command line reaches the program as the caller wrote it, and a path
// with spaces is not always quoted), and that path is then the name.
std::string argumentText(std::string_view commandLine, const std::vector<std::string>& programPaths,
                         LeadByteTest isLeadByte);

// The argument text counts characters of the ANSI code page, so a double-byte
// character is one character.

// Character 2 of the upper-cased argument text, or '\0' when it is shorter or
// is a double-byte character (no letter at all). Only this one character
// counts, so /s, -S and /scr all give 'S'.
char modeLetter(std::string_view argumentText, LeadByteTest isLeadByte);

// The window handle after /p: the argument text from character 4, read as a
// number (see number_text.h); 0 when there is none.
std::int32_t previewHandle(std::string_view argumentText, LeadByteTest isLeadByte);

enum class StartAction {
  Preview,         // embed the preview picture in the given window
  SettingsDialog,  // the modal settings dialog, then end
  Show,            // the hidden show form
  End,             // no mode: end silently
};

// What the start-up does for an argument text.
struct StartPlan {
  StartAction action;
};

StartPlan planStart(std::string_view argumentText, LeadByteTest isLeadByte);

}  // namespace kb
