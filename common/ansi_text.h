// Text in the system's ANSI code page, as the ANSI calls take it: where a
// double-byte code page (such as 932) puts two bytes in one character, and
// which spelling of a path those calls can open.
#pragma once

#include <cstdint>
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

// How WideCharToMultiByte is asked for a code page's exact spelling of a text.
// NOTE: Windows 10 and 11 can make UTF-8 (65001) the ANSI code page ("Beta:
// Use Unicode UTF-8 for worldwide language support"). For 65001 and UTF-7
// (65000) Windows fails the call unless dwFlags is 0 or WC_ERR_INVALID_CHARS
// (UTF-8 only) and lpUsedDefaultChar is NULL (WideCharToMultiByte, Microsoft
// Learn, dwFlags and lpUsedDefaultChar). Wine accepts the other flags there and
// cannot be set to 65001 at all, so only this rule's tests can show it.
struct ExactConversion {
  std::uint32_t flags;   // dwFlags
  bool asksUsedDefault;  // passes lpUsedDefaultChar to learn of stand-ins
  bool checksRoundTrip;  // else converts back: a different text was not exact
};
constexpr std::uint32_t kWcNoBestFitChars = 0x400;  // WC_NO_BEST_FIT_CHARS
constexpr std::uint32_t kWcErrInvalidChars = 0x80;  // WC_ERR_INVALID_CHARS

ExactConversion exactConversionFor(unsigned codePage);

// The spellings of one path in the ANSI code page.
struct AnsiSpellings {
  std::optional<std::string> exact;      // when the code page has every character
  std::optional<std::string> shortForm;  // its short (8.3) form, when there is one it has
};

// The exact spelling, else the short form, else none: never a path with
// stand-in characters, which would name a file that does not exist.
std::optional<std::string> ansiPath(const AnsiSpellings& path);

}  // namespace kb
