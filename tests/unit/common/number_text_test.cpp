// Which texts are numbers: settings values (strict) and preview handles (lenient).
#include "common/number_text.h"

#include <gtest/gtest.h>

namespace kb {
namespace {

TEST(SettingNumber, AcceptsSignedDecimalsWithExponentAndRoundsDown) {
  EXPECT_EQ(settingNumber("2"), 2);
  EXPECT_EQ(settingNumber("1.9"), 1);
  EXPECT_EQ(settingNumber("-0.5"), -1);
  EXPECT_EQ(settingNumber("-2"), -2);
  EXPECT_EQ(settingNumber("+3"), 3);
  EXPECT_EQ(settingNumber(".5"), 0);
  EXPECT_EQ(settingNumber("5."), 5);
  EXPECT_EQ(settingNumber("1e3"), 1000);
  EXPECT_EQ(settingNumber("25E-1"), 2);
  EXPECT_EQ(settingNumber(" \t12 "), 12);
  EXPECT_EQ(settingNumber("32767"), 32767);
  EXPECT_EQ(settingNumber("-32768"), -32768);
  EXPECT_EQ(settingNumber("32767.99"), 32767);
  EXPECT_EQ(settingNumber("-32768.01"), std::nullopt);  // floor leaves 16 bits
  EXPECT_EQ(settingNumber("00000000000000000000000000000001"), 1);
}

TEST(SettingNumber, RejectsEverythingElse) {
  for (const char* text :
       {"",    " ",     "abc",    "70000", "32768", "-",     "+",           ".",
        "e5",  "1e",    "1e+",    "1 2",   "1,5",   "&H10",  "0x10",        "inf",
        "nan", "1e400", "-1e400", "2abc",  "--1",   "1.2.3", "\xE6\x95\xB0"}) {
    EXPECT_EQ(settingNumber(text), std::nullopt) << '"' << text << '"';
  }
  EXPECT_EQ(settingNumber(std::string_view("1\0", 2)), std::nullopt);
}

TEST(HandleNumber, SkipsBlanksAndStopsAtTheFirstNonNumber) {
  EXPECT_EQ(handleNumber("1234"), 1234);
  EXPECT_EQ(handleNumber(" 1234"), 1234);
  EXPECT_EQ(handleNumber("12 34"), 1234);
  EXPECT_EQ(handleNumber("1234abc"), 1234);
  EXPECT_EQ(handleNumber("1234:99"), 1234);
  EXPECT_EQ(handleNumber("-5"), -5);
  EXPECT_EQ(handleNumber("1e3"), 1000);
  EXPECT_EQ(handleNumber("1D2"), 100);
  EXPECT_EQ(handleNumber("7e"), 7);  // an exponent without digits is not read
  EXPECT_EQ(handleNumber(""), 0);
  EXPECT_EQ(handleNumber("abc"), 0);
  EXPECT_EQ(handleNumber(":1234"), 0);
  EXPECT_EQ(handleNumber("+-1"), 0);
}

TEST(HandleNumber, RoundsHalvesToEvenAndKeepsThe32BitPattern) {
  EXPECT_EQ(handleNumber("2.5"), 2);
  EXPECT_EQ(handleNumber("3.5"), 4);
  EXPECT_EQ(handleNumber("2.6"), 3);
  EXPECT_EQ(handleNumber("-2.5"), -2);
  EXPECT_EQ(handleNumber("2147483647"), 2147483647);
  EXPECT_EQ(handleNumber("-2147483648"), INT32_MIN);
  EXPECT_EQ(handleNumber("4294967295"), -1);  // handle 0xFFFFFFFF
  EXPECT_EQ(handleNumber("2147483648"), INT32_MIN);
  EXPECT_EQ(handleNumber("4294967296"), 0);  // beyond 32 bits: no window
  EXPECT_EQ(handleNumber("-2147483649"), 0);
  EXPECT_EQ(handleNumber(std::string(5000, '9')), 0);
  EXPECT_EQ(handleNumber("1e400"), 0);
}

}  // namespace
}  // namespace kb
