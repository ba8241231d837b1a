// The Command button's FaceState machine against a recording face painter.
#include "controls/command.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "recording_port.h"

namespace kb::controls {
namespace {

using testing::RecordingPort;
using namespace face_state;

// A control as the dialog has it: loaded from its stored data, initialized.
class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    core.ReadProperties(PropertyStore{});
    core.Initialize();
    port.Clear();
  }

  // Drives an initialized control into `state` by the usual events.
  void Reach(std::uint8_t state) {
    if (state == kHighLight || state == kHighLightSelect) core.MouseMove();
    if (state == kSelected || state == kHighLightSelect) core.FocusGained();
    if (state == kHighLightSelect) core.MouseUp(MouseButton::Left);
    ASSERT_EQ(core.FaceState(), state);
    port.Clear();
  }

  RecordingPort port;
  CommandCore core{port};
};

enum class Event {
  Move,
  LeaveToParent,
  LeaveElsewhere,
  TickOverOwn,
  Focus,
  Blur,
  LeftDown,
  LeftUp,
  Resize,
  WriteEnabled,
  ReadEnabled
};

struct Row {
  std::uint8_t from;
  Event event;
  std::uint8_t to;
  std::vector<Skin> painted;
  int clicks;
};

const char* EventName(Event event) {
  static const char* const names[] = {"Move",   "LeaveToParent", "LeaveElsewhere", "TickOverOwn",
                                      "Focus",  "Blur",          "LeftDown",       "LeftUp",
                                      "Resize", "WriteEnabled",  "ReadEnabled"};
  return names[static_cast<int>(event)];
}

void PrintTo(const Row& row, std::ostream* out) {
  *out << "state " << int{row.from} << " " << EventName(row.event);
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
  return "From" + std::to_string(info.param.from) + EventName(info.param.event);
}

void Apply(CommandCore& core, Event event) {
  switch (event) {
    case Event::Move:
      return core.MouseMove();
    case Event::LeaveToParent:
      return core.TrackingTick(PointerPlace::ParentWindow);
    case Event::LeaveElsewhere:
      return core.TrackingTick(PointerPlace::Elsewhere);
    case Event::TickOverOwn:
      return core.TrackingTick(PointerPlace::OwnWindow);
    case Event::Focus:
      return core.FocusGained();
    case Event::Blur:
      return core.FocusLost();
    case Event::LeftDown:
      return core.MouseDown(MouseButton::Left);
    case Event::LeftUp:
      return core.MouseUp(MouseButton::Left);
    case Event::Resize:
      return core.Resized();
    case Event::WriteEnabled:
      return core.SetEnabled(true);
    case Event::ReadEnabled:
      EXPECT_EQ(core.Enabled(), kTrue);
      return;
  }
}

class TransitionTest : public CommandTest, public ::testing::WithParamInterface<Row> {};

TEST_P(TransitionTest, GoesToStateAndPaints) {
  const Row& row = GetParam();
  Reach(row.from);
  Apply(core, row.event);
  EXPECT_EQ(core.FaceState(), row.to);
  EXPECT_EQ(port.Skins(), row.painted);
  EXPECT_EQ(port.clicks, row.clicks);
}

