// Windows' DLLs that are not on the KnownDLLs list (winmm, opengl32, glu32)
// are never imported: Windows would look for them in the program's folder
// first, where a planted file of the same name would then run. Each program
// takes them from the system folder by full path instead, through tables of
// function pointers filled here.
#pragma once

#include <cstddef>

namespace kb {

// One function to take from a system DLL, and where its address goes.
struct SystemFunction {
  const char* name;
  void** slot;
};

// Keeps every later DLL search (Windows' own included) to the system folder,
// never the program's or the current folder. The first thing each program does.
void restrictDllSearchToSystemFolder();

// A function of a system DLL the program has loaded already (kernel32,
// user32), which an older Windows may lack: null then.
void* loadedFunction(const char* dll, const char* name);

// Loads `dll` from the system folder and fills every slot; false, with the
// slots left as they were, when the DLL or one of the functions is missing.
bool bindSystemFunctions(const char* dll, const SystemFunction* functions, std::size_t count);

}  // namespace kb
