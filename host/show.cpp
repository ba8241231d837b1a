#include "host/show.h"

#include <cstdlib>
#include <string>

#include "common/mouse_rule.h"
#include "common/slide_files.h"

namespace kb {
namespace {

constexpr std::int16_t kKindCd = 1;
constexpr std::int16_t kKindMusicFile = 2;

}  // namespace

MusicFileKind musicFileKind(std::string_view bgmFile, LeadByteTest isLeadByte) {
  const auto characters = ansiCharacters(bgmFile, isLeadByte);
  if (characters.size() < 3) return MusicFileKind::None;
  std::string ending;
  for (std::size_t i = characters.size() - 3; i < characters.size(); ++i)
    for (char c : characters[i]) ending += asciiUpper(c);
  if (ending == "WAV") return MusicFileKind::Wav;
  if (ending == "MP3") return MusicFileKind::Mp3;
  return MusicFileKind::None;
}

Show::Show(ShowPort& port, music::BackgroundMusic& music, SharedState& shared, char modeLetter,
           LeadByteTest isLeadByte)
    : port_(port),
      music_(music),
      shared_(shared),
      modeLetter_(modeLetter),
      isLeadByte_(isLeadByte) {}

void Show::FormLoad() {
  writeSlideFiles();
  port_.startRenderer();
  // NOTE: after the renderer's start, which hiding the cursor would delay:
  // the first hide loads the display driver and its theme.
  if (modeLetter_ == 'S') shared_.CursorCount = port_.showCursor(0);
  port_.createWindow();
  port_.setTimer(ShowTimer::MouseWatch, true);
  startMusic();
  rememberStartPoint();
}

void Show::writeSlideFiles() {
  // All ten are written before the renderer starts: that order is the only
  // coupling between the two programs. A file that fails is skipped.
  for (int index = 0; index < kSlideFileCount; ++index) port_.writeSlideFile(index);
}

void Show::startMusic() {
  if (shared_.BgmKind == kKindCd) {
    // The CD watch starts the play on its first tick that finds it stopped.
    music_.CdOpen();
    port_.setTimer(ShowTimer::CdWatch, true);
  } else if (shared_.BgmKind == kKindMusicFile) {
    switch (musicFileKind(shared_.BgmFile, isLeadByte_)) {
      case MusicFileKind::Wav:
        music_.WavStart();
        break;
      case MusicFileKind::Mp3:
        music_.Mp3Start();
        port_.setTimer(ShowTimer::Mp3Watch, true);
        break;
      case MusicFileKind::None:
        break;
    }
  }
}

void Show::rememberStartPoint() {
  int x = 0, y = 0;
  const bool known = port_.cursorPosition(x, y);
  shared_.CursorStartX = static_cast<std::int16_t>(known ? x : 0);
  shared_.CursorStartY = static_cast<std::int16_t>(known ? y : 0);
}

void Show::Mp3WatchTick() {
  music_.Mp3Watch();
}

void Show::CdWatchTick() {
  music_.CdWatch();
  port_.setTimer(ShowTimer::CdWatch, music_.CdWatchActive());
}

void Show::MouseWatchTick() {
  int x = 0, y = 0;
  if (!port_.cursorPosition(x, y)) return;  // no point to compare: wait for the next tick
  if (!pointerMovedFarEnough(shared_.CursorStartX, shared_.CursorStartY, x, y)) return;
  port_.setTimer(ShowTimer::MouseWatch, false);
  QueryUnload();
}

void Show::QueryUnload() {
  if (port_.timerOn(ShowTimer::CdWatch)) {
    port_.setTimer(ShowTimer::CdWatch, false);
    music_.CdClose();
  }
  if (shared_.BgmKind == kKindMusicFile) {
    switch (musicFileKind(shared_.BgmFile, isLeadByte_)) {
      case MusicFileKind::Wav:
        music_.WavStop();
        break;
      case MusicFileKind::Mp3:
        music_.Mp3Stop();
        break;
      case MusicFileKind::None:
        break;
    }
  }
  if (modeLetter_ == 'S') shared_.CursorCount = port_.showCursor(shared_.CursorCount);
  port_.endProgram();
}

}  // namespace kb
