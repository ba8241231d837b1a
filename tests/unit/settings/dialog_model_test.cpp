#include "settings/dialog_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/number_text.h"
#include "settings/mark_design.h"

namespace {

using kb::settings::GradientTone;
using kb::settings::Rgb;

TEST(DialogRoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(kb::settings::roundHalfEven(0.5), 0.0);
  EXPECT_EQ(kb::settings::roundHalfEven(1.5), 2.0);
  EXPECT_EQ(kb::settings::roundHalfEven(2.5), 2.0);
  EXPECT_EQ(kb::settings::roundHalfEven(3.5), 4.0);
  EXPECT_EQ(kb::settings::roundHalfEven(-2.5), -2.0);
  EXPECT_EQ(kb::settings::roundHalfEven(-3.5), -4.0);
  EXPECT_EQ(kb::settings::roundHalfEven(2.4999), 2.0);
  EXPECT_EQ(kb::settings::roundHalfEven(2.5001), 3.0);
  EXPECT_EQ(kb::settings::roundHalfEven(-0.2), 0.0);
}

// The window: H = 3780 twips, k = 3780 / 3.142 = 1203.0554..., and pixel row r
// keeps the line at twip 15 r + 14.
TEST(DialogGradient, WindowRowsByHand) {
  const std::vector<Rgb> rows = kb::settings::gradientRows(252, GradientTone::Window);
  ASSERT_EQ(rows.size(), 252u);
  EXPECT_EQ(rows[0], (Rgb{3, 3, 33}));         // sin(14 / k) * 220 = 2.560
  EXPECT_EQ(rows[1], (Rgb{5, 5, 35}));         // sin(29 / k) * 220 = 5.303
  EXPECT_EQ(rows[62], (Rgb{155, 155, 185}));   // sin(944 / k) * 220 = 155.450
  EXPECT_EQ(rows[125], (Rgb{220, 220, 250}));  // 219.99996, the peak
  EXPECT_EQ(rows[195], (Rgb{141, 141, 171}));  // 141.49995 (with pi instead: 141.553)
  EXPECT_EQ(rows[200], (Rgb{131, 131, 161}));  // 130.730
  EXPECT_EQ(rows[251], (Rgb{0, 0, 30}));       // 0.093
}

TEST(DialogGradient, PanelRowsByHand) {
  // H = 2535 twips, k = 806.811...
  const std::vector<Rgb> rows = kb::settings::gradientRows(169, GradientTone::Panel);
  ASSERT_EQ(rows.size(), 169u);
  EXPECT_EQ(rows[0], (Rgb{34, 34, 34}));       // 3.817
  EXPECT_EQ(rows[84], (Rgb{250, 250, 250}));   // 219.992
  EXPECT_EQ(rows[150], (Rgb{102, 102, 102}));  // 72.430 (with pi instead: 72.505)
  EXPECT_EQ(rows[168], (Rgb{30, 30, 30}));     // 0.183
}

TEST(DialogGradient, LinesAtTheEdgesAndPastPi) {
  EXPECT_EQ(kb::settings::gradientLineColour(0, 3780, GradientTone::Window), (Rgb{0, 0, 30}));
  // At y = H the angle is 3.142, just past pi: sin is slightly negative and
  // the absolute value keeps the colour at the dark end.
  EXPECT_EQ(kb::settings::gradientLineColour(3780, 3780, GradientTone::Window), (Rgb{0, 0, 30}));
  EXPECT_EQ(kb::settings::gradientLineColour(1000, 1000, GradientTone::Panel), (Rgb{30, 30, 30}));
  // H = 3142 makes k = 1000: sin(0.5) * 220 = 105.474.
  EXPECT_EQ(kb::settings::gradientLineColour(500, 3142, GradientTone::Window),
            (Rgb{105, 105, 135}));
  // sin(1.0) * 220 = 185.122; sin(2.0) * 220 = 200.041.
  EXPECT_EQ(kb::settings::gradientLineColour(1000, 3142, GradientTone::Panel),
            (Rgb{215, 215, 215}));
  EXPECT_EQ(kb::settings::gradientLineColour(2000, 3142, GradientTone::Window),
            (Rgb{200, 200, 230}));
}

TEST(DialogGradient, EmptySurfaceHasNoRowsAndZeroHeightIsSafe) {
  EXPECT_TRUE(kb::settings::gradientRows(0, GradientTone::Window).empty());
  EXPECT_EQ(kb::settings::gradientLineColour(0, 0, GradientTone::Panel), (Rgb{30, 30, 30}));
}

TEST(DialogTrackBox, PatternLeavesZeroEmpty) {
  EXPECT_EQ(kb::settings::formatTrack(0), "");
  EXPECT_EQ(kb::settings::formatTrack(5), "5");
  EXPECT_EQ(kb::settings::formatTrack(30), "30");
  EXPECT_EQ(kb::settings::formatTrack(123), "123");  // "##" never cuts digits
  EXPECT_EQ(kb::settings::formatTrack(-7), "-7");
  EXPECT_EQ(kb::settings::formatTrack(-32768), "-32768");
}

TEST(DialogTrackBox, ThirtyOneEntriesEmptyFirst) {
  const std::vector<std::string> entries = kb::settings::repeatTrackEntries();
  ASSERT_EQ(entries.size(), 31u);
  EXPECT_EQ(entries[0], "");
  EXPECT_EQ(entries[1], "1");
  EXPECT_EQ(entries[9], "9");
  EXPECT_EQ(entries[10], "10");
  EXPECT_EQ(entries[30], "30");
}

TEST(DialogTrackBox, WhichTextsAreNumbers) {
  for (const char* number : {"5", " 12 ", "+3", "-4", "2.5", ".5", "5.", "1e1", "2E+1", "7e-1"})
    EXPECT_TRUE(kb::numberValue(number).has_value()) << number;
  for (const char* word : {"", " ", "abc", "5a", "a5", ".", "-", "1e", "1.2.3", "1 2", "&H10",
                           "1,000", "０", "\x82\x50", "e5", "--1"})
    EXPECT_FALSE(kb::numberValue(word).has_value()) << word;
  EXPECT_EQ(*kb::numberValue(" -2.25 "), -2.25);
  EXPECT_EQ(*kb::numberValue("2E+1"), 20.0);
}

TEST(DialogTrackBox, OkConversions) {
  EXPECT_EQ(kb::settings::repeatTrackFromText(""), 0);  // the empty entry
  EXPECT_EQ(kb::settings::repeatTrackFromText("5"), 5);
  EXPECT_EQ(kb::settings::repeatTrackFromText("2.5"), 2);
  EXPECT_EQ(kb::settings::repeatTrackFromText("3.5"), 4);
  EXPECT_EQ(kb::settings::repeatTrackFromText("-0.5"), 0);
  EXPECT_EQ(kb::settings::repeatTrackFromText("2.6"), 3);
  EXPECT_EQ(kb::settings::repeatTrackFromText("music"), 0);
  EXPECT_EQ(kb::settings::repeatTrackFromText("45"), 45);  // beyond the list: still a number
  EXPECT_EQ(kb::settings::repeatTrackFromText("-3"), -3);
}

TEST(DialogTrackBox, SixteenBitEdges) {
  EXPECT_EQ(kb::settings::repeatTrackFromText("32767"), 32767);
  EXPECT_EQ(kb::settings::repeatTrackFromText("32767.4"), 32767);
  EXPECT_EQ(kb::settings::repeatTrackFromText("32767.5"), 0);  // rounds to 32768
  EXPECT_EQ(kb::settings::repeatTrackFromText("-32768"), -32768);
  EXPECT_EQ(kb::settings::repeatTrackFromText("-32768.5"), -32768);  // halves to even
  EXPECT_EQ(kb::settings::repeatTrackFromText("-32769"), 0);
  EXPECT_EQ(kb::settings::repeatTrackFromText("70000"), 0);
  EXPECT_EQ(kb::settings::repeatTrackFromText("1e999"), 0);
  EXPECT_EQ(kb::settings::repeatTrackFromText("-1e999"), 0);
  EXPECT_EQ(kb::settings::repeatTrackFromText(std::string(400, '9')), 0);
}

TEST(DialogKind, EachKindFillsItsMarkAndEnablesItsControl) {
  const kb::settings::KindView none = kb::settings::kindView(0);
  EXPECT_EQ(none.markFilled, (std::array<bool, 3>{true, false, false}));
  EXPECT_FALSE(none.repeatBoxEnabled);
  EXPECT_FALSE(none.browseEnabled);

  const kb::settings::KindView cd = kb::settings::kindView(1);
  EXPECT_EQ(cd.markFilled, (std::array<bool, 3>{false, true, false}));
  EXPECT_TRUE(cd.repeatBoxEnabled);
  EXPECT_FALSE(cd.browseEnabled);

  const kb::settings::KindView file = kb::settings::kindView(2);
  EXPECT_EQ(file.markFilled, (std::array<bool, 3>{false, false, true}));
  EXPECT_FALSE(file.repeatBoxEnabled);
  EXPECT_TRUE(file.browseEnabled);
}

TEST(DialogKind, OutsideTheRangeShowsNothingSelected) {
  for (int kind : {-1, 3, 7, 32767, -32768}) {
    const kb::settings::KindView view = kb::settings::kindView(kind);
    EXPECT_EQ(view.markFilled, (std::array<bool, 3>{false, false, false})) << kind;
    EXPECT_FALSE(view.repeatBoxEnabled) << kind;
    EXPECT_FALSE(view.browseEnabled) << kind;
  }
}

TEST(DialogKind, SelectingChangesTheKindAndKeepsTrackAndFile) {
  kb::SharedState state;
  state.BgmKind = 7;
  state.BgmRepeatTrack = 4;
  state.BgmFile = "C:\\music\\a.mp3";
  const kb::settings::KindView view = kb::settings::selectKind(state, 2);
  EXPECT_EQ(state.BgmKind, 2);
  EXPECT_TRUE(view.browseEnabled);
  kb::settings::selectKind(state, 0);
  EXPECT_EQ(state.BgmKind, 0);
  EXPECT_EQ(state.BgmRepeatTrack, 4);
  EXPECT_EQ(state.BgmFile, "C:\\music\\a.mp3");
  // Arrow keys walk the kinds as shown (music CD, none, file) and round again;
  // from no kind, to the first or the last.
  using kb::settings::kindAfterArrow;
  EXPECT_EQ((std::vector<int>{kindAfterArrow(1, true), kindAfterArrow(0, true),
                              kindAfterArrow(2, true), kindAfterArrow(1, false),
                              kindAfterArrow(7, true), kindAfterArrow(-1, false)}),
            (std::vector<int>{0, 2, 1, 2, 1, 2}));
}

TEST(DialogPlacement, CentredAndAThirdDownInTwips) {
  // 1024 x 768 screen, 485 x 278 window: (15360 - 7275) \ 2 = 4042 twips =
  // 269.47 px; (11520 - 4170) \ 3 = 2450 twips = 163.33 px.
  EXPECT_EQ(kb::settings::dialogPosition(1024, 768, 485, 278).x, 269);
  EXPECT_EQ(kb::settings::dialogPosition(1024, 768, 485, 278).y, 163);
  // Even differences land exactly.
  EXPECT_EQ(kb::settings::dialogPosition(800, 600, 480, 300).x, 160);
  EXPECT_EQ(kb::settings::dialogPosition(800, 600, 480, 300).y, 100);
  // (1 px * 15) \ 3 = 5 twips = 0.33 px rounds to 0; 2 px: 10 twips -> 0.67 -> 1.
  EXPECT_EQ(kb::settings::dialogPosition(100, 101, 100, 100).y, 0);
  EXPECT_EQ(kb::settings::dialogPosition(100, 102, 100, 100).y, 1);
}

TEST(DialogPlacement, WindowLargerThanTheScreenTruncatesTowardsZero) {
  // (-1 px * 15) \ 2 = -7 twips (not -8) = -0.47 px -> 0; -3 px: -22 twips -> -1.47 -> -1.
  EXPECT_EQ(kb::settings::dialogPosition(100, 100, 101, 100).x, 0);
  EXPECT_EQ(kb::settings::dialogPosition(100, 100, 103, 100).x, -1);
  EXPECT_EQ(kb::settings::dialogPosition(100, 100, 100, 106).y, -2);  // -30 \ 3 = -10 twips
}

TEST(DialogLayout, EveryControlSitsOnWholePixelsInsideItsContainer) {
  namespace layout = kb::settings::layout;
  std::vector<kb::settings::ControlLayout> controls{
      layout::kPanel,       layout::kDesignedBy,   layout::kCmdEtc,  layout::kCmdSet,
      layout::kCmdCan,      layout::kHeadingFrame, layout::kHeading, layout::kRepeatBox,
      layout::kRepeatLabel, layout::kCmdBgm,       layout::kFileName};
  controls.insert(controls.end(), layout::kKindMarks.begin(), layout::kKindMarks.end());
  controls.insert(controls.end(), layout::kKindLabels.begin(), layout::kKindLabels.end());
  for (const kb::settings::ControlLayout& control : controls) {
    const kb::settings::TwipsRect& r = control.rect;
    for (int twips : {r.left, r.top, r.width, r.height})
      EXPECT_EQ(twips % kb::kTwipsPerPixel, 0) << control.name;
    const kb::settings::TwipsRect container =
        control.container == kb::settings::Container::Window
            ? kb::settings::TwipsRect{0, 0, kb::settings::kClientWidthTwips,
                                      kb::settings::kClientHeightTwips}
            : kb::settings::TwipsRect{0, 0, layout::kPanel.rect.width, layout::kPanel.rect.height};
    EXPECT_LE(r.left + r.width, container.width) << control.name;
    EXPECT_LE(r.top + r.height, container.height) << control.name;
  }
}

TEST(DialogLayout, TwipsToPixels) {
  const kb::settings::PixelRect panel = kb::settings::toPixels(kb::settings::layout::kPanel.rect);
  EXPECT_EQ(panel.left, 12);
  EXPECT_EQ(panel.top, 16);
  EXPECT_EQ(panel.width, 453);
  EXPECT_EQ(panel.height, 169);
  EXPECT_EQ(kb::pointsToPixels(kb::settings::kLabelFontPoints), 13);
  EXPECT_EQ(kb::pointsToPixels(kb::settings::kPanelFontPoints), 11);
  EXPECT_EQ(kb::pointsToPixels(9.375), 13) << "a half goes up";
  EXPECT_EQ(kb::pointsToPixels(9, 120), 15);
  EXPECT_EQ(kb::twipsToPixels(7), 0);
  EXPECT_EQ(kb::twipsToPixels(8), 1);
  EXPECT_EQ(kb::twipsToPixels(-8), -1);
  EXPECT_EQ(kb::twipsToPixels(22), 1);
  EXPECT_EQ(kb::twipsToPixels(23), 2);
  // At 150 % and 200 %: the client area 1.5 and 2 times as large; a
  // resolution Windows never reports counts as 96.
  EXPECT_EQ(kb::twipsToPixels(kb::settings::kClientWidthTwips, 144), 719);
  EXPECT_EQ(kb::twipsToPixels(kb::settings::kClientHeightTwips, 192), 504);
  EXPECT_EQ(kb::pixelsToTwips(3, 192), 23);
  for (int absurd : {0, -96, 95, 481, 100000}) EXPECT_EQ(kb::usableDpi(absurd), 96) << absurd;
  EXPECT_EQ(kb::usableDpi(144), 144);
}

TEST(DialogMarks, GrowWithTheResolutionBorderAndAll) {
  // At 96 the marks are the assets (the picture generator's own check).
  const kb::RgbImage filled = kb::settings::PaintMark(true, 192);
  ASSERT_EQ(filled.width, 24);
  const auto pixel = [&filled](int x, int y) {
    const std::uint8_t* p = filled.at(x, y);
    return static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
  };
  EXPECT_EQ(pixel(1, 12), 0x003C74u) << "a border two pixels thick";
  EXPECT_EQ(pixel(12, 2), 0x5A9AF0u) << "the shading from its top colour";
  EXPECT_EQ(pixel(12, 21), 0x1846C8u) << "to its bottom colour";
  EXPECT_EQ(kb::settings::PaintMark(false, 144).width, 18);
}

TEST(DialogGradient, AtAnotherResolutionEachRowKeepsItsLastTwip) {
  // 10 twips a pixel at 144: row r shows the line at twip 10 r + 9.
  const std::vector<Rgb> rows = kb::settings::gradientRows(378, GradientTone::Window, 144);
  ASSERT_EQ(rows.size(), 378u);
  for (int row : {0, 100, 377})
    EXPECT_EQ(rows[row],
              kb::settings::gradientLineColour(10 * row + 9, 3780, GradientTone::Window));
  // 7.5 twips a pixel at 192: rows 0 and 1 end in twips 7 and 14.
  const std::vector<Rgb> sharp = kb::settings::gradientRows(504, GradientTone::Panel, 192);
  EXPECT_EQ(sharp[1], kb::settings::gradientLineColour(14, 3780, GradientTone::Panel));
}

TEST(DialogSaving, OkWritesTheThreeKeysInOrderAsShiftJis) {
  kb::SharedState state;
  state.BgmKind = 1;
  state.BgmFile = "C:\\m\\x.wav";
  const auto writes = kb::settings::confirmSettings(state, "3.5");
  EXPECT_EQ(state.BgmRepeatTrack, 4);
  EXPECT_EQ(writes[0], (kb::settings::IniWrite{"BGM\x8B\xE6\x95\xAA", "1"}));
  EXPECT_EQ(writes[1], (kb::settings::IniWrite{"BGM\xD8\xCB\xDF\xB0\xC4", "4"}));
  // The file is written although the kind is the CD.
  EXPECT_EQ(writes[2], (kb::settings::IniWrite{"BGM\xCC\xA7\xB2\xD9", "C:\\m\\x.wav"}));
}

TEST(DialogSaving, EmptyTrackStoresZeroAndOddKindsStayAsTheyAre) {
  kb::SharedState state;
  state.BgmKind = 7;
  state.BgmRepeatTrack = 12;
  const auto writes = kb::settings::confirmSettings(state, "");
  EXPECT_EQ(state.BgmRepeatTrack, 0);
  EXPECT_EQ(writes[0].value, "7");
  EXPECT_EQ(writes[1].value, "0");
  EXPECT_EQ(writes[2].value, "");
  state.BgmKind = -1;
  EXPECT_EQ(kb::settings::confirmSettings(state, "-2")[0].value, "-1");
  EXPECT_EQ(kb::settings::confirmSettings(state, "-2")[1].value, "-2");
}

}  // namespace

