// The music port over the Windows multimedia library (winmm).
#pragma once

#include <memory>

#include "music/bgm.h"

namespace kb::music {

// The process's one winmm port.
MusicPort& win32MusicPort();

// A port over the system folder's `dll` in winmm's place, for tests.
std::unique_ptr<MusicPort> win32MusicPortOver(const char* dll);

}  // namespace kb::music
