// Which folder text the files beside the program are named from.
#include "host/program_folder.h"

#include <gtest/gtest.h>

#include "tests/unit/code_pages.h"

namespace kb {
namespace {

TEST(ProgramFolder, TheCodePagesSpellingThenTheShortFormThenOnlyUnicode) {
  struct Case {
    const char* what;
    std::string utf8Path;
    AnsiSpellings spellings;
    const char* ansi;
    const char* unicode;
  };
  const Case cases[] = {
      {"plain folder",
       "C:\\Games\\kb.scr",
       {"C:\\Games\\kb.scr", std::nullopt},
       "C:\\Games",
       "C:\\Games"},
      {"drive root", "C:\\kb.scr", {"C:\\kb.scr", std::nullopt}, "C:\\", "C:\\"},
      {"Shift-JIS spelling",
       "C:\\日本\\kb.scr",
       {"C:\\\x93\xfa\x96{\\kb.scr", std::nullopt},
       "C:\\\x93\xfa\x96{",
       "C:\\日本"},
      {"short form",
       "C:\\Zoë Ünï\\kb.scr",
       {std::nullopt, "C:\\ZOUN~1\\KB.SCR"},
       "C:\\ZOUN~1",
       "C:\\Zoë Ünï"},
      {"no short form", "C:\\Zoë Ünï\\kb.scr", {std::nullopt, std::nullopt}, "", "C:\\Zoë Ünï"},
  };
  for (const Case& c : cases) {
    const ProgramFolder folder = programFolderOf(c.utf8Path, c.spellings);
    EXPECT_EQ(folder.ansi, c.ansi) << c.what;
    EXPECT_EQ(folder.unicode, c.unicode) << c.what;
  }
}

TEST(AnsiCharacters, LeadByteAndTheNextAreOneCharacter) {
  using Characters = std::vector<std::string_view>;
  EXPECT_EQ(ansiCharacters("a\x83\x53z", test::cp932LeadByte), (Characters{"a", "\x83\x53", "z"}));
  EXPECT_EQ(ansiCharacters("a\x83\x53z", test::singleByte), (Characters{"a", "\x83", "\x53", "z"}));
  EXPECT_EQ(ansiCharacters("a\x83", test::cp932LeadByte), (Characters{"a", "\x83"}));
  EXPECT_EQ(ansiCharacters("", test::cp932LeadByte), Characters{});
}

}  // namespace
}  // namespace kb
