// The folder the screensaver program lies in, as the files beside it (the
// settings file and the renderer) are named for the calls that open them.
#pragma once

#include <string>

#include "common/ansi_text.h"

namespace kb {

struct ProgramFolder {
  // For the ANSI calls: the folder as the code page spells it, else its
  // short form; empty when it has neither.
  std::string ansi;
  // The folder itself in UTF-8, for the Unicode calls that start the
  // renderer when there is no ANSI spelling.
  std::string unicode;
};

// The folder part of a program path: no trailing backslash, except at a
// drive root ("C:\"), where the files beside the program then get a doubled
// backslash ("C:\\Kolvane_Brightrun.ini"), which Windows accepts.
std::string folderOf(const std::string& programPath);

// The program folder from the program's path in UTF-8 and its ANSI spellings.
ProgramFolder programFolderOf(const std::string& utf8Path, const AnsiSpellings& path);

}  // namespace kb