using S = Skin;
INSTANTIATE_TEST_SUITE_P(
    TransitionTable, TransitionTest,
    ::testing::Values(
        Row{1, Event::Move, 2, {S::HighLight}, 0}, Row{3, Event::Move, 4, {S::HighLightSelect}, 0},
        Row{2, Event::Move, 2, {}, 0},  // staying over repaints nothing
        Row{4, Event::Move, 4, {}, 0}, Row{2, Event::LeaveElsewhere, 1, {S::Normal}, 0},
        Row{2, Event::LeaveToParent, 1, {S::Normal}, 0},
        Row{4, Event::LeaveElsewhere, 3, {S::Selected}, 0},
        Row{4, Event::LeaveToParent, 3, {S::Selected}, 0}, Row{2, Event::TickOverOwn, 2, {}, 0},
        Row{4, Event::TickOverOwn, 4, {}, 0}, Row{1, Event::LeaveElsewhere, 1, {}, 0},
        Row{3, Event::LeaveElsewhere, 3, {}, 0}, Row{1, Event::Focus, 3, {S::Selected}, 0},
        Row{3, Event::Focus, 3, {S::Selected}, 0}, Row{4, Event::Focus, 3, {S::Selected}, 0},
        Row{2, Event::Focus, 4, {S::Pressed}, 0}, Row{2, Event::Blur, 1, {S::Normal}, 0},
        Row{3, Event::Blur, 1, {S::Normal}, 0}, Row{4, Event::Blur, 1, {S::Normal}, 0},
        Row{1, Event::Blur, 1, {}, 0}, Row{1, Event::LeftDown, 1, {S::Pressed}, 0},
        Row{2, Event::LeftDown, 2, {S::Pressed}, 0}, Row{3, Event::LeftDown, 3, {S::Pressed}, 0},
        Row{4, Event::LeftDown, 4, {S::Pressed}, 0}, Row{2, Event::LeftUp, 2, {S::Normal}, 1},
        Row{4, Event::LeftUp, 4, {S::HighLightSelect}, 1},
        Row{1, Event::LeftUp, 1, {}, 1},  // Click although nothing was repainted
        Row{3, Event::LeftUp, 3, {}, 0},  // focused but not under the pointer: no Click
        Row{2, Event::Resize, 2, {S::Normal}, 0}, Row{4, Event::Resize, 4, {S::Normal}, 0},
        Row{2, Event::WriteEnabled, 2, {S::Normal}, 0},
        Row{4, Event::ReadEnabled, 4, {S::Normal}, 0}),
    RowName);

TEST_F(CommandTest, TypicalClickOnAnUnfocusedButton) {
  core.MouseMove();
  core.FocusGained();
  core.MouseDown(MouseButton::Left);
  core.MouseUp(MouseButton::Left);
  EXPECT_EQ(port.clicks, 1);
  core.TrackingTick(PointerPlace::Elsewhere);
  core.FocusLost();
  EXPECT_EQ(port.Skins(), (std::vector<Skin>{S::HighLight, S::Pressed, S::Pressed,
                                             S::HighLightSelect, S::Selected, S::Normal}));
  // The pointer entered first, so state 4 keeps the reversed gradient of state 2.
  std::vector<bool> reversed;
  for (const auto& paint : port.paints) reversed.push_back(paint.reversed);
  EXPECT_EQ(reversed, (std::vector<bool>{true, true, true, true, false, false}));
  EXPECT_EQ(core.FaceState(), kNormal);
  EXPECT_EQ(core.LeftDown(), kFalse);
}

TEST_F(CommandTest, StateFourKeepsTheGradientOfTheStateBefore) {
  Reach(kSelected);
  core.MouseMove();  // 3 -> 4
  core.MouseDown(MouseButton::Left);
  core.Resized();
  for (const auto& paint : port.paints) EXPECT_FALSE(paint.reversed);

  core.FocusLost();
  core.MouseMove();    // 1 -> 2
  core.FocusGained();  // 2 -> 4
  port.Clear();
  core.MouseDown(MouseButton::Left);
  core.Resized();
  ASSERT_EQ(port.paints.size(), 2u);
  for (const auto& paint : port.paints) EXPECT_TRUE(paint.reversed);
}

TEST_F(CommandTest, GradientDirectionFollowsFaceState) {
  const std::pair<std::uint8_t, bool> rows[] = {
      {kNormal, false}, {kHighLight, true}, {kSelected, false}};
  for (const auto& [state, reversed] : rows) {
    core.FocusLost();
    core.TrackingTick(PointerPlace::Elsewhere);
    Reach(state);
    core.Resized();
    ASSERT_EQ(port.paints.size(), 1u);
    EXPECT_EQ(port.paints[0].reversed, reversed) << "state " << int{state};
  }
}

