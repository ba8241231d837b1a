// The show form's decisions: load order, music per kind, the mouse rule and
// the stop sequence, over fakes that record every call in order.
#include "host/show.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tests/unit/code_pages.h"

namespace kb {
namespace {

using Calls = std::vector<std::string>;

class FakeShow final : public ShowPort, public music::BackgroundMusic {
 public:
  bool writeSlideFile(int index) override {
    calls.push_back("write " + std::to_string(index));
    return index != failingSlide;
  }
  void startRenderer() override { calls.push_back("renderer"); }
  void createWindow() override { calls.push_back("window"); }
  bool cursorPosition(int& x, int& y) override {
    if (!cursorKnown) return false;
    x = cursorX;
    y = cursorY;
    return true;
  }
  void setTimer(ShowTimer timer, bool on) override {
    timers[timer] = on;
    calls.push_back(std::string(on ? "on " : "off ") + std::to_string(static_cast<int>(timer)));
  }
  bool timerOn(ShowTimer timer) override { return timers[timer]; }
  std::int32_t showCursor(std::int32_t flag) override {
    calls.push_back("ShowCursor " + std::to_string(flag));
    return flag != 0 ? ++displayCount : --displayCount;
  }
  void endProgram() override { calls.push_back("end"); }

  void CdOpen() override { calls.push_back("CdOpen"); }
  void CdWatch() override { calls.push_back("CdWatch"); }
  void CdClose() override { calls.push_back("CdClose"); }
  bool CdWatchActive() const override { return cdActive; }
  void Mp3Start() override { calls.push_back("Mp3Start"); }
  void Mp3Watch() override { calls.push_back("Mp3Watch"); }
  void Mp3Stop() override { calls.push_back("Mp3Stop"); }
  void WavStart() override { calls.push_back("WavStart"); }
  void WavStop() override { calls.push_back("WavStop"); }

