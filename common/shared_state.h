// State that the screensaver program's forms and modules share for the whole
// process: the music settings and a few values remembered between handlers.
#pragma once

#include <cstdint>
#include <string>

namespace kb {

struct SharedState {
  std::int16_t BgmKind = 0;         // 0 none, 1 music CD, 2 MP3 or WAV file
  std::int16_t BgmRepeatTrack = 0;  // CD track to repeat, 0 for the whole disc
  std::string BgmFile;              // full path of the music file (ANSI code page bytes)
  std::int16_t CursorStartX = 0;    // cursor point remembered at load
  std::int16_t CursorStartY = 0;
  std::int32_t ApiResult = 0;    // result of the last system call kept
  std::int32_t CursorCount = 0;  // display counter from hiding the cursor
};

}  // namespace kb