TEST(CommandBeforeInitialize, PointerIsIgnoredButFocusShowsSelected) {
  RecordingPort port;
  CommandCore core(port);
  core.ReadProperties(PropertyStore{});
  port.Clear();

  core.MouseMove();
  core.TrackingTick(PointerPlace::Elsewhere);
  EXPECT_EQ(core.FaceState(), kUninitialized);
  EXPECT_TRUE(port.paints.empty());
  EXPECT_EQ(port.trackingStarts, 0);

  core.FocusGained();
  EXPECT_EQ(core.FaceState(), kSelected);
  EXPECT_EQ(port.Skins(), std::vector<Skin>{S::Selected});
}

TEST(CommandInitialize, SetsNormalAndStartsTrackingWithoutPainting) {
  RecordingPort port;
  CommandCore core(port);
  core.Initialize();
  EXPECT_EQ(core.FaceState(), kNormal);
  EXPECT_EQ(port.trackingStarts, 1);
  EXPECT_TRUE(port.paints.empty());
}

TEST_F(CommandTest, RightAndMiddleButtonsClickOnReleaseOnly) {
  for (MouseButton button : {MouseButton::Right, MouseButton::Middle}) {
    Reach(kHighLight);
    core.MouseDown(button);
    EXPECT_TRUE(port.paints.empty());
    EXPECT_EQ(core.LeftDown(), kFalse);
    core.MouseUp(button);
    EXPECT_TRUE(port.paints.empty());
    EXPECT_EQ(port.clicks, 1);
    core.FocusLost();
    core.TrackingTick(PointerPlace::Elsewhere);
  }
  Reach(kSelected);
  core.MouseUp(MouseButton::Right);
  EXPECT_EQ(port.clicks, 0);
}

TEST_F(CommandTest, PressAndDragOffAFocusedButtonRaisesNoClick) {
  Reach(kHighLightSelect);
  core.MouseDown(MouseButton::Left);
  core.TrackingTick(PointerPlace::Elsewhere);
  EXPECT_EQ(core.FaceState(), kSelected);
  EXPECT_EQ(port.Skins().back(), S::Selected);

  // Back over the button while the left button is still held: no HighLightSelect.
  port.Clear();
  core.MouseMove();
  EXPECT_EQ(core.FaceState(), kSelected);
  EXPECT_TRUE(port.paints.empty());

  core.MouseUp(MouseButton::Left);
  EXPECT_EQ(port.clicks, 0);
  EXPECT_EQ(core.LeftDown(), kFalse);
  core.MouseMove();  // released: hovering works again
  EXPECT_EQ(core.FaceState(), kHighLightSelect);
}

TEST_F(CommandTest, SpaceOrEnterPressesLikeTheMouseAndTogetherTheyClickOnce) {
  Reach(kSelected);
  core.KeyDown();
  core.KeyDown();  // the key's auto-repeat
  EXPECT_EQ(port.clicks, 0);
  core.KeyUp();
  EXPECT_EQ(port.Skins(), (std::vector<Skin>{S::Pressed, S::Selected}));
  EXPECT_EQ(port.clicks, 1);
  // Key and mouse on the button together, released in either order: one Click.
  for (bool keyFirst : {true, false}) {
    port.Clear();
    core.MouseMove();
    core.KeyDown();
    core.MouseDown(MouseButton::Left);
    if (keyFirst) core.KeyUp();
    core.MouseUp(MouseButton::Left);
    if (!keyFirst) core.KeyUp();
    EXPECT_EQ(port.clicks, 1) << keyFirst;
  }
  core.KeyDown();
  core.FocusLost();  // the key's release goes elsewhere
  core.KeyUp();
  EXPECT_EQ(port.clicks, 1);
}

