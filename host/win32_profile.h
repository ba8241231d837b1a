// The settings file over the Windows ANSI profile functions, and the program
// folder that the settings and renderer files are found in.
#pragma once

#include <string>

#include "host/settings_file.h"

namespace kb {

// The process's one profile port: GetPrivateProfileStringA,
// WritePrivateProfileStringA and CreateFileA.
ProfilePort& win32ProfilePort();

// The folder of the running program, without a trailing backslash except at
// a drive root ("C:\"), where the files beside the program then get a doubled
// backslash ("C:\\Kolvane_Brightrun.ini"), which Windows accepts.
std::string programFolder();

// The settings file of the running program.
inline std::string settingsFile() {
  return settingsFilePath(programFolder());
}

}  // namespace kb
