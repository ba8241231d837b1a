// The folder the screensaver program lies in, as the files beside it (the
// settings file and the renderer) are named for the calls that open them.
#pragma once

#include <functional>
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

// The folder part of a program path in UTF-8: no trailing backslash, except
// at a drive root ("C:\"), where the files beside the program then get a
// doubled backslash ("C:\\Kolvane_Brightrun.ini"), which Windows accepts.
// NOTE: UTF-8, never ANSI: in code pages 932, 936 and 950 the byte 0x5C is
// also the second byte of characters such as "表" and "ソ", while in UTF-8
// (as in UTF-16) it is only ever the backslash itself.
std::string folderOf(const std::string& utf8ProgramPath);

// The ANSI spellings of a folder given in UTF-8.
using FolderSpellings = std::function<AnsiSpellings(const std::string& utf8Folder)>;

// The program folder from the program's path in UTF-8: the folder is cut
// from the path first, and only then spelled for the ANSI calls.
ProgramFolder programFolderOf(const std::string& utf8Path, const FolderSpellings& spell);

}  // namespace kb