TEST_F(CommandTest, DisabledShowsDisableIgnoresEverythingAndNeverClicks) {
  Reach(kHighLight);
  core.SetEnabled(false);
  EXPECT_EQ(port.Skins(), std::vector<Skin>{S::Disable});
  EXPECT_FALSE(core.Label().enabled);
  EXPECT_EQ(port.changed, std::vector<std::string>{"Enabled"});
  port.Clear();

  core.MouseMove();
  core.MouseDown(MouseButton::Left);
  core.MouseUp(MouseButton::Left);
  core.MouseUp(MouseButton::Right);
  core.FocusGained();
  core.FocusLost();
  core.TrackingTick(PointerPlace::Elsewhere);
  EXPECT_TRUE(port.paints.empty());
  EXPECT_EQ(port.clicks, 0);
  EXPECT_EQ(core.FaceState(), kHighLight);
  EXPECT_EQ(core.LeftDown(), kFalse);

  core.Resized();  // still disabled: the Disable face again
  EXPECT_EQ(port.Skins(), std::vector<Skin>{S::Disable});
  EXPECT_EQ(core.Enabled(), kFalse);

  port.Clear();
  core.SetEnabled(true);
  EXPECT_EQ(port.Skins(), std::vector<Skin>{S::Normal});
  EXPECT_TRUE(core.Label().enabled);
}

TEST_F(CommandTest, ResizeWhileOverPaintsNormalUntilTheNextTransition) {
  Reach(kHighLight);
  core.Resized();
  EXPECT_EQ(core.FaceState(), kHighLight);
  EXPECT_EQ(port.Skins(), std::vector<Skin>{S::Normal});
  core.MouseMove();  // no transition: the Normal face stays
  EXPECT_EQ(port.paints.size(), 1u);
  core.TrackingTick(PointerPlace::Elsewhere);
  EXPECT_EQ(core.FaceState(), kNormal);
  EXPECT_EQ(port.paints.size(), 2u);
}

TEST_F(CommandTest, VisibleZeroShowsOnlyTheCaptionAndBackRepaintsNormal) {
  core.SetVisible(0);
  EXPECT_FALSE(core.Opaque());
  EXPECT_TRUE(port.paints.empty());
  EXPECT_EQ(core.Visible(), 0);
  EXPECT_TRUE(port.paints.empty());
  EXPECT_EQ(port.changed, std::vector<std::string>{"Visible"});

  core.SetVisible(7);
  EXPECT_TRUE(core.Opaque());
  EXPECT_EQ(port.Skins(), std::vector<Skin>{S::Normal});
  port.Clear();
  EXPECT_EQ(core.Visible(), 255);
  EXPECT_EQ(port.Skins(), std::vector<Skin>{S::Normal});
}

TEST_F(CommandTest, FontColourIsReturnedThenTheFaceIsReset) {
  core.SetFontColour(0x00FF0000);
  EXPECT_EQ(port.Skins(), std::vector<Skin>{S::Normal});
  EXPECT_EQ(port.changed, std::vector<std::string>{"FontColour"});
  port.Clear();
  EXPECT_EQ(core.FontColour(), 0x00FF0000u);
  EXPECT_EQ(port.Skins(), std::vector<Skin>{S::Normal});
}

TEST(CommandFreshControl, BecomesEnabledWhenEnabledIsFirstRead) {
  RecordingPort port;
  CommandCore core(port);  // placed fresh: nothing stored
  EXPECT_EQ(core.EnabledValue(), kFalse);
  EXPECT_EQ(core.FirstRun(), 0);
  core.SetFontColour(0x0000FF);  // ResetFace does nothing while disabled
  EXPECT_TRUE(port.paints.empty());

  EXPECT_EQ(core.Enabled(), kTrue);
  EXPECT_EQ(core.FirstRun(), 1);
  EXPECT_EQ(port.Skins(), std::vector<Skin>{S::Normal});
  EXPECT_EQ(core.Label().colour, 0x0000FFu);  // was disabled at ResetFace: colour kept
}

TEST(CommandFreshControl, CaptionAndFontChangesAreNotified) {
  RecordingPort port;
  CommandCore core(port);
  EXPECT_EQ(core.Caption(), "Command");
  EXPECT_EQ(core.Font(), port.ambient);
  core.SetCaption("設定");
  FontSpec font{"ＭＳ Ｐゴシック", 9.75, 128, 400, false, false, false};
  core.SetFont(font);
  EXPECT_EQ(core.Caption(), "設定");
  EXPECT_EQ(core.Font(), font);
  EXPECT_EQ(port.changed, (std::vector<std::string>{"Caption", "Font"}));
  EXPECT_EQ(port.labelChanges, 2);
}

}  // namespace
}  // namespace kb::controls