TEST(DialogPress, MarksAndLabelsSelectTheirKindAndNothingElseDoes) {
  // Panel pixels of the 13 x 13 marks and the labels, measured on screen.
  EXPECT_EQ(kb::settings::kindAt(20, 76), 0);
  EXPECT_EQ(kb::settings::kindAt(32, 88), 0) << "the mark's last pixel";
  EXPECT_EQ(kb::settings::kindAt(33, 88), std::nullopt) << "between mark and label";
  EXPECT_EQ(kb::settings::kindAt(58, 76), 0) << "the label's last column";
  EXPECT_EQ(kb::settings::kindAt(59, 76), std::nullopt);
  EXPECT_EQ(kb::settings::kindAt(36, 56), 1);
  EXPECT_EQ(kb::settings::kindAt(78, 68), 1);
  EXPECT_EQ(kb::settings::kindAt(20, 69), std::nullopt) << "below the CD mark";
  EXPECT_EQ(kb::settings::kindAt(95, 108), 2);
  EXPECT_EQ(kb::settings::kindAt(96, 96), std::nullopt);
}

TEST(DialogFocus, TabWalksTheStopsThatCanTakeTheFocusBothWays) {
  using kb::settings::FocusStop;
  using kb::settings::nextFocus;
  const std::array<bool, 6> all{true, true, true, true, true, true};
  EXPECT_EQ(nextFocus(FocusStop::Panel, false, all), FocusStop::RepeatBox);
  EXPECT_EQ(nextFocus(FocusStop::Etc, false, all), FocusStop::Panel);
  EXPECT_EQ(nextFocus(FocusStop::Panel, true, all), FocusStop::Etc);
  const std::array<bool, 6> noBoxNoBrowse{true, false, false, true, true, true};
  EXPECT_EQ(nextFocus(FocusStop::Panel, false, noBoxNoBrowse), FocusStop::Ok);
  EXPECT_EQ(nextFocus(FocusStop::Ok, true, noBoxNoBrowse), FocusStop::Panel);
  const std::array<bool, 6> onlyCancel{false, false, false, false, true, false};
  EXPECT_EQ(nextFocus(FocusStop::Cancel, false, onlyCancel), FocusStop::Cancel);
}
