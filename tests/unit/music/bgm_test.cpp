// The music module against a scripted port: the exact commands, their order,
// the buffers they go with, and what the module makes of the replies.
#include "music/bgm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>
#include <vector>

namespace kb::music {
namespace {

struct Sent {
  std::string command;  // PlaySound calls read "PlaySound <name> <flags>"
  bool withBuffer;
  std::uint32_t length;
};

struct Answer {
  std::int32_t code;
  std::string reply;  // may hold NULs; copied as is, cut only at the buffer length
};

class FakePort : public MusicPort {
 public:
  std::int32_t sendString(const char* command, char* reply, std::uint32_t length) override {
    if (throwOn == command) throw std::runtime_error("device gone");
    sent.push_back({command, reply != nullptr, length});
    const auto it = answers.find(command);
    const Answer answer = it == answers.end() ? Answer{0, ""} : it->second;
    if (reply && answer.code == 0) {
      const std::size_t n = std::min<std::size_t>(answer.reply.size(), length);
      std::memcpy(reply, answer.reply.data(), n);
      if (n < length) reply[n] = '\0';
    }
    return answer.code;
  }
  bool errorString(std::int32_t code, char* buffer, std::uint32_t length) override {
    errorLengths.push_back(length);
    const auto it = errorTexts.find(code);
    if (it == errorTexts.end()) return false;
    std::snprintf(buffer, length, "%s", it->second.c_str());
    return true;
  }
  std::uint32_t waveOutDeviceCount() override { return waveDevices; }
  std::int32_t playSound(const char* name, std::uint32_t flags) override {
    sent.push_back(
        {"PlaySound " + std::string(name ? name : "(null)") + " " + std::to_string(flags), false,
         0});
    return playResult;
  }

  std::vector<std::string> commands() const {
    std::vector<std::string> out;
    for (const Sent& s : sent) out.push_back(s.command);
    return out;
  }

  std::vector<Sent> sent;
  std::map<std::string, Answer> answers;
  std::map<std::int32_t, std::string> errorTexts;
  std::vector<std::uint32_t> errorLengths;
  std::string throwOn;
  std::uint32_t waveDevices = 1;
  std::int32_t playResult = 1;
};

using Commands = std::vector<std::string>;

class BgmTest : public ::testing::Test {
 protected:
  // A disc of 12 tracks, track 4 playing, unless a test says otherwise.
  void insertDisc(const std::string& currentTrack, const std::string& mode) {
    port.answers["status cdaudio current track"] = {0, currentTrack};
    port.answers["status cdaudio number of tracks"] = {0, "12"};
    port.answers["status cdaudio mode"] = {0, mode};
  }