  Calls calls;
  std::map<ShowTimer, bool> timers{{ShowTimer::MouseWatch, true}};
  int failingSlide = -1;
  std::int32_t displayCount = 0;
  bool cursorKnown = true;
  int cursorX = 500, cursorY = 400;
  bool cdActive = true;
};

const Calls kWrites = {"write 0", "write 1", "write 2", "write 3", "write 4",
                       "write 5", "write 6", "write 7", "write 8", "write 9"};

Calls loadThen(Calls tail) {
  Calls all = kWrites;
  all.insert(all.end(), {"renderer", "ShowCursor 0", "window", "on 3"});
  all.insert(all.end(), tail.begin(), tail.end());
  return all;
}

SharedState settings(std::int16_t kind, const char* file) {
  SharedState shared;
  shared.BgmKind = kind;
  shared.BgmFile = file;
  return shared;
}

TEST(MusicFileKind, ComparesTheLastThreeCharactersUpperCased) {
  EXPECT_EQ(musicFileKind("C:\\a.wav", test::cp932LeadByte), MusicFileKind::Wav);
  EXPECT_EQ(musicFileKind("C:\\a.Mp3", test::cp932LeadByte), MusicFileKind::Mp3);
  EXPECT_EQ(musicFileKind("songmp3", test::cp932LeadByte), MusicFileKind::Mp3);
  EXPECT_EQ(musicFileKind("C:\\a.mid", test::cp932LeadByte), MusicFileKind::None);
  EXPECT_EQ(musicFileKind("C:\\a.mpeg", test::cp932LeadByte), MusicFileKind::None);
  EXPECT_EQ(musicFileKind("av", test::cp932LeadByte), MusicFileKind::None);
  EXPECT_EQ(musicFileKind("", test::cp932LeadByte), MusicFileKind::None);
  // xジAV: ジ (83 57) is one character, whose second byte is "W".
  EXPECT_EQ(musicFileKind("x\x83\x57"
                          "AV",
                          test::cp932LeadByte),
            MusicFileKind::None);
  EXPECT_EQ(musicFileKind("x\x83\x57"
                          "AV",
                          test::singleByte),
            MusicFileKind::Wav);
  EXPECT_EQ(musicFileKind("\x83\x57.mp3", test::cp932LeadByte), MusicFileKind::Mp3);
}

TEST(ShowLoad, WritesAllTenBeforeTheRendererThenStartsMusicPerKind) {
  struct Case {
    std::int16_t kind;
    const char* file;
    Calls calls;
  };
  const Case cases[] = {
      {0, "", loadThen({})},
      {1, "", loadThen({"CdOpen", "on 2"})},
      {2, "C:\\m\\a.WaV", loadThen({"WavStart"})},
      {2, "C:\\m\\a b.mp3", loadThen({"Mp3Start", "on 1"})},
      {2, "C:\\m\\a.mid", loadThen({})},
      {3, "C:\\m\\a.mp3", loadThen({})},
      {-1, "C:\\m\\a.wav", loadThen({})},
  };
  for (const Case& c : cases) {
    FakeShow fake;
    SharedState shared = settings(c.kind, c.file);
    Show show(fake, fake, shared, 'S', test::cp932LeadByte);
    show.FormLoad();
    EXPECT_EQ(fake.calls, c.calls) << c.kind << " " << c.file;
    EXPECT_EQ(shared.CursorStartX, 500);
    EXPECT_EQ(shared.CursorStartY, 400);
  }
  FakeShow visible;  // an empty command line leaves the cursor shown
  SharedState none = settings(0, "");
  Show(visible, visible, none, '\0', test::cp932LeadByte).FormLoad();
  EXPECT_EQ(std::count(visible.calls.begin(), visible.calls.end(), "ShowCursor 0"), 0);
}

TEST(ShowLoad, AFailingSlideIsSkippedAndAnUnknownCursorStartsAtZero) {
  FakeShow fake;
  fake.failingSlide = 3;
  fake.cursorKnown = false;
  SharedState shared = settings(0, "");
  shared.CursorStartX = 9;
  Show show(fake, fake, shared, 'S', test::cp932LeadByte);
  show.FormLoad();
  EXPECT_EQ(fake.calls, loadThen({}));
  EXPECT_EQ(shared.CursorStartX, 0);
  EXPECT_EQ(shared.CursorStartY, 0);
}

TEST(ShowWatch, MouseEndsTheShowOnlyBeyond30OnBothAxes) {
  FakeShow fake;
  SharedState shared = settings(0, "");
  Show show(fake, fake, shared, 'S', test::cp932LeadByte);
  show.FormLoad();
  fake.calls.clear();
  for (auto [x, y] : {std::pair{530, 430}, {500, 600}, {470, 370}, {531, 430}}) {
    fake.cursorX = x;
    fake.cursorY = y;
    show.MouseWatchTick();
  }
  fake.cursorKnown = false;  // an unreadable point is no movement
  show.MouseWatchTick();
  EXPECT_EQ(fake.calls, Calls{});
  fake.cursorKnown = true;
  fake.cursorX = 531;
  fake.cursorY = 431;
  show.MouseWatchTick();
  EXPECT_EQ(fake.calls, (Calls{"off 3", "ShowCursor -1", "end"}));
  EXPECT_EQ(shared.CursorCount, 0);
}

TEST(ShowWatch, CdWatchTimerFollowsCdWatchActive) {
  FakeShow fake;
  SharedState shared = settings(1, "");
  Show show(fake, fake, shared, 'S', test::cp932LeadByte);
  show.FormLoad();
  fake.calls.clear();
  show.CdWatchTick();
  fake.cdActive = false;
  show.CdWatchTick();
  show.Mp3WatchTick();
  EXPECT_EQ(fake.calls, (Calls{"CdWatch", "on 2", "CdWatch", "off 2", "Mp3Watch"}));
}

TEST(ShowStop, StopsTheMusicThenGivesTheCursorBackInSModeOnly) {
  struct Case {
    std::int16_t kind;
    const char* file;
    char letter;
    bool cdWatchOn;
    Calls calls;
  };
  const Case cases[] = {
      {1, "", 'S', true, {"off 2", "CdClose", "ShowCursor -1", "end"}},
      {1, "", 'S', false, {"ShowCursor -1", "end"}},
      {2, "x.wav", 'S', false, {"WavStop", "ShowCursor -1", "end"}},
      {2, "x.MP3", '\0', false, {"Mp3Stop", "end"}},
      {2, "x.mid", '\0', false, {"end"}},
      {0, "x.mp3", 'S', false, {"ShowCursor -1", "end"}},
  };
  for (const Case& c : cases) {
    FakeShow fake;
    SharedState shared = settings(c.kind, c.file);
    shared.CursorCount = -1;
    fake.timers[ShowTimer::CdWatch] = c.cdWatchOn;
    Show show(fake, fake, shared, c.letter, test::cp932LeadByte);
    show.QueryUnload();
    EXPECT_EQ(fake.calls, c.calls) << c.kind << " " << c.file << " " << c.letter;
  }
}

}  // namespace
}  // namespace kb
