// Text in the system's ANSI code page, as the ANSI calls take it: where a
// double-byte code page (such as 932) puts two bytes in one character, and
// which spelling of a path those calls can open.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kb {

// Whether a byte starts a double-byte character of the ANSI code page
// (IsDBCSLeadByte on Windows).
using LeadByteTest = bool (*)(unsigned char);

// a to z upper-cased, every other byte as it is (in any ANSI code page).
constexpr char asciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text's characters, each one or two bytes; a lead byte at the very end
// stands alone.
std::vector<std::string_view> ansiCharacters(std::string_view text, LeadByteTest isLeadByte);

// The spellings of one path in the ANSI code page.
struct AnsiSpellings {
  std::optional<std::string> exact;      // when the code page has every character
  std::optional<std::string> shortForm;  // its short (8.3) form, when there is one it has
};

// The exact spelling, else the short form, else none: never a path with
// stand-in characters, which would name a file that does not exist.
std::optional<std::string> ansiPath(const AnsiSpellings& path);

}  // namespace kb