  FakePort port;
  SharedState shared;
  Bgm bgm{port, shared};
};

TEST_F(BgmTest, EmptyCommandSendsNothingAndQueryGivesErrorMinusOne) {
  shared.ApiResult = 77;
  std::string reply;
  EXPECT_EQ(bgm.MciCommand("", reply), -1);
  EXPECT_EQ(reply, kNoCommandText);
  EXPECT_EQ(shared.ApiResult, 77);
  EXPECT_EQ(bgm.MciQuery(""), "Error:-1");
  EXPECT_EQ(bgm.MciReply(), kNoCommandText);
  EXPECT_EQ(shared.ApiResult, -1);
  EXPECT_TRUE(port.sent.empty());
}

TEST_F(BgmTest, CommandReplyIsReadUpToItsFirstNulFromA512Buffer) {
  port.answers["status cdaudio length"] = {0, std::string("42:10\0junk", 10)};
  shared.ApiResult = 5;
  std::string reply;
  EXPECT_EQ(bgm.MciCommand("status cdaudio length", reply), 0);
  EXPECT_EQ(reply, "42:10");
  EXPECT_EQ(shared.ApiResult, 0);
  ASSERT_EQ(port.sent.size(), 1u);
  EXPECT_TRUE(port.sent[0].withBuffer);
  EXPECT_EQ(port.sent[0].length, 512u);

  // A device that fills the whole buffer without a NUL is read to the end, not past it.
  port.answers["info cdaudio"] = {0, std::string(600, 'x')};
  EXPECT_EQ(bgm.MciCommand("info cdaudio", reply), 0);
  EXPECT_EQ(reply, std::string(512, 'x'));
}

TEST_F(BgmTest, FailedCommandGivesTheCodeAndItsErrorText) {
  port.answers["open cdaudio"] = {266, ""};
  port.answers["open nothing"] = {999, ""};
  port.errorTexts[266] = "The CD device could not be opened.";
  std::string reply;
  EXPECT_EQ(bgm.MciCommand("open cdaudio", reply), 266);
  EXPECT_EQ(reply, "The CD device could not be opened.");
  EXPECT_EQ(shared.ApiResult, 266);
  EXPECT_EQ(bgm.MciCommand("open nothing", reply), 999);
  EXPECT_EQ(reply, kNoErrorText);
  EXPECT_EQ(port.errorLengths, (std::vector<std::uint32_t>{256, 256}));

  EXPECT_EQ(bgm.MciQuery("open cdaudio"), "Error:266");
  EXPECT_EQ(bgm.MciReply(), "The CD device could not be opened.");
  port.answers["status cdaudio mode"] = {0, "stopped"};
  EXPECT_EQ(bgm.MciQuery("status cdaudio mode"), "stopped");
  EXPECT_EQ(bgm.MciReply(), "stopped");
}

TEST_F(BgmTest, PlayCommandLeavesOutPositionsNotGiven) {
  bgm.MciPlay("cdaudio", "03:00:00:00", "05:00:00:00");
  bgm.MciPlay("cdaudio", "03:00:00:00", "");
  bgm.MciPlay("cdaudio", "", "05:00:00:00");
  port.answers["play cdaudio"] = {263, ""};
  port.errorTexts[263] = "bad device";
  EXPECT_EQ(bgm.MciPlay("cdaudio", "", ""), 263);
  EXPECT_EQ(bgm.MciReply(), "bad device");
  EXPECT_EQ(port.commands(), (Commands{"play cdaudio from 03:00:00:00 to 05:00:00:00",
                                       "play cdaudio from 03:00:00:00",
                                       "play cdaudio to 05:00:00:00", "play cdaudio"}));
}

TEST_F(BgmTest, CdOpenAndCloseSendWithoutReplyBuffer) {
  port.answers["open cdaudio"] = {266, ""};
  bgm.CdOpen();
  EXPECT_EQ(shared.ApiResult, 0);  // the second command's result
  port.answers["close cdaudio"] = {263, ""};
  bgm.CdClose();
  EXPECT_EQ(shared.ApiResult, 263);
  EXPECT_EQ(port.commands(), (Commands{"open cdaudio", "set cdaudio time format tmsf",
                                       "stop cdaudio", "close cdaudio"}));
  for (const Sent& s : port.sent) {
    EXPECT_FALSE(s.withBuffer);
    EXPECT_EQ(s.length, 0u);
  }
}

TEST_F(BgmTest, CdWatchStopsWhenAStatusQueryFails) {
  port.answers["status cdaudio current track"] = {266, ""};
  bgm.CdWatch();
  EXPECT_FALSE(bgm.CdWatchActive());
  EXPECT_EQ(port.commands(), (Commands{"status cdaudio current track"}));

  port.sent.clear();
  insertDisc("4", "playing");
  port.answers["status cdaudio number of tracks"] = {0, "error of the drive"};
  bgm.CdWatch();
  EXPECT_FALSE(bgm.CdWatchActive());
  EXPECT_EQ(port.commands(),
            (Commands{"status cdaudio current track", "status cdaudio number of tracks"}));
}

TEST_F(BgmTest, WholeDiscPlaysOnOnlyWhenStopped) {
  insertDisc("4", "stopped");
  bgm.CdWatch();
  EXPECT_TRUE(bgm.CdWatchActive());
  EXPECT_EQ(port.commands(),
            (Commands{"status cdaudio current track", "status cdaudio number of tracks",
                      "status cdaudio mode", "play cdaudio"}));
  EXPECT_TRUE(port.sent[2].withBuffer);
  EXPECT_EQ(port.sent[2].length, 255u);

  port.sent.clear();
  insertDisc("4", "playing");
  bgm.CdWatch();
  EXPECT_TRUE(bgm.CdWatchActive());
  EXPECT_EQ(port.sent.size(), 3u);
}

TEST_F(BgmTest, ModeIsJudgedByItsFirstSevenCharacters) {
  insertDisc("1", "stoppedXYZ");
  bgm.CdWatch();
  EXPECT_EQ(port.commands().back(), "play cdaudio");
  port.sent.clear();
  insertDisc("1", "stop");
  bgm.CdWatch();
  EXPECT_EQ(port.commands().back(), "status cdaudio mode");
}

TEST_F(BgmTest, FailedModeQueryDoesNotReuseAnEarlierStoppedReply) {
  insertDisc("1", "stopped");
  bgm.CdWatch();
  port.sent.clear();
  port.answers["status cdaudio mode"] = {263, ""};
  bgm.CdWatch();
  EXPECT_EQ(port.commands().back(), "status cdaudio mode");
  EXPECT_EQ(shared.ApiResult, 263);
}

TEST_F(BgmTest, RepeatTrackJumpsBackWhenAnotherTrackPlays) {
  shared.BgmRepeatTrack = 3;
  insertDisc("4", "playing");
  port.answers["status cdaudio position track 3"] = {0, "03:00:00:00"};
  bgm.CdWatch();
  EXPECT_TRUE(bgm.CdWatchActive());
  EXPECT_EQ(port.commands(),
            (Commands{"status cdaudio current track", "status cdaudio number of tracks",
                      "status cdaudio mode", "status cdaudio position track 3",
                      "play cdaudio from 03:00:00:00"}));

  for (const std::string& same :
       {std::string("3"), std::string("03"), std::string(" +3 "), "3." + std::string(400, '0')}) {
    port.sent.clear();
    insertDisc(same, "playing");
    bgm.CdWatch();
    EXPECT_EQ(port.sent.size(), 3u) << same;
  }
  for (const std::string& other : {std::string("3.5"), std::string("-3"), std::string(500, '9')}) {
    port.sent.clear();
    insertDisc(other, "playing");
    bgm.CdWatch();
    EXPECT_EQ(port.sent.size(), 5u) << other;
  }
  port.sent.clear();
  insertDisc("3", "stopped");
  bgm.CdWatch();
  EXPECT_EQ(port.commands().back(), "play cdaudio from 03:00:00:00");
}

TEST_F(BgmTest, RepeatTrackMissingFromTheDiscKeepsTheWatchRunning) {
  shared.BgmRepeatTrack = 30;
  insertDisc("2", "playing");
  port.answers["status cdaudio position track 30"] = {263, ""};
  port.answers["play cdaudio from Error:263"] = {257, ""};
  bgm.CdWatch();
  EXPECT_TRUE(bgm.CdWatchActive());
  EXPECT_EQ(port.commands().back(), "play cdaudio from Error:263");
  EXPECT_EQ(shared.ApiResult, 257);
}

TEST_F(BgmTest, CdWatchStopsOnAnUnreadableTrackOrAFailingDevice) {
  shared.BgmRepeatTrack = 3;
  for (const char* odd : {"", "  ", "three", "3x", "-", ".", "3..0", "1e0"}) {
    insertDisc(odd, "playing");
    bgm.CdWatch();
    EXPECT_FALSE(bgm.CdWatchActive()) << odd;
  }
  insertDisc("4", "playing");
  port.throwOn = "status cdaudio mode";
  bgm.CdWatch();
  EXPECT_FALSE(bgm.CdWatchActive());
}

TEST_F(BgmTest, Mp3StartQuotesThePathAndPlaysOnlyWhenOpened) {
  shared.BgmFile = "C:\\My Music\\a b.mp3";
  shared.ApiResult = 9;
  bgm.Mp3Start();
  EXPECT_EQ(
      port.commands(),
      (Commands{"open \"C:\\My Music\\a b.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play"}));
  EXPECT_FALSE(port.sent[0].withBuffer);
  EXPECT_EQ(port.sent[1].length, 0u);
  EXPECT_EQ(shared.ApiResult, 9);

  port.sent.clear();
  port.answers["open \"C:\\gone.mp3\" type MPEGVideo Alias MP3Play"] = {275, ""};
  shared.BgmFile = "C:\\gone.mp3";
  bgm.Mp3Start();
  EXPECT_EQ(port.sent.size(), 1u);
  EXPECT_EQ(shared.ApiResult, 9);
}

TEST_F(BgmTest, PathThatNoFileCanHaveIsNotSent) {
  // A quote would end the quoted path and turn the rest into command words.
  shared.BgmFile = "C:\\a\" alias x.mp3";
  bgm.Mp3Start();
  // The sound player parses no quotes, so only a NUL (which would cut the name) stops it.
  shared.BgmFile = "C:\\a\".wav";
  bgm.WavStart();
  shared.BgmFile = std::string("C:\\a\0b.mp3", 11);
  bgm.Mp3Start();
  bgm.WavStart();
  EXPECT_EQ(port.commands(), (Commands{"PlaySound C:\\a\".wav 11"}));

  port.sent.clear();
  shared.BgmFile = "C:\\" + std::string(100000, '\xff') + ".mp3";
  bgm.Mp3Start();
  EXPECT_EQ(port.commands().at(0), "open \"" + shared.BgmFile + "\" type MPEGVideo Alias MP3Play");
}

TEST_F(BgmTest, Mp3WatchRestartsFromZeroUnlessPlaying) {
  port.answers["status MP3Play mode"] = {0, "playing"};
  bgm.Mp3Watch();
  EXPECT_EQ(port.commands(), (Commands{"status MP3Play mode"}));
  EXPECT_TRUE(port.sent[0].withBuffer);
  EXPECT_EQ(port.sent[0].length, 30u);

  for (const Answer& notPlaying :
       {Answer{0, "stopped"}, Answer{0, "paused"}, Answer{0, "play"}, Answer{263, "playing"}}) {
    port.sent.clear();
    port.answers["status MP3Play mode"] = notPlaying;
    bgm.Mp3Watch();
    EXPECT_EQ(port.commands(),
              (Commands{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));
    EXPECT_FALSE(port.sent[2].withBuffer);
  }
  port.answers["status MP3Play mode"] = {0, std::string(40, 'p')};
  EXPECT_FALSE(bgm.Mp3IsPlaying());
  port.answers["status MP3Play mode"] = {0, "playing" + std::string(40, '!')};
  EXPECT_TRUE(bgm.Mp3IsPlaying());
}

TEST_F(BgmTest, Mp3StopStopsThenCloses) {
  shared.ApiResult = 4;
  bgm.Mp3Stop();
  EXPECT_EQ(port.commands(), (Commands{"stop MP3Play", "close MP3Play"}));
  EXPECT_EQ(shared.ApiResult, 4);
}

TEST_F(BgmTest, WavPlaysLoopedOnlyWithAWaveDevice) {
  shared.BgmFile = "C:\\music\\loop.wav";
  shared.ApiResult = 3;
  port.waveDevices = 0;
  bgm.WavStart();
  EXPECT_TRUE(port.sent.empty());
  EXPECT_EQ(shared.ApiResult, 3);

  port.waveDevices = 1;
  port.playResult = 1;
  bgm.WavStart();
  EXPECT_EQ(shared.ApiResult, 1);
  port.playResult = 0;
  bgm.WavStop();
  EXPECT_EQ(shared.ApiResult, 0);
  EXPECT_EQ(port.commands(), (Commands{"PlaySound C:\\music\\loop.wav 11", "PlaySound (null) 0"}));
}

}  // namespace
}  // namespace kb::music
