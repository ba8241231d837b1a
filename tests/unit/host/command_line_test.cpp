// The argument text, the mode letter, the preview handle and the dispatch of Main.
#include "host/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/start.h"
#include "tests/unit/code_pages.h"

namespace kb {
namespace {

using test::cp932LeadByte;

TEST(ArgumentText, FollowsTheProgramNameQuotedOrNot) {
  const auto argumentsOf = [](std::string_view line) {
    return argumentText(line, {}, test::singleByte);
  };
  EXPECT_EQ(argumentsOf("\"C:\\Program Files\\Kolvane_Brightrun.scr\" /s"), "/s");
  EXPECT_EQ(argumentsOf("C:\\WINDOWS\\KOLVAN~1.SCR /p 1234"), "/p 1234");
  EXPECT_EQ(argumentsOf("Kolvane_Brightrun.scr"), "");
  EXPECT_EQ(argumentsOf("\"C:\\a b\\x.scr\""), "");
  EXPECT_EQ(argumentsOf("\"C:\\a b\\x.scr\"/c:5678"), "/c:5678");
  EXPECT_EQ(argumentsOf("x.scr \t /s  "), "/s  ");
  EXPECT_EQ(argumentsOf("\"unterminated /s"), "");
  EXPECT_EQ(argumentsOf(""), "");
}

TEST(ArgumentText, TheProgramsOwnPathUnquotedBlanksAndAll) {
  const std::vector<std::string> own = {"C:\\Program Files\\KB\\Kolvane_Brightrun.scr",
                                        "C:\\PROGRA~1\\KB\\KOLVAN~1.SCR"};
  const auto argumentsOf = [&own](std::string_view line) {
    return argumentText(line, own, test::singleByte);
  };
  EXPECT_EQ(argumentsOf("C:\\Program Files\\KB\\Kolvane_Brightrun.scr /s"), "/s");
  EXPECT_EQ(argumentsOf("c:\\program files\\kb\\KOLVANE_BRIGHTRUN.SCR /p 1234"), "/p 1234");
  EXPECT_EQ(argumentsOf("C:\\PROGRA~1\\KB\\kolvan~1.scr\t/c"), "/c");
  EXPECT_EQ(argumentsOf("C:\\Program Files\\KB\\Kolvane_Brightrun.scr"), "") << "only the path";
  // Not the whole path, or quoted: read as before.
  EXPECT_EQ(argumentsOf("C:\\Program Files\\KB\\Kolvane_Brightrun.scrx /s"),
            "Files\\KB\\Kolvane_Brightrun.scrx /s");
  EXPECT_EQ(argumentsOf("\"C:\\Program Files\\KB\\Kolvane_Brightrun.scr\" /s"), "/s");
  EXPECT_EQ(argumentsOf("C:\\Other\\x.scr /s"), "/s");

  // Double-byte characters are compared whole: "ソ" (83 5C) and "ス" (83 58)
  // differ, and a trail byte is never upper-cased into a match.
  const std::vector<std::string> japanese = {"C:\\a b\\\x83\x5C.scr"};
  EXPECT_EQ(argumentText("C:\\A B\\\x83\x5C.scr /s", japanese, cp932LeadByte), "/s");
  EXPECT_EQ(argumentText("C:\\a b\\\x83\x58.scr /s", japanese, cp932LeadByte),
            "b\\\x83\x58.scr /s");
  const std::vector<std::string> trailLetter = {"C:\\a b\\\x82\x61.scr"};
  EXPECT_EQ(argumentText("C:\\a b\\\x82\x41.scr /s", trailLetter, cp932LeadByte),
            "b\\\x82\x41.scr /s");
}

struct DispatchRow {
  const char* argumentText;
  char letter;
  StartAction action;
};

TEST(PlanStart, DispatchTable) {
  const DispatchRow rows[] = {
      {"/p 1234", 'P', StartAction::Preview},
      {"/P:1234", 'P', StartAction::Preview},
      {"/c", 'C', StartAction::SettingsDialog},
      {"/c:1234", 'C', StartAction::SettingsDialog},
      {"/s", 'S', StartAction::Show},
      {"/S", 'S', StartAction::Show},
      {"-s", 'S', StartAction::Show},
      {"/scr", 'S', StartAction::Show},
      {"", '\0', StartAction::Show},
      {"/a", 'A', StartAction::End},
      {"x", '\0', StartAction::End},
      {"/", '\0', StartAction::End},
      {"ss", 'S', StartAction::Show},
      // Characters, not bytes: ゴ (83 53) is one character, whose second
      // byte is "S"; after it, "s" is character 2.
      {"\x83\x53", '\0', StartAction::End},
      {"/\x83\x53", '\0', StartAction::End},
      {"\x83\x53s", 'S', StartAction::Show},
  };
  for (const DispatchRow& row : rows) {
    SCOPED_TRACE(row.argumentText);
    EXPECT_EQ(modeLetter(row.argumentText, cp932LeadByte), row.letter);
    const StartPlan plan = planStart(row.argumentText, cp932LeadByte);
    EXPECT_EQ(plan.action, row.action);
  }
}

TEST(PreviewHandle, ReadFromTheFourthCharacter) {
  EXPECT_EQ(previewHandle("/p 1234", cp932LeadByte), 1234);
  EXPECT_EQ(previewHandle("/p:1234", cp932LeadByte), 1234);
  EXPECT_EQ(previewHandle("/P1234", cp932LeadByte), 234);
  EXPECT_EQ(previewHandle("/p", cp932LeadByte), 0);
  EXPECT_EQ(previewHandle("/p ", cp932LeadByte), 0);
  EXPECT_EQ(previewHandle("/p x", cp932LeadByte), 0);
  EXPECT_EQ(previewHandle("/p  66102 ", cp932LeadByte), 66102);
  EXPECT_EQ(previewHandle("/\x83\x53:1234", cp932LeadByte), 1234);  // /ゴ:1234
  EXPECT_EQ(previewHandle("/\x83\x53:1234", test::singleByte), 0);
}

// Records what Main asks of the platform, in order.
class FakeStartPort final : public StartPort {
 public:
  bool windowExists(const char* title) override {
    calls.push_back(std::string("find ") + title);
    return existing == title;
  }
  bool showClaimed() override {
    calls.push_back("claimed?");
    return claimedElsewhere;
  }
  bool claimShow() override {
    calls.push_back("claim");
    return !lostTheRace;
  }
  void loadSettings() override { calls.push_back("settings"); }
  bool rendererFileExists() override {
    calls.push_back("renderer?");
    return rendererPresent;
  }
  void showMissingRendererBox() override { calls.push_back("box"); }
  void runPreview(std::int32_t parent) override {
    calls.push_back("preview " + std::to_string(parent));
  }
  void runSettingsDialog() override { calls.push_back("dialog"); }
  void loadShowForm() override { calls.push_back("show"); }

