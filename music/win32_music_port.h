// The music port over the Windows multimedia library (winmm).
#pragma once

#include "music/bgm.h"

namespace kb::music {

// The process's one winmm port.
MusicPort& win32MusicPort();

}  // namespace kb::music
