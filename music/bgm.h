// Background music of the show (module Q_Tavel_BGM): a music CD and MP3 files
// driven by MCI command strings, WAV files through the system sound player, and
// the two watch operations that keep the music going while the show runs.
//
// All texts are ANSI code-page strings, as they go to and come from the ANSI
// multimedia calls. The module's own two Japanese texts (for an empty command
// and for a code without an error text) are therefore Shift-JIS bytes; they
// only travel back to callers and are never displayed by the module.
//
// Choices where the callers see a difference:
// - A music file path holding a NUL (which the C calls would cut) is neither
//   opened nor played; an MP3 path holding a double quote is not opened either,
//   since the quote would end the quoted path and the rest would be read as
//   command words. No Windows file name holds either character.
// - Every reply buffer is cleared before its command, so a failed mode query
//   never shows the previous tick's mode.
// - A current-track reply that is not a number (blanks, a sign, digits and an
//   optional decimal fraction) fails the CD watch tick when a repeat track is set.
// - The MP3 operations keep their results out of ApiResult; the CD, WAV and
//   MciCommand/MciQuery results go into it.
#pragma once

#include <cstdint>
#include <string>

#include "common/shared_state.h"
#include "music/background_music.h"

namespace kb::music {

// The four multimedia calls the module uses, as the module uses them. The
// Win32 glue forwards them to winmm; unit tests fake them.
class MusicPort {
 public:
  virtual ~MusicPort() = default;
  // mciSendStringA(command, reply, replyLength, 0): 0 or an MCI error code.
  // reply may be null with replyLength 0 when no reply is wanted.
  virtual std::int32_t sendString(const char* command, char* reply, std::uint32_t replyLength) = 0;
  // mciGetErrorStringA(code, buffer, length): true when a text was written.
  virtual bool errorString(std::int32_t code, char* buffer, std::uint32_t length) = 0;
  // waveOutGetNumDevs().
  virtual std::uint32_t waveOutDeviceCount() = 0;
  // PlaySoundA(name, 0, flags); name may be null (stops the sound).
  virtual std::int32_t playSound(const char* name, std::uint32_t flags) = 0;
};

// Buffer sizes of the module's replies (characters, NUL included).
constexpr std::uint32_t kReplyBufferSize = 512;
constexpr std::uint32_t kCdModeBufferSize = 256;  // passed with length 255
constexpr std::uint32_t kErrorTextBufferSize = 256;
constexpr std::uint32_t kMp3ModeBufferSize = 30;

// PlaySoundA flags: SND_ASYNC | SND_LOOP | SND_NODEFAULT. Without
// SND_NODEFAULT a file Windows cannot play (gone, unreadable, an unknown
// format) plays the system's default sound instead, looped for the whole show
// (PlaySound, Microsoft Learn: "If the sound cannot be found, PlaySound uses
// the default system event sound ... SND_NODEFAULT: No default sound event is
// used").
constexpr std::uint32_t kPlayLoopedAsync = 0x0001 | 0x0008 | 0x0002;

// Result of MciCommand for an empty command (nothing sent).
constexpr std::int32_t kEmptyCommand = -1;

// Reply for an empty command: "コマンド文字列が指定されていません" in Shift-JIS.
extern const char* const kNoCommandText;
// Reply when the error text of a code cannot be had: "Error (文字列が取れません)" in Shift-JIS.
extern const char* const kNoErrorText;

class Bgm final : public BackgroundMusic {
 public:
  Bgm(MusicPort& port, SharedState& shared);

  // Sends one command; reply receives the reply or the error text.
  std::int32_t MciCommand(const std::string& command, std::string& reply);
  // The reply of a command, or "Error:" and the code when it failed.
  std::string MciQuery(const std::string& command);
  // "play <device> [from <from>] [to <to>]"; empty positions are left out.
  std::int32_t MciPlay(const std::string& device, const std::string& from, const std::string& to);

  void CdOpen() override;
  void CdWatch() override;
  void CdClose() override;
  bool CdWatchActive() const override { return cdWatchActive_; }

  void Mp3Start() override;
  bool Mp3IsPlaying();
  void Mp3Watch() override;
  void Mp3Stop() override;

  void WavStart() override;
  void WavStop() override;

  // Reply, or error text, of the last command sent through MciQuery or MciPlay.
  const std::string& MciReply() const { return mciReply_; }

 private:
  bool cdWatchTick();
  std::int32_t sendWithoutReply(const char* command);

  MusicPort& port_;
  SharedState& shared_;
  bool cdWatchActive_ = false;
  std::string mciReply_;
  char reply_[kReplyBufferSize] = {};
  char cdMode_[kCdModeBufferSize] = {};
  char errorText_[kErrorTextBufferSize] = {};
  char mp3Mode_[kMp3ModeBufferSize] = {};
};

}  // namespace kb::music
