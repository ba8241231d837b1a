// Which folder text the files beside the program are named from.
#include "host/program_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace kb {
namespace {

TEST(ProgramFolder, TheCodePagesSpellingThenTheShortFormThenOnlyUnicode) {
  struct Case {
    const char* what;
    std::string utf8Path;
    AnsiSpellings folderSpellings;  // what the system gives for the folder
    const char* ansi;
    const char* unicode;
  };
  const Case cases[] = {
      {"plain folder", "C:\\Games\\kb.scr", {"C:\\Games", std::nullopt}, "C:\\Games", "C:\\Games"},
      {"drive root", "C:\\kb.scr", {"C:\\", std::nullopt}, "C:\\", "C:\\"},
      {"Shift-JIS spelling",
       "C:\\日本\\kb.scr",
       {"C:\\\x93\xfa\x96{", std::nullopt},
       "C:\\\x93\xfa\x96{",
       "C:\\日本"},
      // "表" is 95 5C and "ソ" 83 5C in Shift-JIS: their second byte is no backslash.
      {"a Shift-JIS name whose second byte is 5C",
       "C:\\Games\\表示.scr",
       {"C:\\Games", std::nullopt},
       "C:\\Games",
       "C:\\Games"},
      {"a Shift-JIS folder ending in 5C",
       "C:\\ソ\\kb.scr",
       {"C:\\\x83\x5C", std::nullopt},
       "C:\\\x83\x5C",
       "C:\\ソ"},
      {"short form",
       "C:\\Zoë Ünï\\kb.scr",
       {std::nullopt, "C:\\ZOUN~1"},
       "C:\\ZOUN~1",
       "C:\\Zoë Ünï"},
      {"no short form", "C:\\Zoë Ünï\\kb.scr", {std::nullopt, std::nullopt}, "", "C:\\Zoë Ünï"},
      {"no folder", "kb.scr", {"", std::nullopt}, "", ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> asked;
    const ProgramFolder folder = programFolderOf(c.utf8Path, [&](const std::string& utf8) {
      asked.push_back(utf8);
      return c.folderSpellings;
    });
    EXPECT_EQ(folder.ansi, c.ansi) << c.what;
    EXPECT_EQ(folder.unicode, c.unicode) << c.what;
    // The folder is cut before it is spelled: the ANSI text is never split.
    if (*c.unicode) {
      EXPECT_EQ(asked, std::vector<std::string>{c.unicode}) << c.what;
    }
  }
}

}  // namespace
}  // namespace kb
