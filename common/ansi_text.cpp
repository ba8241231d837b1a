#include "common/ansi_text.h"

namespace kb {

std::vector<std::string_view> ansiCharacters(std::string_view text, LeadByteTest isLeadByte) {
  std::vector<std::string_view> characters;
  for (std::size_t at = 0; at < text.size();) {
    const bool pair = isLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size();
    const std::size_t length = pair ? 2 : 1;
    characters.push_back(text.substr(at, length));
    at += length;
  }
  return characters;
}

ExactConversion exactConversionFor(unsigned codePage) {
  constexpr unsigned kUtf7 = 65000, kUtf8 = 65001;
  // UTF-8 spells every text exactly; only a lone surrogate has no spelling,
  // and WC_ERR_INVALID_CHARS makes the call fail on one.
  if (codePage == kUtf8) return {kWcErrInvalidChars, false, false};
  if (codePage == kUtf7) return {0, false, true};
  return {kWcNoBestFitChars, true, false};
}

std::optional<std::string> ansiPath(const AnsiSpellings& path) {
  return path.exact ? path.exact : path.shortForm;
}

}  // namespace kb
