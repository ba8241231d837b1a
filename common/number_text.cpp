#include "common/number_text.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace kb {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isSettingBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isHandleBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads digits from text[at]; returns how many were read.
std::size_t takeDigits(std::string_view text, std::size_t& at, std::string& out) {
  std::size_t count = 0;
  while (at < text.size() && isDigit(text[at])) {
    out += text[at++];
    ++count;
  }
  return count;
}

// Reads [+|-] digits [. [digits]] from text[at]; returns how many digits.
std::size_t takeMantissa(std::string_view text, std::size_t& at, std::string& out) {
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) out += text[at++];
  std::size_t digits = takeDigits(text, at, out);
  if (at < text.size() && text[at] == '.') {
    out += text[at++];
    digits += takeDigits(text, at, out);
  }
  return digits;
}

// NOTE: the collected text holds only digits, signs, '.' and 'e', so strtod
// cannot take it for hex, inf or nan; the program never changes the C locale,
// so '.' is the decimal point.
double toDouble(const std::string& clean) {
  return std::strtod(clean.c_str(), nullptr);
}

}  // namespace

std::optional<double> numberValue(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && isSettingBlank(text[at])) ++at;
  std::string clean;
  if (takeMantissa(text, at, clean) == 0) return std::nullopt;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    clean += 'e';
    ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) clean += text[at++];
    if (takeDigits(text, at, clean) == 0) return std::nullopt;
  }
  while (at < text.size() && isSettingBlank(text[at])) ++at;
  if (at != text.size()) return std::nullopt;
  return toDouble(clean);
}

std::optional<std::int16_t> settingNumber(std::string_view text) {
  const std::optional<double> number = numberValue(text);
  if (!number) return std::nullopt;
  const double value = std::floor(*number);
  if (!(value >= -32768.0 && value <= 32767.0)) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

std::int32_t handleNumber(std::string_view text) {
  // Blanks are dropped first: they may sit anywhere, even between digits.
  std::string packed;
  for (char c : text) {
    if (!isHandleBlank(c)) packed += c;
  }
  std::size_t at = 0;
  std::string clean;
  if (takeMantissa(packed, at, clean) == 0) return 0;
  if (at < packed.size() &&
      (packed[at] == 'e' || packed[at] == 'E' || packed[at] == 'd' || packed[at] == 'D')) {
    std::string exponent = "e";
    std::size_t from = at + 1;
    if (from < packed.size() && (packed[from] == '+' || packed[from] == '-'))
      exponent += packed[from++];
    if (takeDigits(packed, from, exponent) > 0) clean += exponent;
  }
  const double value = std::nearbyint(toDouble(clean));
  if (!(value >= -2147483648.0 && value <= 4294967295.0)) return 0;
  const auto bits = static_cast<std::uint32_t>(static_cast<std::int64_t>(value));
  return static_cast<std::int32_t>(bits);
}

}  // namespace kb
