// Background music logic over the music port (see bgm.h).
#include "music/bgm.h"

#include <cstring>

#include "common/ansi_text.h"

namespace kb::music {

// "コマンド文字列が指定されていません"
const char* const kNoCommandText =
    "\x83R\x83}\x83\x93\x83h\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8ew\x92\xe8\x82\xb3\x82\xea\x82\xc4"
    "\x82\xa2\x82\xdc\x82\xb9\x82\xf1";
// "Error (文字列が取れません)"
const char* const kNoErrorText =
    "Error (\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8e\xe6\x82\xea\x82\xdc\x82\xb9\x82\xf1)";

namespace {

// A buffer's text up to its first NUL; a buffer that a device filled to the
// end without one is read to its end, never past it.
std::string textOf(const char* buffer, std::uint32_t size) {
  const void* nul = std::memchr(buffer, '\0', size);
  const std::size_t length = nul ? static_cast<const char*>(nul) - buffer : size;
  return std::string(buffer, length);
}

std::string firstSevenOf(const char* buffer, std::uint32_t size) {
  return textOf(buffer, size).substr(0, 7);
}

// Failed replies are recognised by "ERR" in any case, which "Error:" always has.
bool looksFailed(const std::string& reply) {
  std::string upper = reply;
  for (char& c : upper) c = asciiUpper(c);
  return upper.find("ERR") != std::string::npos;
}

// Reads a device's number reply: blanks around, an optional sign, digits with
// an optional decimal fraction. Anything else is not a number.
bool readAsNumber(const std::string& text, double& value) {
  std::size_t i = text.find_first_not_of(' ');
  const std::size_t end = text.find_last_not_of(' ') + 1;
  if (i == std::string::npos) return false;
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  double number = 0;
  double scale = 1;  // place value of the last fraction digit read
  bool inFraction = false;
  bool digits = false;
  for (; i < end; ++i) {
    const char c = text[i];
    if (c == '.' && !inFraction) {
      inFraction = true;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (inFraction) {
        scale /= 10;
        number += (c - '0') * scale;
      } else {
        number = number * 10 + (c - '0');
      }
    } else {
      return false;
    }
  }
  value = negative ? -number : number;
  return digits;
}

// The C calls end a text at its first NUL: a name holding one would name a
// different file.
bool passesAsCText(const std::string& text) {
  return text.find('\0') == std::string::npos;
}

// A double quote would end the quoted path early and turn the rest of it into
// command words. No Windows file name holds one, so such a path names no file.
bool passesInMciQuotes(const std::string& path) {
  return passesAsCText(path) && path.find('"') == std::string::npos;
}

}  // namespace

Bgm::Bgm(MusicPort& port, SharedState& shared) : port_(port), shared_(shared) {}

std::int32_t Bgm::MciCommand(const std::string& command, std::string& reply) {
  if (command.empty()) {
    reply = kNoCommandText;
    return kEmptyCommand;
  }
  std::memset(reply_, 0, sizeof reply_);
  const std::int32_t code = port_.sendString(command.c_str(), reply_, kReplyBufferSize);
  shared_.ApiResult = code;
  if (code == 0) {
    reply = textOf(reply_, kReplyBufferSize);
    return 0;
  }
  std::memset(errorText_, 0, sizeof errorText_);
  if (port_.errorString(code, errorText_, kErrorTextBufferSize)) {
    reply = textOf(errorText_, kErrorTextBufferSize);
  } else {
    reply = kNoErrorText;
  }
  return code;
}

std::string Bgm::MciQuery(const std::string& command) {
  const std::int32_t code = MciCommand(command, mciReply_);
  shared_.ApiResult = code;
  return code == 0 ? mciReply_ : "Error:" + std::to_string(code);
}

std::int32_t Bgm::MciPlay(const std::string& device, const std::string& from,
                          const std::string& to) {
  std::string command = "play " + device;
  if (!from.empty()) command += " from " + from;
  if (!to.empty()) command += " to " + to;
  return MciCommand(command, mciReply_);
}

std::int32_t Bgm::sendWithoutReply(const char* command) {
  return port_.sendString(command, nullptr, 0);
}

void Bgm::CdOpen() {
  shared_.ApiResult = sendWithoutReply("open cdaudio");
  shared_.ApiResult = sendWithoutReply("set cdaudio time format tmsf");
}

void Bgm::CdWatch() {
  cdWatchActive_ = true;
  try {
    cdWatchActive_ = cdWatchTick();
  } catch (...) {
    // A tick that fails in any way stops the watch rather than the show.
    cdWatchActive_ = false;
  }
}

// Returns whether the watch goes on.
bool Bgm::cdWatchTick() {
  const std::string currentTrack = MciQuery("status cdaudio current track");
  if (looksFailed(currentTrack)) return false;
  if (looksFailed(MciQuery("status cdaudio number of tracks"))) return false;

  std::memset(cdMode_, 0, sizeof cdMode_);
  shared_.ApiResult = port_.sendString("status cdaudio mode", cdMode_, kCdModeBufferSize - 1);
  const bool stopped = firstSevenOf(cdMode_, kCdModeBufferSize) == "stopped";

  const std::int16_t repeatTrack = shared_.BgmRepeatTrack;
  if (repeatTrack == 0) {
    // Carries on from the current position, so the whole disc plays on.
    if (stopped) MciPlay("cdaudio", "", "");
    return true;
  }
  double current = 0;
  if (!readAsNumber(currentTrack, current)) return false;
  if (stopped || current != repeatTrack) {
    // Plays from the repeat track on; the next track's first tick jumps back.
    const std::string start =
        MciQuery("status cdaudio position track " + std::to_string(repeatTrack));
    MciPlay("cdaudio", start, "");
  }
  return true;
}

void Bgm::CdClose() {
  shared_.ApiResult = sendWithoutReply("stop cdaudio");
  shared_.ApiResult = sendWithoutReply("close cdaudio");
}

void Bgm::Mp3Start() {
  if (!passesInMciQuotes(shared_.BgmFile)) return;
  const std::string open = "open \"" + shared_.BgmFile + "\" type MPEGVideo Alias MP3Play";
  if (sendWithoutReply(open.c_str()) == 0) sendWithoutReply("play MP3Play");
}

bool Bgm::Mp3IsPlaying() {
  std::memset(mp3Mode_, 0, sizeof mp3Mode_);
  port_.sendString("status MP3Play mode", mp3Mode_, kMp3ModeBufferSize);
  return firstSevenOf(mp3Mode_, kMp3ModeBufferSize) == "playing";
}

void Bgm::Mp3Watch() {
  if (Mp3IsPlaying()) return;
  sendWithoutReply("stop MP3Play");
  sendWithoutReply("play MP3Play from 0");
}

void Bgm::Mp3Stop() {
  sendWithoutReply("stop MP3Play");
  sendWithoutReply("close MP3Play");
}

void Bgm::WavStart() {
  if (port_.waveOutDeviceCount() == 0 || !passesAsCText(shared_.BgmFile)) return;
  shared_.ApiResult = port_.playSound(shared_.BgmFile.c_str(), kPlayLoopedAsync);
}

void Bgm::WavStop() {
  shared_.ApiResult = port_.playSound(nullptr, 0);
}

}  // namespace kb::music
