// The settings file over the Windows ANSI profile functions, and the program
// folder that the settings and renderer files are found in.
#pragma once

#include <string>

#include "host/program_folder.h"
#include "host/settings_file.h"

namespace kb {

// The process's one profile port: GetPrivateProfileStringA,
// WritePrivateProfileStringA and CreateFileA.
ProfilePort& win32ProfilePort();

// The folder of the running program (see program_folder.h).
const ProgramFolder& programFolder();

// The settings file of the running program for the ANSI profile functions;
// empty when its folder has no ANSI spelling, so it cannot be read or written.
std::string settingsFile();

// Whether the renderer lies beside the program: FileExists on its ANSI path,
// or a Unicode open when the folder has no ANSI spelling.
bool rendererFileExists();

}  // namespace kb