  std::string existing;
  bool claimedElsewhere = false;
  bool lostTheRace = false;
  bool rendererPresent = true;
  std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;
const Calls kFinds = {"find Q_Tavel_Main", "find <Kolvane_Brightrun>",
                      "find Kolvane_Brightrun_Viewer", "claimed?"};

Calls after(Calls tail) {
  Calls all = kFinds;
  all.insert(all.end(), tail.begin(), tail.end());
  return all;
}

TEST(Main, EndsSilentlyBesideAnotherInstanceAfterAllThreeSearches) {
  for (const char* title : {kInstanceTitles[0], kInstanceTitles[1], kInstanceTitles[2], ""}) {
    for (const char* args : {"/s", "/p 1234", "/c", ""}) {
      FakeStartPort port;
      port.existing = title;
      port.claimedElsewhere = *title == '\0';  // a show still starting, with no window yet
      EXPECT_EQ(Main(port, args, cp932LeadByte), MainOutcome::End);
      EXPECT_EQ(port.calls, kFinds) << title << " " << args;
    }
  }
  FakeStartPort port;  // a second show started at the same moment
  port.lostTheRace = true;
  EXPECT_EQ(Main(port, "/s", cp932LeadByte), MainOutcome::End);
  EXPECT_EQ(port.calls, after({"settings", "renderer?", "claim"}));
}

TEST(Main, RunsEachModeWithSettingsLoadedOnce) {
  struct Case {
    const char* args;
    MainOutcome outcome;
    Calls calls;
  };
  const Case cases[] = {
      {"/p 1234", MainOutcome::KeepRunning, after({"preview 1234"})},
      {"/p", MainOutcome::KeepRunning, after({"preview 0"})},
      {"/c:1234", MainOutcome::End, after({"settings", "renderer?", "dialog"})},
      {"/s", MainOutcome::KeepRunning, after({"settings", "renderer?", "claim", "show"})},
      {"", MainOutcome::KeepRunning, after({"settings", "renderer?", "claim", "show"})},
      {"/a", MainOutcome::End, after({"settings", "renderer?"})},
  };
  for (const Case& c : cases) {
    FakeStartPort port;
    EXPECT_EQ(Main(port, c.args, cp932LeadByte), c.outcome) << c.args;
    EXPECT_EQ(port.calls, c.calls) << c.args;
  }
}

TEST(Main, MissingRendererGivesTheBoxExceptForPreview) {
  for (const char* args : {"/s", "/c", "", "/a", "/"}) {
    FakeStartPort port;
    port.rendererPresent = false;
    EXPECT_EQ(Main(port, args, cp932LeadByte), MainOutcome::End);
    EXPECT_EQ(port.calls, after({"settings", "renderer?", "box"})) << args;
  }
  FakeStartPort port;
  port.rendererPresent = false;
  EXPECT_EQ(Main(port, "/p 5", cp932LeadByte), MainOutcome::KeepRunning);
  EXPECT_EQ(port.calls, after({"preview 5"}));
}

}  // namespace
}  // namespace kb
