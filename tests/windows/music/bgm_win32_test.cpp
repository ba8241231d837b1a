// The music module over the real winmm under Wine: an MP3 in a folder with
// spaces plays, ends and is restarted; a WAV loops through the sound player;
// a machine without a CD drive or a wave device plays nothing and stops the watch.
// clang-format off
#include <windows.h>
#include <mmsystem.h>  // after windows.h, whose types it uses
// clang-format on

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "music/bgm.h"
#include "music/win32_music_port.h"

namespace kb::music {
namespace {

// Passes every call to winmm and keeps what was sent and what came back.
class RecordingPort : public MusicPort {
 public:
  struct Call {
    std::string command;
    std::int32_t result;
  };

  std::int32_t sendString(const char* command, char* reply, std::uint32_t length) override {
    const std::int32_t code = real.sendString(command, reply, length);
    calls.push_back({command, code});
    return code;
  }
  bool errorString(std::int32_t code, char* buffer, std::uint32_t length) override {
    return real.errorString(code, buffer, length);
  }
  std::uint32_t waveOutDeviceCount() override { return real.waveOutDeviceCount(); }
  std::int32_t playSound(const char* name, std::uint32_t flags) override {
    const std::int32_t result = real.playSound(name, flags);
    calls.push_back(
        {"PlaySound " + std::string(name ? name : "(null)") + " " + std::to_string(flags), result});
    return result;
  }

  MusicPort& real = win32MusicPort();
  std::vector<Call> calls;
};

// A copy of a test tone in a temporary folder whose names hold spaces.
std::string copyToFolderWithSpaces(const char* tone, const char* name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "kb music test";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string target = folder + "\\" + name;
  const std::string source = std::string(KB_AUDIO_DIR) + "/" + tone;
  if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) return "";
  return target;
}

// Polls until the condition holds or the deadline passes.
template <typename Condition>
bool waitFor(Condition condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

class WinmmMusic : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_GT(waveOutGetNumDevs(), 0u) << "needs the ALSA null device of scripts/wine-env";
  }
  RecordingPort port;
  SharedState shared;
  Bgm bgm{port, shared};
};

TEST_F(WinmmMusic, Mp3InAFolderWithSpacesPlaysEndsAndIsRestarted) {
  shared.BgmFile = copyToFolderWithSpaces("tone.mp3", "short tone.mp3");
  ASSERT_FALSE(shared.BgmFile.empty());
  bgm.Mp3Start();
  ASSERT_EQ(port.calls.size(), 2u);
  EXPECT_EQ(port.calls[0].command, "open \"" + shared.BgmFile + "\" type MPEGVideo Alias MP3Play");
  EXPECT_EQ(port.calls[0].result, 0);
  EXPECT_EQ(port.calls[1].command, "play MP3Play");
  EXPECT_EQ(port.calls[1].result, 0);
  EXPECT_TRUE(bgm.Mp3IsPlaying());

  // The tone lasts 1.5 s; its end shows as "stopped".
  EXPECT_TRUE(waitFor([&] { return !bgm.Mp3IsPlaying(); }, 10000));
  std::string mode;
  EXPECT_EQ(bgm.MciCommand("status MP3Play mode", mode), 0);
  EXPECT_EQ(mode, "stopped");

  port.calls.clear();
  bgm.Mp3Watch();
  ASSERT_EQ(port.calls.size(), 3u);
  EXPECT_EQ(port.calls[1].command, "stop MP3Play");
  EXPECT_EQ(port.calls[2].command, "play MP3Play from 0");
  EXPECT_EQ(port.calls[2].result, 0);
  EXPECT_TRUE(bgm.Mp3IsPlaying());

  bgm.Mp3Stop();
  EXPECT_EQ(port.calls.back().command, "close MP3Play");
  EXPECT_EQ(port.calls.back().result, 0);
  EXPECT_EQ(bgm.MciQuery("status MP3Play mode").rfind("Error:", 0), 0u);
  DeleteFileA(shared.BgmFile.c_str());
}

TEST_F(WinmmMusic, WavLoopsThroughTheSoundPlayerUntilStopped) {
  shared.BgmFile = copyToFolderWithSpaces("tone.wav", "short tone.wav");
  ASSERT_FALSE(shared.BgmFile.empty());
  bgm.WavStart();
  ASSERT_EQ(port.calls.size(), 1u);
  // SND_ASYNC | SND_LOOP | SND_NODEFAULT: never the system's default sound.
  EXPECT_EQ(port.calls[0].command, "PlaySound " + shared.BgmFile + " 11");
  EXPECT_EQ(shared.ApiResult, TRUE);
  bgm.WavStop();
  EXPECT_EQ(port.calls.back().command, "PlaySound (null) 0");
  EXPECT_EQ(shared.ApiResult, TRUE);
  DeleteFileA(shared.BgmFile.c_str());

  // A WAV gone since the settings were read: asked for without the default
  // sound (which Wine's prefix could not play anyway), and the music stops
  // cleanly after it.
  bgm.WavStart();
  EXPECT_EQ(port.calls.back().command, "PlaySound " + shared.BgmFile + " 11");
  bgm.WavStop();
  EXPECT_EQ(port.calls.back().command, "PlaySound (null) 0");
  EXPECT_EQ(shared.ApiResult, TRUE);
}

