// Text in the ANSI code page: its characters, and how Windows is asked for a
// code page's exact spelling.
#include "common/ansi_text.h"

#include <gtest/gtest.h>

#include "tests/unit/code_pages.h"

namespace kb {
namespace {

TEST(AnsiCharacters, LeadByteAndTheNextAreOneCharacter) {
  using Characters = std::vector<std::string_view>;
  EXPECT_EQ(ansiCharacters("a\x83\x53z", test::cp932LeadByte), (Characters{"a", "\x83\x53", "z"}));
  EXPECT_EQ(ansiCharacters("a\x83\x53z", test::singleByte), (Characters{"a", "\x83", "\x53", "z"}));
  EXPECT_EQ(ansiCharacters("a\x83", test::cp932LeadByte), (Characters{"a", "\x83"}));
  EXPECT_EQ(ansiCharacters("", test::cp932LeadByte), Characters{});
}

TEST(ExactConversion, EachCodePageIsAskedOnlyWithWhatWindowsAccepts) {
  // Double- and single-byte code pages: no best-fit look-alikes, and the
  // used-default answer tells of stand-ins.
  for (const unsigned codePage : {932u, 936u, 1252u}) {
    const ExactConversion rule = exactConversionFor(codePage);
    EXPECT_EQ(rule.flags, kWcNoBestFitChars) << codePage;
    EXPECT_TRUE(rule.asksUsedDefault) << codePage;
  }
  // UTF-8 and UTF-7: dwFlags 0 or WC_ERR_INVALID_CHARS (UTF-8 only), and no
  // used-default pointer, or Windows fails every call; exactness is then
  // proven by the call failing on invalid text or by converting back.
  const ExactConversion utf8 = exactConversionFor(65001);
  EXPECT_EQ(utf8.flags, kWcErrInvalidChars);
  EXPECT_FALSE(utf8.asksUsedDefault);
  const ExactConversion utf7 = exactConversionFor(65000);
  EXPECT_EQ(utf7.flags, 0u);
  EXPECT_FALSE(utf7.asksUsedDefault);
  EXPECT_TRUE(utf7.checksRoundTrip);
}

}  // namespace
}  // namespace kb
