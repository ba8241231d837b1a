#include "common/win32_text.h"

namespace kb {

std::wstring widen(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (wide <= 0) return {};
  std::wstring result(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), length, result.data(), wide);
  return result;
}

std::string narrowUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string result(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, result.data(), bytes, nullptr, nullptr);
  return result;
}

bool isAnsiLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != FALSE;
}

namespace {

// WC_ERR_INVALID_CHARS (0x80) is declared only for Vista and later targets.
static_assert(kWcNoBestFitChars == WC_NO_BEST_FIT_CHARS);

// The text in the ANSI code page, or none when a character would become a
// stand-in (best-fit look-alikes included). The flags follow the code page:
// see exactConversionFor.
std::optional<std::string> exactAnsi(std::wstring_view text) {
  if (text.empty()) return std::string();
  const UINT codePage = GetACP();
  const ExactConversion rule = exactConversionFor(codePage);
  const int length = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  BOOL* const usedDefaultAnswer = rule.asksUsedDefault ? &usedDefault : nullptr;
  const int bytes = WideCharToMultiByte(codePage, rule.flags, text.data(), length, nullptr, 0,
                                        nullptr, usedDefaultAnswer);
  if (bytes <= 0 || usedDefault) return std::nullopt;
  std::string result(static_cast<std::size_t>(bytes), '\0');
  if (WideCharToMultiByte(codePage, rule.flags, text.data(), length, result.data(), bytes, nullptr,
                          nullptr) != bytes)
    return std::nullopt;
  if (rule.checksRoundTrip && widen(result, codePage) != text) return std::nullopt;
  return result;
}

std::wstring shortPathOf(const std::wstring& path) {
  std::wstring shortPath(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    if (length == 0) return {};
    if (length < shortPath.size()) return shortPath.substr(0, length);
    shortPath.resize(length);
  }
}

}  // namespace

AnsiSpellings ansiSpellings(const std::wstring& path) {
  AnsiSpellings spellings;
  spellings.exact = exactAnsi(path);
  if (!spellings.exact) {
    const std::wstring shortPath = shortPathOf(path);
    if (!shortPath.empty()) spellings.shortForm = exactAnsi(shortPath);
  }
  return spellings;
}

}  // namespace kb