TEST_F(WinmmMusic, WithoutACdDriveTheFirstWatchTickStopsTheWatch) {
  bgm.CdOpen();
  ASSERT_EQ(port.calls.size(), 2u);
  EXPECT_EQ(port.calls[0].command, "open cdaudio");
  EXPECT_EQ(port.calls[0].result, 266);
  EXPECT_EQ(port.calls[1].command, "set cdaudio time format tmsf");
  EXPECT_NE(port.calls[1].result, 0);
  EXPECT_EQ(shared.ApiResult, port.calls[1].result);

  port.calls.clear();
  bgm.CdWatch();
  EXPECT_FALSE(bgm.CdWatchActive());
  ASSERT_EQ(port.calls.size(), 1u);
  EXPECT_EQ(port.calls[0].command, "status cdaudio current track");
  EXPECT_EQ(shared.ApiResult, port.calls[0].result);

  // The device's own text for the code comes back, not the fallback.
  char text[256] = {};
  ASSERT_TRUE(mciGetErrorStringA(static_cast<MCIERROR>(port.calls[0].result), text, 256));
  EXPECT_EQ(bgm.MciReply(), text);
  EXPECT_NE(bgm.MciReply(), kNoErrorText);
}

// The module's own texts are Shift-JIS bytes: the system's code page 932
// reads them as the intended Japanese.
TEST(MusicTexts, ReadAsTheIntendedJapaneseInCodePage932) {
  const auto wide = [](const char* text) {
    wchar_t buffer[64] = {};
    MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text, -1, buffer, 64);
    return std::wstring(buffer);
  };
  EXPECT_EQ(wide(kNoCommandText), L"コマンド文字列が指定されていません");
  EXPECT_EQ(wide(kNoErrorText), L"Error (文字列が取れません)");
}

TEST(NoSoundDevice, NothingPlaysAndTheMp3WatchFailsHarmlessly) {
  ASSERT_EQ(waveOutGetNumDevs(), 0u) << "needs KB_NO_SOUND_DEVICE=1";
  RecordingPort port;
  SharedState shared;
  Bgm bgm{port, shared};
  shared.ApiResult = 12345;
  shared.BgmFile = copyToFolderWithSpaces("tone.wav", "short tone.wav");
  bgm.WavStart();
  EXPECT_TRUE(port.calls.empty());
  EXPECT_EQ(shared.ApiResult, 12345);

  shared.BgmFile = copyToFolderWithSpaces("tone.mp3", "short tone.mp3");
  bgm.Mp3Start();
  ASSERT_EQ(port.calls.size(), 1u);  // the open fails, so no play
  EXPECT_NE(port.calls[0].result, 0);
  bgm.Mp3Watch();
  ASSERT_EQ(port.calls.size(), 4u);
  EXPECT_EQ(port.calls[3].command, "play MP3Play from 0");
  EXPECT_NE(port.calls[3].result, 0);
  EXPECT_EQ(shared.ApiResult, 12345);
}

TEST(NoWinmm, EveryRequestAnswersAsOnAMachineWithoutASoundDevice) {
  const auto port = win32MusicPortOver("kb_no_such_winmm.dll");
  char reply[32] = "untouched";
  EXPECT_EQ(port->sendString("open cdaudio", reply, sizeof reply), MCIERR_DEVICE_NOT_INSTALLED);
  EXPECT_STREQ(reply, "untouched");
  EXPECT_FALSE(port->errorString(MCIERR_DEVICE_NOT_INSTALLED, reply, sizeof reply));
  EXPECT_EQ(port->waveOutDeviceCount(), 0u);
  EXPECT_EQ(port->playSound("C:\\tone.wav", kPlayLoopedAsync), FALSE);

  // The music module over it plays nothing and goes on.
  SharedState shared;
  Bgm bgm{*port, shared};
  shared.BgmFile = copyToFolderWithSpaces("tone.mp3", "short tone.mp3");
  bgm.Mp3Start();
  EXPECT_FALSE(bgm.Mp3IsPlaying());
  DeleteFileA(shared.BgmFile.c_str());
}

}  // namespace
}  // namespace kb::music
