// The show form's decisions: what its load handler does, its three timers,
// the mouse rule and the stop sequence. The Win32 glue (win32_show_form.cpp)
// carries them out through ShowPort and the music module.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/ansi_text.h"
#include "common/shared_state.h"
#include "music/background_music.h"

namespace kb {

enum class ShowTimer {
  Mp3Watch = 1,    // Timer1, 1000 ms, off at load
  CdWatch = 2,     // Timer2, 200 ms, off at load
  MouseWatch = 3,  // Timer3, 50 ms, on at load
};

// Interval of a show timer in milliseconds.
constexpr unsigned showTimerInterval(ShowTimer timer) {
  return timer == ShowTimer::Mp3Watch ? 1000u : timer == ShowTimer::CdWatch ? 200u : 50u;
}

// Which file operations a music file gets: the last three characters of its
// name (of the ANSI code page, so a double-byte one is one), upper-cased
// ("x.wav" and "x.Wav" are WAV; a dot is not required).
enum class MusicFileKind { None, Wav, Mp3 };
MusicFileKind musicFileKind(std::string_view bgmFile, LeadByteTest isLeadByte);

// The platform side of the show form.
class ShowPort {
 public:
  virtual ~ShowPort() = default;
  // Writes slide bitmap file `index`; false when it could not be written.
  virtual bool writeSlideFile(int index) = 0;
  // Starts the renderer process and forgets it; a failed start is passed over.
  virtual void startRenderer() = 0;
  // Creates the form's hidden window, whose title stops a second start.
  virtual void createWindow() = 0;
  // GetCursorPos: false when the position cannot be read.
  virtual bool cursorPosition(int& x, int& y) = 0;
  virtual void setTimer(ShowTimer timer, bool on) = 0;
  virtual bool timerOn(ShowTimer timer) = 0;
  // ShowCursor(flag): the new display counter.
  virtual std::int32_t showCursor(std::int32_t flag) = 0;
  // Ends the whole process at once.
  virtual void endProgram() = 0;
};

class Show {
 public:
  // modeLetter is the command line's mode letter: 'S', or '\0' for an empty
  // command line (the cursor was not hidden and is not shown again).
  // isLeadByte reads the music file's name (musicFileKind).
  Show(ShowPort& port, music::BackgroundMusic& music, SharedState& shared, char modeLetter,
       LeadByteTest isLeadByte);

  // Form_Load: the ten bitmaps and the renderer first, so that the renderer
  // starts while this program hides the cursor ("S" only) and makes its
  // window; then the mouse watch, the music and the start point.
  void FormLoad();
  // Timer1_Timer: keeps the MP3 going.
  void Mp3WatchTick();
  // Timer2_Timer: keeps the CD going, and stops watching once it cannot.
  void CdWatchTick();
  // Timer3_Timer: ends the show once the mouse has moved far enough.
  void MouseWatchTick();
  // Form_QueryUnload: any request to end the show, from the mouse watch or
  // from outside. Stops the music, gives the cursor back, ends the program.
  void QueryUnload();

 private:
  void writeSlideFiles();
  void startMusic();
  void rememberStartPoint();

  ShowPort& port_;
  music::BackgroundMusic& music_;
  SharedState& shared_;
  char modeLetter_;
  LeadByteTest isLeadByte_;
};

}  // namespace kb
