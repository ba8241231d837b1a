// Which texts the screensaver program reads as numbers, in one place.
//
// Settings values (settingNumber) must be a number and nothing else:
//   [blanks] [+|-] digits [. [digits]] [(e|E) [+|-] digits] [blanks]
//   or the same with the digits only after the point (".5").
// Blanks are spaces and tabs. Hexadecimal, thousands separators, currency
// signs, "inf" and "nan" are not numbers. The value is rounded down (floor)
// and must fit in 16 bits signed; otherwise the text is "not a number".
//
// The preview handle (handleNumber) is read the lenient way a command line is
// read: blanks (spaces, tabs, CR, LF) are skipped anywhere, reading stops at
// the first character that cannot continue  [+|-] digits [. digits]
// [(e|E|d|D) [+|-] digits], and a text without digits gives 0. The value is
// rounded to the nearest integer, halves to even. Windows compares only the
// low 32 bits of a window handle, so values from -2^31 to 2^32 - 1 keep their
// low 32 bits (4294967295 is the handle 0xFFFFFFFF, read as -1); anything
// beyond that range names no window and gives 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kb {

// The value of a text that is a number and nothing else (the settings value
// form above, before any rounding), or nothing when it is not one. The
// settings dialog's track box reads its text with the same rule.
std::optional<double> numberValue(std::string_view text);

// A settings value as a 16-bit number, or nothing when it is not one.
std::optional<std::int16_t> settingNumber(std::string_view text);

// The numeric value of a preview handle text (0 when there is none).
std::int32_t handleNumber(std::string_view text);

}  // namespace kb
